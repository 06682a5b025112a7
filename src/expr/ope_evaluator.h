// Runs operator records against the variable collection. Targets whose
// names start with "____" are temporaries: a record whose temporary target
// does not exist yet creates it, typed by the operator and its operands, and
// the evaluation that created it destroys it again. A temporary that exists
// already (made by an enclosing evaluation) is used as it is.
#pragma once

#include <vector>

#include "core/warning_sink.h"
#include "expr/function_dispatcher.h"
#include "expr/ope_data.h"
#include "expr/param_collection.h"

namespace tova {

// The temporaries one evaluation created, in creation order.
using TTemporaryList = std::vector<TParamCollectionItem*>;

class TOpeEvaluator {
public:
    // dispatcher may be null: function calls then do nothing.
    explicit TOpeEvaluator(TParamCollection& vars, TFunctionDispatcher* dispatcher = nullptr)
        : vars_(vars), dispatcher_(dispatcher) {}

    TParamCollection& Vars() const { return vars_; }
    TFunctionDispatcher* Dispatcher() const { return dispatcher_; }
    void SetDispatcher(TFunctionDispatcher* dispatcher) { dispatcher_ = dispatcher; }
    // Where an expression's swallowed error is told (see TTovaParser::Execute), or null.
    TWarningSink* Warnings() const { return warnings_; }
    void SetWarnings(TWarningSink* warnings) { warnings_ = warnings; }

    // Evaluates one record: binds its references, creates a missing
    // temporary target (appending it to created), computes, and unbinds.
    // Failures raise ETovaError (or the error of a function).
    void Evaluate(const TOpeData& record, TTemporaryList& created);

    // Removes the temporaries from the collection, newest first, after
    // unbinding any reference that still points at one of them.
    void DestroyTemporaries(TTemporaryList& created);

private:
    TParamCollectionItem* CreateTemporary(const TOpeData& record, TTemporaryList& created);
    void Compute(const TOpeData& record, TParamCollectionItem& target);

    TParamCollection& vars_;
    TFunctionDispatcher* dispatcher_;
    TWarningSink* warnings_ = nullptr;
};

}  // namespace tova
