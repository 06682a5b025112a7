// GCC 12 at -O3 reports -Wrestrict inside libstdc++'s inlined string code
// where a string literal is joined to a std::string here: an overlap that
// cannot happen (GCC bug 105329, fixed in GCC 13).
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ == 12
#pragma GCC diagnostic ignored "-Wrestrict"
#endif
#include "sdk/script_raw_expression.h"

#include <cstdio>
#include <memory>

#include "core/extended_real.h"
#include "expr/param_data.h"
#include "expr/param_types.h"
#include "expr/param_var.h"

namespace tova::sdk {
namespace {

constexpr std::string_view kIntTag = "int:";
constexpr std::string_view kFloatTag = "float:";
constexpr std::string_view kBoolTag = "bool:";
constexpr std::string_view kStrTag = "str:";

std::string HexBytes(const Extended80& bytes) {
    std::string out;
    char buffer[4];
    for (const uint8_t byte : bytes) {
        std::snprintf(buffer, sizeof buffer, "%02X", byte);
        out += buffer;
    }
    return out;
}

std::string OperandText(const TCustomParam& operand) {
    switch (operand.StoredType()) {
        case PT_INT:
            return std::string(kIntTag) + std::to_string(operand.GetInt());
        case PT_FLOAT:
            return std::string(kFloatTag) + HexBytes(LongDoubleToExtended(operand.GetFloat()));
        case PT_BOOL:
            return std::string(kBoolTag) + (operand.GetBool() ? "1" : "0");
        case PT_STR:
            return std::string(kStrTag) + QuoteString(operand.GetStr());
        default:
            return WordOrString(static_cast<const TParamVar&>(operand).TargetName);
    }
}

std::string OpText(const TOpeData& record) {
    std::string op = record.Op < kOpeCodeCount ? OpeCodeName(record.Op) : std::to_string(record.Op);
    if (record.Op == ocFunc) op += ":" + std::to_string(record.FunctionId);
    return op;
}

template <class T, class V>
std::unique_ptr<TCustomParam> Constant(V value) {
    auto param = std::make_unique<T>();
    param->Items[0] = value;
    return param;
}

uint8_t ParseByte(TLineCursor& cursor, std::string_view text, std::string_view what) {
    int32_t value = 0;
    if (!ParseInt32(text, value) || value < 0 || value > 255)
        cursor.FailAt(std::string(what) + " must be 0..255", text);
    return static_cast<uint8_t>(value);
}

uint8_t ParseOpCode(TLineCursor& cursor, std::string_view text) {
    for (int code = 0; code < kOpeCodeCount; ++code)
        if (text == OpeCodeName(code)) return static_cast<uint8_t>(code);
    return ParseByte(cursor, text, "an operator");
}

Extended80 ParseExtended(TLineCursor& cursor, std::string_view hex) {
    Extended80 bytes{};
    if (hex.size() != bytes.size() * 2) cursor.FailAt("a float constant needs 20 hexadecimal digits", hex);
    for (size_t i = 0; i < bytes.size(); ++i) {
        unsigned value = 0;
        if (std::sscanf(std::string(hex.substr(i * 2, 2)).c_str(), "%2x", &value) != 1)
            cursor.FailAt("a float constant needs 20 hexadecimal digits", hex);
        bytes[i] = static_cast<uint8_t>(value);
    }
    return bytes;
}

std::unique_ptr<TCustomParam> ReadOperand(TLineCursor& cursor) {
    if (cursor.Peek() == '"') {
        auto ref = std::make_unique<TParamVar>();
        ref->TargetName = cursor.ReadString();
        return ref;
    }
    const std::string_view word = cursor.ReadWord();
    if (word == kStrTag) return Constant<TParamStr>(cursor.ReadString());
    if (word.starts_with(kIntTag)) {
        int32_t value = 0;
        if (!ParseInt32(word.substr(kIntTag.size()), value)) cursor.FailAt("bad integer constant", word);
        return Constant<TParamInt>(value);
    }
    if (word.starts_with(kFloatTag))
        return Constant<TParamFloat>(
            ExtendedToLongDouble(ParseExtended(cursor, word.substr(kFloatTag.size()))));
    if (word.starts_with(kBoolTag)) {
        const std::string_view flag = word.substr(kBoolTag.size());
        if (flag != "0" && flag != "1") cursor.FailAt("a bool constant is bool:0 or bool:1", word);
        return Constant<TParamFlag>(static_cast<uint8_t>(flag == "1"));
    }
    if (word.empty()) cursor.FailAt("an operand expected", cursor.Remaining());
    if (word.find(':') != std::string_view::npos)
        cursor.FailAt("unknown operand (int:, float:, bool:, str: or a variable name)", word);
    auto ref = std::make_unique<TParamVar>();
    ref->TargetName = std::string(word);
    return ref;
}

std::unique_ptr<TOpeData> ReadRecord(TLineCursor& cursor) {
    const std::string_view opWord = cursor.ReadWord();
    const size_t colon = opWord.find(':');
    const uint8_t op = ParseOpCode(cursor, opWord.substr(0, colon));
    uint8_t functionId = 0;
    if (op == ocFunc) {
        if (colon == std::string_view::npos) cursor.Fail("ocFunc needs its function id: ocFunc:ID");
        functionId = ParseByte(cursor, opWord.substr(colon + 1), "a function id");
    } else if (colon != std::string_view::npos) {
        cursor.FailAt("only ocFunc takes a function id", opWord);
    }
    auto record = std::make_unique<TOpeData>(op, cursor.ReadName("the target of a record"), functionId);
    while (!cursor.AtEnd() && cursor.Peek() != ';')
        record->AddOperand(ReadOperand(cursor));
    return record;
}

}  // namespace

std::string RawExpressionText(const TTovaParser& parser) {
    std::string out = "{";
    for (const auto& record : parser.Records()) {
        if (out.size() > 1) out += "; ";
        out += OpText(*record) + " " + WordOrString(record->Target);
        for (const TCustomParam* operand : record->Operands())
            out += " " + OperandText(*operand);
    }
    return out + "}";
}

void ReadRawExpression(TLineCursor& cursor, TTovaParser& parser) {
    parser.Clear();
    const std::string inner(cursor.ReadBracketed());
    TLineCursor records(inner, cursor.SourceName(), cursor.Line(), cursor.Variables());
    while (!records.AtEnd()) {
        parser.AddRecord(ReadRecord(records));
        if (!records.AtEnd() && !records.TryConsume(";"))
            records.FailAt("\";\" expected", records.Remaining());
    }
}

}  // namespace tova::sdk
