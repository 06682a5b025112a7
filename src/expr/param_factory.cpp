#include "expr/param_factory.h"

#include "expr/param_data.h"
#include "expr/param_var.h"

namespace tova {

std::unique_ptr<TCustomParam> CreateParam(int typeCode, const TParamCollection* lookup) {
    switch (typeCode & 0x7F) {
        case PT_NONE:
            return std::make_unique<TParamVar>(lookup);
        case PT_INT:
            return std::make_unique<TParamInt>();
        case PT_FLOAT:
            return std::make_unique<TParamFloat>();
        case PT_BOOL:
            return std::make_unique<TParamFlag>();
        case PT_STR:
            return std::make_unique<TParamStr>();
        default:
            return nullptr;
    }
}

}  // namespace tova
