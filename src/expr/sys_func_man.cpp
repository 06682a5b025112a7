#include "expr/sys_func_man.h"

#include "expr/sys_func_registry.h"

namespace tova {

TSysFuncMan::TSysFuncMan(TSysFuncEnvironment env) : env_(env) {
    RegisterHostFunctions(table_.data());
    RegisterPureFunctions(table_.data());
    RegisterDbFunctions(table_.data());
}

bool TSysFuncMan::HasFunction(int functionId) const {
    return functionId >= 0 && functionId < kSysFunctionCount && table_[static_cast<size_t>(functionId)];
}

void TSysFuncMan::CallFunction(TParamCollectionItem& target, int functionId,
                               std::span<TCustomParam* const> operands) {
    if (!HasFunction(functionId)) return;
    TSysCall call{target, operands, env_};
    table_[static_cast<size_t>(functionId)](call);
}

}  // namespace tova
