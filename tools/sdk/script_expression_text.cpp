// Rebuilding expression text from compiled records. The records are three
// address code with named temporaries; each temporary's text is built from
// its operands, and the last record gives the statement. Several ways of
// writing parentheses and signs are tried, and a text counts only when
// compiling it gives exactly the same records.
// GCC 12 at -O3 reports -Wrestrict inside libstdc++'s inlined string code
// where a string literal is joined to a std::string here: an overlap that
// cannot happen (GCC bug 105329, fixed in GCC 13).
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ == 12
#pragma GCC diagnostic ignored "-Wrestrict"
#endif
#include <array>
#include <cstdio>
#include <map>

#include "core/error.h"
#include "core/sjis.h"
#include "expr/param_convert.h"
#include "expr/param_types.h"
#include "expr/param_var.h"
#include "expr/sys_function_table.h"
#include "sdk/script_expression.h"

namespace tova::sdk {
namespace {

struct TPiece {
    std::string Text;
    int Level = 0;  // 0 for an operand that needs no parentheses, else its operator's level
};

struct TRenderOptions {
    bool ParenCopies;  // a copy into a temporary was a parenthesised group
    bool FullParens;   // every operation in parentheses
    bool UnaryMinus;   // 0 - x written as -x
};

// Binding levels of the binary operators (1 binds tightest) and their tokens.
struct TBinaryOperator {
    uint8_t Op;
    int Level;
    std::string_view Token;
};

constexpr std::array<TBinaryOperator, 18> kBinaryOperators = {{
    {ocMul, 1, "*"},
    {ocDiv, 1, "/"},
    {ocMod, 1, "%"},
    {ocPlus, 2, "+"},
    {ocMinus, 2, "-"},
    {ocShiftL, 3, "<<"},
    {ocShiftR, 3, ">>"},
    {ocEqual, 4, "=="},
    {ocEBig, 4, ">="},
    {ocESmall, 4, "<="},
    {ocBig, 4, ">"},
    {ocSmall, 4, "<"},
    {ocNEqual, 4, "<>"},
    {ocComboStr, 5, "++"},
    {ocAnd, 6, "&"},
    {ocXor, 7, "^"},
    {ocOr, 8, "|"},
    {ocNone, 0, ""},
}};

const TBinaryOperator* FindBinary(uint8_t op) {
    for (const TBinaryOperator& entry : kBinaryOperators)
        if (entry.Level > 0 && entry.Op == op) return &entry;
    return nullptr;
}

bool IsTemporary(std::string_view name) {
    return name.starts_with(kTemporaryPrefix);
}

std::string FloatText(long double value) {
    char buffer[64];
    for (int precision = 1; precision <= 21; ++precision) {
        std::snprintf(buffer, sizeof buffer, "%.*Lg", precision, value);
        const std::optional<long double> back = TryTextToFloat(buffer);
        if (back && *back == value) break;
    }
    std::string text = buffer;
    if (TryTextToInt(text)) text += ".0";
    return text;
}

std::string LiteralText(std::string_view value) {
    std::string out = "\"";
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\r' && i + 1 < value.size() && value[i + 1] == '\n') {
            out += "\\n";
            ++i;
        } else if (value[i] == '"' || value[i] == '\\') {
            out += '\\';
            out += value[i];
        } else {
            out += value[i];
        }
    }
    return out + "\"";
}

class TRenderer {
public:
    explicit TRenderer(TRenderOptions options) : options_(options) {}

    std::optional<std::string> Render(const TTovaParser& parser) {
        const auto& records = parser.Records();
        for (size_t i = 0; i < records.size(); ++i) {
            const bool last = i + 1 == records.size();
            if (!Step(*records[i], last)) return std::nullopt;
        }
        return statement_;
    }

private:
    std::optional<TPiece> Operand(const TCustomParam& operand) const {
        switch (operand.StoredType()) {
            case PT_INT:
                return TPiece{std::to_string(operand.GetInt())};
            case PT_FLOAT:
                return TPiece{FloatText(operand.GetFloat())};
            case PT_BOOL:
                return TPiece{operand.GetBool() ? "TRUE" : "FALSE"};
            case PT_STR:
                return TPiece{LiteralText(operand.GetStr())};
            default: {
                const std::string& name = static_cast<const TParamVar&>(operand).TargetName;
                if (!IsTemporary(name)) return TPiece{name};
                const auto found = temps_.find(name);
                if (found == temps_.end()) return std::nullopt;
                return found->second;
            }
        }
    }

    std::string Wrapped(const TPiece& piece, bool needed) const {
        return needed ? "(" + piece.Text + ")" : piece.Text;
    }

    bool Step(const TOpeData& record, bool last) {
        std::vector<TPiece> operands;
        for (const TCustomParam* operand : record.Operands()) {
            std::optional<TPiece> piece = Operand(*operand);
            if (!piece) return false;
            operands.push_back(std::move(*piece));
        }
        if (record.Op == ocTo) return Assign(record, operands, last);
        if (!IsTemporary(record.Target) || record.Target == kResultTemporary) return false;
        std::optional<TPiece> piece;
        if (record.Op == ocDimTo)
            piece = Element(operands);
        else if (record.Op == ocFunc)
            piece = Call(record, operands);
        else
            piece = Binary(record, operands);
        if (!piece) return false;
        temps_[record.Target] = std::move(*piece);
        return true;
    }

    bool Assign(const TOpeData& record, const std::vector<TPiece>& operands, bool last) {
        if (operands.size() != 1) return false;
        const std::string& target = record.Target;
        const bool element = target.starts_with(kElementTemporaryPrefix) && temps_.count(target);
        if (target == kResultTemporary || element || !IsTemporary(target)) {
            if (!last) return false;
            const std::string left = target == kResultTemporary ? "" : element ? temps_[target].Text : target;
            statement_ = left.empty() ? operands[0].Text : left + " = " + operands[0].Text;
            return true;
        }
        const bool literal = record.Operand(0).StoredType() == PT_STR;
        temps_[target] =
            options_.ParenCopies && !literal ? TPiece{"(" + operands[0].Text + ")"} : operands[0];
        return true;
    }

    std::optional<TPiece> Element(const std::vector<TPiece>& operands) const {
        if (operands.size() < 2) return std::nullopt;
        std::string text = operands[0].Text + "[";
        for (size_t i = 1; i < operands.size(); ++i)
            text += (i > 1 ? ", " : "") + operands[i].Text;
        return TPiece{text + "]"};
    }

    std::optional<TPiece> Call(const TOpeData& record, const std::vector<TPiece>& operands) const {
        if (record.FunctionId >= kSysFunctionCount) return std::nullopt;
        std::string text = std::string(SysFunctionInfo(record.FunctionId).Name) + "(";
        for (size_t i = 0; i < operands.size(); ++i)
            text += (i > 0 ? ", " : "") + operands[i].Text;
        return TPiece{text + ")"};
    }

    std::optional<TPiece> Binary(const TOpeData& record, const std::vector<TPiece>& operands) const {
        const TBinaryOperator* op = FindBinary(record.Op);
        if (!op || operands.size() != 2) return std::nullopt;
        const TPiece& left = operands[0];
        const TPiece& right = operands[1];
        if (options_.UnaryMinus && record.Op == ocMinus && record.Operand(0).StoredType() == PT_INT &&
            record.Operand(0).GetInt() == 0)
            return TPiece{"-" + Wrapped(right, right.Level > 0)};
        const bool full = options_.FullParens;
        const std::string text = Wrapped(left, left.Level > op->Level || (full && left.Level > 0)) + " " +
                                 std::string(op->Token) + " " +
                                 Wrapped(right, right.Level >= op->Level || (full && right.Level > 0));
        return TPiece{text, op->Level};
    }

    TRenderOptions options_;
    std::map<std::string, TPiece, std::less<>> temps_;
    std::optional<std::string> statement_;
};

}  // namespace

std::optional<std::string> ExpressionText(const TTovaParser& parser) {
    if (parser.Records().empty()) return std::nullopt;
    for (int variant = 0; variant < 8; ++variant) {
        const TRenderOptions options{(variant & 1) != 0, (variant & 2) != 0, (variant & 4) == 0};
        const std::optional<std::string> text = TRenderer(options).Render(parser);
        if (!text || text->empty()) continue;
        TTovaParser compiled;
        try {
            // The page's own references stay variables where they spell a constant.
            CompileExpression(*text, compiled, [&parser](std::string_view name) {
                for (const auto& record : parser.Records())
                    for (const TParamVar* reference : record->References())
                        if (SjisSameText(reference->TargetName, name)) return true;
                return false;
            });
        } catch (const ETovaError&) {
            continue;
        }
        if (SameRecords(compiled, parser)) return text;
    }
    return std::nullopt;
}

}  // namespace tova::sdk
