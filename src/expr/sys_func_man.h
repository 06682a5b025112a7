// The function dispatcher: runs a built-in function by its id over the
// table that the function groups fill. An id outside the table, or one
// without an implementation, does nothing and leaves the result at its
// default.
#pragma once

#include <array>
#include <span>

#include "expr/function_dispatcher.h"
#include "expr/sys_call.h"
#include "expr/sys_function_table.h"

namespace tova {

class TSysFuncMan final : public TFunctionDispatcher {
public:
    explicit TSysFuncMan(TSysFuncEnvironment env = {});

    // What the functions reach; its members may be set or replaced at any time.
    TSysFuncEnvironment& Environment() { return env_; }

    void CallFunction(TParamCollectionItem& target, int functionId,
                      std::span<TCustomParam* const> operands) override;

    // Whether a function of that id has an implementation.
    bool HasFunction(int functionId) const;

private:
    TSysFuncEnvironment env_;
    std::array<TSysFunctionImpl, kSysFunctionCount> table_{};
};

}  // namespace tova
