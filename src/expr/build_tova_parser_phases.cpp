#include "expr/build_tova_parser_phases.h"

#include <array>
#include <optional>
#include <utility>

#include "core/error.h"
#include "core/sjis.h"
#include "expr/ope_data.h"
#include "expr/param_convert.h"
#include "expr/script_constants.h"

namespace tova {
namespace {

// Deeper nesting of parentheses and brackets is refused as malformed.
constexpr int kMaxNesting = 256;

constexpr std::u16string_view kOperatorChars = u"+-*/%|&^=[](),<>";  // end a name
constexpr std::u16string_view kTokenChars = u"%&*+-/<=>^|";          // split operands
constexpr std::u16string_view kStrayChars = u"()[],";                // must not stay in an operand

[[noreturn]] void ThrowSyntax() {
    throw ETovaError::Format("構文エラー");
}

[[noreturn]] void ThrowIndex() {
    throw ETovaError::Format("配列の添え字が不正です");
}

bool IsBlank(char16_t c) {
    return c <= u' ';
}

bool IsNameChar(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_';
}

bool IsIn(std::u16string_view set, char16_t c) {
    return set.find(c) != std::u16string_view::npos;
}

std::u16string_view Trim(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Position of the last non-blank character before pos, if any.
std::optional<size_t> PrevNonBlank(const TCodeText& text, size_t pos) {
    while (pos > 0) {
        if (!IsBlank(text[--pos])) return pos;
    }
    return std::nullopt;
}

struct TParenPair {
    size_t Open;
    size_t Close;
};

// Every '(' with its matching ')', ordered by the position of the '('.
std::vector<TParenPair> MatchParens(const TCodeText& text) {
    std::vector<TParenPair> pairs;
    std::vector<size_t> open;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'(') {
            open.push_back(pairs.size());
            pairs.push_back({i, 0});
        } else if (text[i] == u')') {
            if (open.empty()) ThrowSyntax();
            pairs[open.back()].Close = i;
            open.pop_back();
        }
    }
    if (!open.empty()) ThrowSyntax();
    return pairs;
}

void CheckNesting(const TCodeText& text) {
    int depth = 0;
    for (const char16_t c : text) {
        if (c == u'(' || c == u'[') {
            if (++depth > kMaxNesting) ThrowSyntax();
        } else if (c == u')' || c == u']') {
            --depth;
        }
    }
}

// Splits at the commas that are not inside brackets.
std::vector<std::u16string_view> SplitArguments(std::u16string_view text) {
    std::vector<std::u16string_view> parts;
    int depth = 0;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'[') {
            ++depth;
        } else if (text[i] == u']') {
            if (--depth < 0) ThrowSyntax();
        } else if (text[i] == u',' && depth == 0) {
            parts.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    if (depth != 0) ThrowSyntax();
    parts.push_back(text.substr(start));
    return parts;
}

// Removes parentheses that enclose the whole text, as often as they do.
std::u16string_view StripParens(std::u16string_view text) {
    for (text = Trim(text); text.size() >= 2 && text.front() == u'(' && text.back() == u')';) {
        int depth = 0;
        size_t i = 0;
        for (; i < text.size(); ++i) {
            if (text[i] == u'(') ++depth;
            if (text[i] == u')' && --depth == 0) break;
        }
        if (i != text.size() - 1) break;
        text = Trim(text.substr(1, text.size() - 2));
    }
    return text;
}

struct TOperatorToken {
    std::u16string_view Text;
    uint8_t Op;
    int Level;  // 1 binds tightest
};

constexpr std::array<TOperatorToken, 18> kOperators = {{
    {u"*", ocMul, 1},
    {u"/", ocDiv, 1},
    {u"%", ocMod, 1},
    {u"+", ocPlus, 2},
    {u"-", ocMinus, 2},
    {u"<<", ocShiftL, 3},
    {u">>", ocShiftR, 3},
    {u"==", ocEqual, 4},
    {u">=", ocEBig, 4},
    {u"<=", ocESmall, 4},
    {u">", ocBig, 4},
    {u"<", ocSmall, 4},
    {u"<>", ocNEqual, 4},
    {u"++", ocComboStr, 5},
    {u"&", ocAnd, 6},
    {u"^", ocXor, 7},
    {u"|", ocOr, 8},
    {u"=", ocTo, 9},
}};
constexpr int kAssignLevel = 9;

const TOperatorToken* FindOperator(std::u16string_view token) {
    for (const TOperatorToken& entry : kOperators)
        if (entry.Text == token) return &entry;
    return nullptr;
}

bool IsOperatorToken(const TCodeText& token) {
    return IsIn(kTokenChars, token.front());
}

bool IsTwoCharOperator(char16_t a, char16_t b) {
    const char16_t pair[2] = {a, b};
    const std::u16string_view text(pair, 2);
    return text == u"==" || text == u">=" || text == u"<=" || text == u"++" || text == u"<>" ||
           text == u"<<" || text == u">>";
}

std::vector<TCodeText> Tokenize(const TCodeText& text) {
    std::vector<TCodeText> tokens;
    const auto pushOperand = [&tokens](std::u16string_view operand) {
        operand = Trim(operand);
        if (operand.empty()) return;
        for (const char16_t c : operand)
            if (IsIn(kStrayChars, c)) ThrowSyntax();
        tokens.emplace_back(operand);
    };
    size_t start = 0;
    for (size_t i = 0; i < text.size();) {
        if (!IsIn(kTokenChars, text[i])) {
            ++i;
            continue;
        }
        pushOperand(std::u16string_view(text).substr(start, i - start));
        const size_t length = i + 1 < text.size() && IsTwoCharOperator(text[i], text[i + 1]) ? 2 : 1;
        tokens.push_back(text.substr(i, length));
        i += length;
        start = i;
    }
    pushOperand(std::u16string_view(text).substr(start));
    return tokens;
}

// RGB(red, green, blue) is written as the colour value it stands for
// (blue * 65536 + green * 256 + red, each part cut to 0 .. 255): the number
// itself when the parts are numbers, else the expression that makes it. No
// function of that name is stored, so a page holds what the number gives.
TCodeText ColourExpression(std::u16string_view arguments) {
    const std::vector<std::u16string_view> parts =
        Trim(arguments).empty() ? std::vector<std::u16string_view>{} : SplitArguments(arguments);
    if (parts.size() != 3) throw ETovaError("RGB" + SysText(" 引数の数が不正です"));
    std::array<std::optional<int32_t>, 3> numbers;
    for (size_t i = 0; i < 3; ++i)
        numbers[i] = TryTextToInt(FromCodeText(Trim(parts[i])));
    if (numbers[0] && numbers[1] && numbers[2]) {
        const int32_t colour = (*numbers[0] & 255) | (*numbers[1] & 255) << 8 | (*numbers[2] & 255) << 16;
        return ToCodeText(std::to_string(colour));
    }
    // Appended piece by piece: a literal + std::u16string temporary makes
    // GCC 12 at -O3 report a false -Wrestrict (GCC bug 105329).
    TCodeText colour(u"(");
    const std::u16string_view shifts[] = {u"", u" << 8", u" << 16"};
    for (size_t i = 0; i < 3; ++i) {
        if (i > 0) colour.append(u" | ");
        colour.append(u"(((").append(parts[i]).append(u") & 255)").append(shifts[i]).append(u")");
    }
    colour.append(u")");
    return colour;
}

}  // namespace

TCodeText ToCodeText(std::string_view cp932) {
    TCodeText codes;
    codes.reserve(cp932.size());
    ForEachSjisChar(
        cp932, [&codes](uint16_t code, size_t, size_t) { codes.push_back(static_cast<char16_t>(code)); });
    return codes;
}

std::string FromCodeText(std::u16string_view codes) {
    std::string bytes;
    bytes.reserve(codes.size());
    for (const char16_t code : codes) {
        if (code > 0xFF) bytes.push_back(static_cast<char>(code >> 8));
        bytes.push_back(static_cast<char>(code & 0xFF));
    }
    return bytes;
}

std::string TExpressionCompiler::NewTemporary() {
    return std::string(kTemporaryPrefix) + std::to_string(owner_.tempCounter_++);
}

std::string TExpressionCompiler::NewElementTemporary() {
    return std::string(kElementTemporaryPrefix) + std::to_string(owner_.tempCounter_++);
}

void TExpressionCompiler::Append(uint8_t op, std::string target, std::vector<std::string> operands) {
    owner_.records_.push_back({op, std::move(target), std::move(operands)});
}

void TExpressionCompiler::CompileText(TCodeText text) {
    ExtractLiterals(text);
    CheckNesting(text);
    ExtractCalls(text);
    ExtractElements(text);
    ExtractGroups(text);
    Reduce(text);
}

void TExpressionCompiler::ExtractLiterals(TCodeText& text) {
    for (size_t start = 0; (start = text.find(u'"', start)) != TCodeText::npos;) {
        // The literal ends at the first double quote that no backslash escapes.
        std::string literal = "\"";
        size_t end = start + 1;
        for (; end < text.size() && text[end] != u'"'; ++end) {
            const char16_t next = end + 1 < text.size() ? text[end + 1] : 0;
            if (text[end] == u'\\' && (next == u'"' || next == u'\\')) {
                literal.push_back(static_cast<char>(next));
                ++end;
            } else if (text[end] == u'\\' && next == u'n') {
                literal += "\r\n";
                ++end;
            } else {
                literal += FromCodeText(std::u16string_view(&text[end], 1));
            }
        }
        if (end == text.size()) ThrowSyntax();
        literal.push_back('"');
        std::string temporary = NewTemporary();
        const TCodeText name = ToCodeText(temporary);
        Append(ocTo, std::move(temporary), {std::move(literal)});
        text.replace(start, end + 1 - start, name);
        start += name.size();
    }
}

void TExpressionCompiler::ExtractCalls(TCodeText& text) {
    for (;;) {
        // The last call in the text contains no other call.
        const std::vector<TParenPair> pairs = MatchParens(text);
        const TParenPair* call = nullptr;
        size_t nameEnd = 0;
        for (auto it = pairs.rbegin(); it != pairs.rend() && !call; ++it) {
            const std::optional<size_t> before = PrevNonBlank(text, it->Open);
            if (before && IsNameChar(text[*before])) {
                call = &*it;
                nameEnd = *before + 1;
            }
        }
        if (!call) return;
        size_t nameStart = nameEnd - 1;
        while (nameStart > 0 && IsNameChar(text[nameStart - 1]))
            --nameStart;

        const std::u16string_view inner =
            std::u16string_view(text).substr(call->Open + 1, call->Close - call->Open - 1);
        const std::u16string_view name = std::u16string_view(text).substr(nameStart, nameEnd - nameStart);
        if (FromCodeText(name) == kColourFunctionName) {
            text.replace(nameStart, call->Close + 1 - nameStart, ColourExpression(inner));
            continue;
        }
        std::string target = NewTemporary();
        std::vector<std::string> operands{FromCodeText(name)};
        if (!Trim(inner).empty()) {
            for (const std::u16string_view argument : SplitArguments(inner))
                operands.push_back(Operand(argument));
        }
        const TCodeText temporary = ToCodeText(target);
        const size_t callEnd = call->Close + 1;
        Append(ocFunc, std::move(target), std::move(operands));
        text.replace(nameStart, callEnd - nameStart, temporary);
    }
}

void TExpressionCompiler::ExtractElements(TCodeText& text) {
    for (size_t open; (open = text.rfind(u'[')) != TCodeText::npos;) {
        const std::optional<size_t> before = PrevNonBlank(text, open);
        if (!before || IsIn(kOperatorChars, text[*before])) ThrowSyntax();
        size_t nameStart = *before;
        while (nameStart > 0 && !IsBlank(text[nameStart - 1]) && !IsIn(kOperatorChars, text[nameStart - 1]))
            --nameStart;
        const size_t close = text.find(u']', open);
        if (close == TCodeText::npos) ThrowSyntax();

        std::string target = NewElementTemporary();
        std::vector<std::string> operands{
            FromCodeText(std::u16string_view(text).substr(nameStart, *before + 1 - nameStart))};
        const std::u16string_view indexes = std::u16string_view(text).substr(open + 1, close - open - 1);
        for (const std::u16string_view index : SplitArguments(indexes)) {
            if (Trim(index).empty()) ThrowIndex();
            operands.push_back(Operand(index));
        }
        const TCodeText name = ToCodeText(target);
        Append(ocDimTo, std::move(target), std::move(operands));
        text.replace(nameStart, close + 1 - nameStart, name);
    }
    if (text.find(u']') != TCodeText::npos) ThrowSyntax();
}

void TExpressionCompiler::ExtractGroups(TCodeText& text) {
    for (;;) {
        const std::vector<TParenPair> pairs = MatchParens(text);
        const TParenPair* group = nullptr;
        for (auto it = pairs.rbegin(); it != pairs.rend() && !group; ++it) {
            const std::optional<size_t> before = PrevNonBlank(text, it->Open);
            if (!before || !IsNameChar(text[*before])) group = &*it;
        }
        if (!group) return;
        const std::string temporary = NewTemporary();
        const TCodeText name = ToCodeText(temporary);
        TCodeText statement = name + u" = " + text.substr(group->Open + 1, group->Close - group->Open - 1);
        text.replace(group->Open, group->Close + 1 - group->Open, name);
        CompileText(std::move(statement));
    }
}

std::string TExpressionCompiler::Operand(std::u16string_view text) {
    const std::u16string_view operand = StripParens(text);
    for (const char16_t c : operand) {
        if (!IsIn(kOperatorChars, c)) continue;
        std::string temporary = NewTemporary();
        CompileText(ToCodeText(temporary) + u" = " + TCodeText(operand));
        return temporary;
    }
    return FromCodeText(operand);
}

void TExpressionCompiler::Reduce(const TCodeText& text) {
    std::vector<TCodeText> tokens = Tokenize(text);
    if (tokens.empty()) {
        Append(ocTo, std::string(kResultTemporary), {FromCodeText(text)});
        return;
    }

    // Signs, right to left: a + or - after an operator belongs to what follows it.
    std::vector<TCodeText> withSigns;
    for (size_t i = tokens.size(); i-- > 0;) {
        const bool sign = i > 0 && i + 1 < tokens.size() && (tokens[i] == u"+" || tokens[i] == u"-") &&
                          IsOperatorToken(tokens[i - 1]);
        if (!sign) {
            withSigns.push_back(std::move(tokens[i]));
        } else if (tokens[i] == u"-") {
            if (IsOperatorToken(withSigns.back())) ThrowSyntax();
            std::string temporary = NewTemporary();
            TCodeText name = ToCodeText(temporary);
            Append(ocMinus, std::move(temporary), {"0", FromCodeText(withSigns.back())});
            withSigns.back() = std::move(name);
        }
    }
    tokens.assign(std::make_move_iterator(withSigns.rbegin()), std::make_move_iterator(withSigns.rend()));

    // Precedence: the tightest level first, left to right within a level.
    bool assigned = false;
    for (int level = 1; level <= kAssignLevel; ++level) {
        std::vector<TCodeText> rest;
        for (size_t i = 0; i < tokens.size(); ++i) {
            const TOperatorToken* op = FindOperator(tokens[i]);
            if (!op || op->Level != level) {
                rest.push_back(std::move(tokens[i]));
                continue;
            }
            if (i + 1 == tokens.size() || IsOperatorToken(tokens[i + 1])) ThrowSyntax();
            const std::string right = FromCodeText(tokens[++i]);
            if (level == kAssignLevel) {
                if (rest.empty()) ThrowSyntax();
                Append(ocTo, FromCodeText(rest.back()), {right});
                rest.pop_back();
                assigned = true;
                continue;
            }
            std::string temporary = NewTemporary();
            TCodeText name = ToCodeText(temporary);
            if (rest.empty()) {
                if (op->Op != ocPlus && op->Op != ocMinus) ThrowSyntax();
                Append(op->Op, std::move(temporary), {"0", right});
                rest.push_back(std::move(name));
            } else {
                if (IsOperatorToken(rest.back())) ThrowSyntax();
                Append(op->Op, std::move(temporary), {FromCodeText(rest.back()), right});
                rest.back() = std::move(name);
            }
        }
        tokens = std::move(rest);
    }
    if (tokens.empty()) return;
    if (assigned || tokens.size() > 1) ThrowSyntax();
    Append(ocTo, std::string(kResultTemporary), {FromCodeText(tokens.front())});
}

}  // namespace tova
