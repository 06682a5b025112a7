#include "expr/system_variable_host.h"

namespace tova {

TCustomParam* TSystemVariableHost::Resolve(int) {
    return nullptr;
}

}  // namespace tova
