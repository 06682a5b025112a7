#include "expr/ope_evaluator.h"

#include <algorithm>
#include <cstdint>

#include "core/error.h"
#include "expr/element_address.h"
#include "expr/param_factory.h"
#include "expr/param_var.h"
#include "expr/property_types.h"
#include "expr/script_limits.h"
#include "expr/sys_function_table.h"

namespace tova {
namespace {

constexpr int kGetPropId = 2;

bool IsTemporaryName(std::string_view name) {
    return name.starts_with(kTemporaryPrefix);
}

// Binds the reference operands of a record for as long as it lives.
class TOperandBinding {
public:
    TOperandBinding(const TOpeData& record, const TParamCollection& vars) : refs_(record.References()) {
        for (size_t i = 0; i < refs_.size(); ++i) {
            TParamVar* ref = refs_[i];
            TParamCollectionItem* item = vars.FindItem(ref->TargetName, record.FoundReference(i));
            if (!item) throw ETovaError::Format("\"%s\" 変数がありません", {ref->TargetName});
            // A reference to an element reference addresses the same element.
            const TCustomParam& value = item->Value();
            ref->ElementIndex =
                value.StoredType() == PT_NONE ? static_cast<const TParamVar&>(value).ElementIndex : 0;
            ref->Bind(item);
        }
    }
    ~TOperandBinding() {
        for (TParamVar* ref : refs_)
            ref->Bind(nullptr);
    }
    TOperandBinding(const TOperandBinding&) = delete;
    TOperandBinding& operator=(const TOperandBinding&) = delete;

private:
    std::span<TParamVar* const> refs_;
};

// The number of operands an operator reads; -1 for a code that is no operator.
int RequiredOperands(int op) {
    switch (op) {
        case ocNone:
            return -1;
        case ocTo:
        case ocDimTo:
            return 1;
        case ocFunc:
            return 0;
        default:
            return op < kOpeCodeCount ? 2 : -1;
    }
}

[[noreturn]] void ThrowInvalidRecord(const TOpeData& record) {
    std::string text =
        SysText("不正な式\r\n\r\n代入先:") + record.Target + SysText("演算タイプ:") + OpeCodeName(record.Op);
    for (const TCustomParam* operand : record.Operands())
        text += "\r\n" + operand->GetStr();
    throw ETovaError(text);
}

int FunctionResultType(const TOpeData& record) {
    if (record.FunctionId >= kSysFunctionCount)
        return PT_INT;  // an id no function has: the call does nothing
    if (record.FunctionId != kGetPropId) return SysFunctionInfo(record.FunctionId).ResultType;
    const int32_t property = record.OperandCount() >= 2 ? record.Operand(1).GetInt() : -1;
    if (property < 0 || property >= kPropertyCount) throw ETovaError::Format("GetPropの引数が違います");
    return PropertyValueType(property);
}

int TemporaryType(const TOpeData& record) {
    const int first = record.OperandCount() > 0 ? record.Operand(0).GetParamType() : PT_NONE;
    switch (record.Op) {
        case ocTo:
            return first;
        case ocPlus:
            if (first == PT_STR) return PT_STR;
            [[fallthrough]];
        case ocMinus:
        case ocMul:
        case ocDiv:
            return first == PT_FLOAT ? PT_FLOAT : PT_INT;
        case ocDimTo:
            return PT_NONE;
        case ocFunc:
            return FunctionResultType(record);
        case ocEqual:
        case ocBig:
        case ocSmall:
        case ocEBig:
        case ocESmall:
        case ocNEqual:
            return PT_BOOL;
        case ocComboStr:
            return PT_STR;
        default:
            return PT_INT;
    }
}

int32_t Wrap(int64_t value) {
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value)));
}

int32_t IntArithmetic(int op, int32_t a, int32_t b) {
    switch (op) {
        case ocPlus:
            return Wrap(int64_t{a} + b);
        case ocMinus:
            return Wrap(int64_t{a} - b);
        case ocMul:
            return Wrap(int64_t{a} * b);
        default:  // ocDiv, truncating toward zero
            if (b == 0) throw ETovaError("Division by zero");
            return Wrap(int64_t{a} / b);
    }
}

long double FloatArithmetic(int op, long double a, long double b) {
    switch (op) {
        case ocPlus:
            return a + b;
        case ocMinus:
            return a - b;
        case ocMul:
            return a * b;
        default:  // ocDiv
            if (b == 0)
                throw ETovaError(a == 0 || a != a ? "Invalid floating point operation"
                                                  : "Floating point division by zero");
            return a / b;
    }
}

int32_t BitOperation(int op, int32_t a, int32_t b) {
    const auto ua = static_cast<uint32_t>(a);
    const auto shift = static_cast<uint32_t>(b) & 31u;
    switch (op) {
        case ocMod:
            if (b == 0) throw ETovaError("Division by zero");
            return b == -1 ? 0 : a % b;  // the remainder takes the sign of a
        case ocOr:
            return a | b;
        case ocAnd:
            return a & b;
        case ocXor:
            return a ^ b;
        case ocShiftL:
            return static_cast<int32_t>(ua << shift);
        default:  // ocShiftR: logical, zeros shifted in
            return static_cast<int32_t>(ua >> shift);
    }
}

// <0, 0 or >0, by the type of a.
int Compare(const TCustomParam& a, const TCustomParam& b) {
    switch (a.GetParamType()) {
        case PT_STR:
            return a.GetStr().compare(b.GetStr());
        case PT_FLOAT: {
            const long double x = a.GetFloat(), y = b.GetFloat();
            return x < y ? -1 : (x > y ? 1 : 0);
        }
        case PT_BOOL:
            return int{a.GetBool()} - int{b.GetBool()};
        default: {
            const int32_t x = a.GetInt(), y = b.GetInt();
            return x < y ? -1 : (x > y ? 1 : 0);
        }
    }
}

// Equality by the type of a; NaN floats are unequal to everything.
bool Equal(const TCustomParam& a, const TCustomParam& b) {
    switch (a.GetParamType()) {
        case PT_STR:
            return a.GetStr() == b.GetStr();
        case PT_FLOAT:
            return a.GetFloat() == b.GetFloat();
        case PT_BOOL:
            return a.GetBool() == b.GetBool();
        default:
            return a.GetInt() == b.GetInt();
    }
}

bool Ordered(int op, const TCustomParam& a, const TCustomParam& b) {
    if (a.GetParamType() == PT_FLOAT) {
        // Compared directly, so that NaN makes every ordering false.
        const long double x = a.GetFloat(), y = b.GetFloat();
        switch (op) {
            case ocBig:
                return x > y;
            case ocSmall:
                return x < y;
            case ocEBig:
                return x >= y;
            default:
                return x <= y;
        }
    }
    const int order = Compare(a, b);
    switch (op) {
        case ocBig:
            return order > 0;
        case ocSmall:
            return order < 0;
        case ocEBig:
            return order >= 0;
        default:
            return order <= 0;
    }
}

}  // namespace

void TOpeEvaluator::Evaluate(const TOpeData& record, TTemporaryList& created) {
    const TOperandBinding binding(record, vars_);
    const int required = RequiredOperands(record.Op);
    if (required < 0 || record.OperandCount() < required) ThrowInvalidRecord(record);
    TParamCollectionItem* target = vars_.FindItem(record.Target, record.FoundTarget());
    if (!target) {
        if (!IsTemporaryName(record.Target))
            throw ETovaError::Format("\"%s\" 変数がありません", {record.Target});
        target = CreateTemporary(record, created);
        if (record.Op == ocDimTo) return;  // bound when it was created
    } else if (record.Op == ocDimTo) {
        return;  // an existing target keeps what it refers to
    }
    Compute(record, *target);
}

TParamCollectionItem* TOpeEvaluator::CreateTemporary(const TOpeData& record, TTemporaryList& created) {
    TParamCollectionItem* array = nullptr;
    int32_t elementIndex = 0;
    if (record.Op == ocDimTo) {
        const TCustomParam& named = record.Operand(0);
        if (named.StoredType() != PT_NONE)
            throw ETovaError::Format("\"%s\" 変数がありません", {named.GetStr()});
        const auto& arrayRef = static_cast<const TParamVar&>(named);
        array = arrayRef.Target();
        if (!array) throw ETovaError::Format("\"%s\" 変数がありません", {arrayRef.TargetName});
        std::vector<int32_t> indexes;
        indexes.reserve(static_cast<size_t>(record.OperandCount() - 1));
        for (int i = 1; i < record.OperandCount(); ++i)
            indexes.push_back(record.Operand(i).GetInt());
        elementIndex = ElementIndexOf(*array, arrayRef.TargetName, indexes);
    }
    std::unique_ptr<TCustomParam> value = CreateParam(TemporaryType(record), &vars_);
    if (!value) throw ETovaError::Format("内部エラー");
    auto* ref = record.Op == ocDimTo ? static_cast<TParamVar*>(value.get()) : nullptr;
    auto item = std::make_unique<TParamCollectionItem>(std::move(value));
    item->SetName(record.Target);
    TParamCollectionItem* added = vars_.Add(std::move(item));
    created.push_back(added);
    if (ref) ref->BindElement(array, elementIndex);
    return added;
}

void TOpeEvaluator::Compute(const TOpeData& record, TParamCollectionItem& target) {
    const int op = record.Op;
    if (op == ocFunc) {
        if (dispatcher_) dispatcher_->CallFunction(target, record.FunctionId, record.Operands());
        return;
    }
    const TCustomParam& a = record.Operand(0);
    if (op == ocTo) {
        AssignScalarAs(target.GetParamType(), target.Value(), a);
        return;
    }
    const TCustomParam& b = record.Operand(1);
    switch (op) {
        case ocPlus:
        case ocMinus:
        case ocMul:
        case ocDiv:
            if (target.GetParamType() == PT_FLOAT) {
                target.SetFloat(FloatArithmetic(op, a.GetFloat(), b.GetFloat()));
            } else {
                target.SetInt(IntArithmetic(op, a.GetInt(), b.GetInt()));
            }
            break;
        case ocComboStr: {
            const std::string left = a.GetStr();
            const std::string right = b.GetStr();
            CheckScriptTextLength(left.size() + right.size());
            target.SetStr(left + right);
            break;
        }
        case ocEqual:
            target.SetBool(Equal(a, b));
            break;
        case ocNEqual:
            target.SetBool(!Equal(a, b));
            break;
        case ocBig:
        case ocSmall:
        case ocEBig:
        case ocESmall:
            target.SetBool(Ordered(op, a, b));
            break;
        default:  // ocMod, ocOr, ocAnd, ocXor, ocShiftL, ocShiftR
            target.SetInt(BitOperation(op, a.GetInt(), b.GetInt()));
            break;
    }
}

void TOpeEvaluator::DestroyTemporaries(TTemporaryList& created) {
    if (created.empty()) return;
    const auto isCreated = [&created](const TParamCollectionItem* item) {
        return std::find(created.begin(), created.end(), item) != created.end();
    };
    // Only what was added since the first temporary can refer to one: every
    // binding made while evaluating is an element reference, made by a
    // record into a temporary.
    const int first = created.front()->Index();
    for (int i = first; i < vars_.Count(); ++i) {
        TCustomParam& value = vars_.Item(i)->Value();
        if (value.StoredType() != PT_NONE) continue;
        auto& ref = static_cast<TParamVar&>(value);
        if (ref.Target() && isCreated(ref.Target())) ref.Bind(nullptr);
    }
    for (auto it = created.rbegin(); it != created.rend(); ++it)
        vars_.Delete((*it)->Index());
    created.clear();
}

}  // namespace tova
