// Calling the argument-only built-in functions directly: constant operands,
// reference operands bound to stand-alone variables, and a result target of
// the function's result type.
#pragma once

#include <initializer_list>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "expr/param_collection_item.h"
#include "expr/param_data.h"
#include "expr/param_factory.h"
#include "expr/param_var.h"
#include "expr/sys_call.h"
#include "expr/sys_func_pure.h"
#include "expr_test_util.h"

namespace tova::test {

// A variable outside any collection, with a reference operand bound to it.
class TVar {
public:
    explicit TVar(int typeCode) : Item(CreateParam(typeCode)) { Ref.Bind(&Item); }

    TCustomParam& Value() { return Item.Value(); }

    TParamCollectionItem Item;
    TParamVar Ref;
};

// One operand: a constant made from a C++ value, or the reference of a TVar.
class TArg {
public:
    TArg(int32_t v) : owned_(Make<TParamInt>()) { owned_->SetInt(v); }
    TArg(double v) : owned_(Make<TParamFloat>()) { owned_->SetFloat(v); }
    TArg(long double v) : owned_(Make<TParamFloat>()) { owned_->SetFloat(v); }
    TArg(bool v) : owned_(Make<TParamFlag>()) { owned_->SetBool(v); }
    TArg(const char* v) : owned_(Make<TParamStr>()) { owned_->SetStr(v); }
    TArg(const std::string& v) : owned_(Make<TParamStr>()) { owned_->SetStr(v); }
    TArg(TVar& var) : param_(&var.Ref) {}
    // Any value (an unbound reference, a value of the test's own making).
    explicit TArg(TCustomParam& value) : param_(&value) {}

    TCustomParam* Param() const { return owned_ ? owned_.get() : param_; }

private:
    template <class T>
    static std::shared_ptr<TCustomParam> Make() {
        return std::make_shared<T>();
    }

    std::shared_ptr<TCustomParam> owned_;
    TCustomParam* param_ = nullptr;
};

// Runs f with the operands into a fresh target of resultType and returns the target.
inline std::unique_ptr<TParamCollectionItem> Invoke(TSysFunctionImpl f, int resultType,
                                                    std::initializer_list<TArg> args,
                                                    std::mt19937* random = nullptr) {
    auto target = std::make_unique<TParamCollectionItem>(CreateParam(resultType));
    std::vector<TCustomParam*> operands;
    for (const TArg& arg : args)
        operands.push_back(arg.Param());
    TSysFuncEnvironment env;
    env.Random = random;
    TSysCall call{*target, operands, env};
    f(call);
    return target;
}

inline std::string StrOf(TSysFunctionImpl f, std::initializer_list<TArg> args) {
    return Invoke(f, PT_STR, args)->GetStr();
}
inline int32_t IntOf(TSysFunctionImpl f, std::initializer_list<TArg> args) {
    return Invoke(f, PT_INT, args)->GetInt();
}
inline long double FloatOf(TSysFunctionImpl f, std::initializer_list<TArg> args) {
    return Invoke(f, PT_FLOAT, args)->GetFloat();
}
inline bool BoolOf(TSysFunctionImpl f, std::initializer_list<TArg> args) {
    return Invoke(f, PT_BOOL, args)->GetBool();
}

// The elements of a value as texts.
inline std::vector<std::string> Elements(const TCustomParam& value) {
    std::vector<std::string> out;
    for (int i = 0; i < value.GetCount(); ++i)
        out.push_back(value.GetStrAt(i));
    return out;
}

}  // namespace tova::test
