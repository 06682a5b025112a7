// How the evaluator calls built-in functions: it hands the target, the
// function id of the record and the bound operands to a dispatcher.
#pragma once

#include <span>

namespace tova {

class TCustomParam;
class TParamCollectionItem;

class TFunctionDispatcher {
public:
    virtual ~TFunctionDispatcher() = default;
    virtual void CallFunction(TParamCollectionItem& target, int functionId,
                              std::span<TCustomParam* const> operands) = 0;
};

}  // namespace tova
