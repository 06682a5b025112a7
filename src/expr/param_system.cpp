#include "expr/param_system.h"

#include "core/error.h"
#include "expr/param_collection.h"
#include "expr/system_variable_host.h"
#include "expr/system_variable_names.h"

namespace tova {

TCustomParam* TParamSystem::ForwardTarget() const {
    if (SysIndex >= kSystemVariableCount) throw ETovaError::Format("内部エラー");
    return owner_.SystemHost().Resolve(SysIndex);
}

}  // namespace tova
