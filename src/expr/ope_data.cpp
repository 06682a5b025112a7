#include "expr/ope_data.h"

#include <array>

#include "core/binary_io.h"
#include "core/error.h"
#include "expr/param_data.h"
#include "expr/param_factory.h"
#include "expr/param_var.h"

namespace tova {
namespace {

constexpr std::array<std::string_view, kOpeCodeCount> kOpeCodeNames = {
    "ocNone",  "ocTo",   "ocPlus",   "ocMinus",  "ocMul",    "ocDiv",      "ocMod",
    "ocOr",    "ocAnd",  "ocXor",    "ocDimTo",  "ocFunc",   "ocEqual",    "ocBig",
    "ocSmall", "ocEBig", "ocESmall", "ocShiftL", "ocShiftR", "ocComboStr", "ocNEqual",
};

// The smallest stored operand: a tag and a boolean.
constexpr int64_t kMinOperandSize = 2;

template <class T, class V>
std::unique_ptr<TCustomParam> Constant(V value) {
    auto param = std::make_unique<T>();
    param->Items[0] = value;
    return param;
}

std::unique_ptr<TCustomParam> ReadOperand(TStream& stream) {
    switch (ReadU8(stream)) {
        case kOperandInt:
            return Constant<TParamInt>(ReadI32(stream));
        case kOperandFloat:
            return Constant<TParamFloat>(ReadExtended(stream));
        case kOperandBool:
            return Constant<TParamFlag>(static_cast<uint8_t>(ReadU8(stream) != 0));
        case kOperandStr:
            return Constant<TParamStr>(ReadString(stream));
        default: {
            auto ref = std::make_unique<TParamVar>();
            ref->TargetName = ReadString(stream);
            return ref;
        }
    }
}

void WriteOperand(TStream& stream, const TCustomParam& operand) {
    switch (operand.StoredType()) {
        case PT_INT:
            WriteU8(stream, kOperandInt);
            WriteI32(stream, operand.GetInt());
            break;
        case PT_FLOAT:
            WriteU8(stream, kOperandFloat);
            WriteExtended(stream, operand.GetFloat());
            break;
        case PT_BOOL:
            WriteU8(stream, kOperandBool);
            WriteU8(stream, operand.GetBool() ? 1 : 0);
            break;
        case PT_STR:
            WriteU8(stream, kOperandStr);
            WriteString(stream, operand.GetStr());
            break;
        default:
            WriteU8(stream, kOperandReference);
            WriteString(stream, static_cast<const TParamVar&>(operand).TargetName);
            break;
    }
}

}  // namespace

std::string OpeCodeName(int code) {
    if (code >= 0 && code < kOpeCodeCount) return std::string(kOpeCodeNames[static_cast<size_t>(code)]);
    return std::to_string(code);
}

void TOpeData::AddOperand(std::unique_ptr<TCustomParam> operand) {
    TCustomParam* raw = operand.get();
    operands_.push_back(std::move(operand));
    view_.push_back(raw);
    if (raw->StoredType() == PT_NONE) {
        references_.push_back(static_cast<TParamVar*>(raw));
        found_.emplace_back();
    }
}

void TOpeData::AddReference(std::string name) {
    auto ref = std::make_unique<TParamVar>();
    ref->TargetName = std::move(name);
    AddOperand(std::move(ref));
}

void TOpeData::LoadFromStream(TStream& stream) {
    operands_.clear();
    view_.clear();
    references_.clear();
    found_.clear();
    foundTarget_ = {};
    Op = ReadU8(stream);
    Target = ReadString(stream);
    const int32_t count = ReadI32(stream);
    FunctionId = Op == ocFunc ? ReadU8(stream) : 0;
    if (count < 0 || count > stream.Remaining() / kMinOperandSize)
        throw ETovaError("damaged expression: operand count " + std::to_string(count) + " exceeds the data");
    operands_.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i)
        AddOperand(ReadOperand(stream));
}

void TOpeData::SaveToStream(TStream& stream) const {
    WriteU8(stream, Op);
    WriteString(stream, Target);
    WriteI32(stream, OperandCount());
    if (Op == ocFunc) WriteU8(stream, FunctionId);
    for (const auto& operand : operands_)
        WriteOperand(stream, *operand);
}

std::unique_ptr<TOpeData> TOpeData::Clone() const {
    auto copy = std::make_unique<TOpeData>(Op, Target, FunctionId);
    for (const auto& operand : operands_) {
        if (operand->StoredType() == PT_NONE) {
            copy->AddReference(static_cast<const TParamVar&>(*operand).TargetName);
        } else {
            std::unique_ptr<TCustomParam> constant = CreateParam(operand->StoredType());
            constant->AssignRaw(*operand);
            copy->AddOperand(std::move(constant));
        }
    }
    return copy;
}

}  // namespace tova
