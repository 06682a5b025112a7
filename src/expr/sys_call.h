// One call of a built-in function, as the function dispatcher hands it to
// the implementation of that function.
#pragma once

#include <random>
#include <span>

#include "core/warning_sink.h"
#include "expr/custom_param.h"
#include "expr/param_collection_item.h"

namespace tova {

class TParamCollection;
class TVrFileManager;
class TDBManager;
struct TSysHost;

// What the built-in functions reach beyond their arguments. Members that a
// run does not have are null; a function that needs one then leaves its
// result at the default.
struct TSysFuncEnvironment {
    TParamCollection* Vars = nullptr;
    TVrFileManager* Files = nullptr;
    TDBManager* Database = nullptr;
    TSysHost* Host = nullptr;  // components, screen, input, history, dialogs: the layers above
    std::mt19937* Random = nullptr;
    TWarningSink* Warnings = nullptr;  // what a nested statement (Calc) lets pass, or none
};

struct TSysCall {
    TParamCollectionItem& Target;         // receives the result; already of the result type
    std::span<TCustomParam* const> Args;  // the operands in order; a reference operand is a bound TParamVar
    TSysFuncEnvironment& Env;

    int ArgCount() const { return static_cast<int>(Args.size()); }
    bool HasArg(int n) const { return n >= 1 && n <= ArgCount(); }
    // Argument n, counted from 1 as the function table counts them.
    TCustomParam& Arg(int n) const { return *Args[static_cast<size_t>(n - 1)]; }
};

using TSysFunctionImpl = void (*)(TSysCall&);

}  // namespace tova
