#include "sdk/script_expression.h"

#include "core/error.h"
#include "core/sjis.h"
#include "expr/script_constants.h"
#include "expr/sys_function_table.h"
#include "sdk/lint/near_name.h"
#include "sdk/script_raw_expression.h"

namespace tova::sdk {
namespace {

std::vector<uint8_t> StoredBytes(const TTovaParser& parser) {
    TTpMemoryStream stream;
    parser.SaveToStream(stream);
    return stream.Bytes();
}

bool HasControl(std::string_view text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return true;
    return false;
}

// Whether text reads back unchanged when printed at place.
bool FitsAt(std::string_view text, TExpressionPlace place, std::string_view keyword) {
    if (text.empty() || HasControl(text) || TrimBlanks(text) != text || text.front() == '{') return false;
    if (CommentStart(text) != std::string_view::npos) return false;
    if (!keyword.empty() && FindKeyword(text, keyword) != std::string_view::npos) return false;
    if (place == TExpressionPlace::Argument) {
        const std::string list = "(" + std::string(text) + ")";
        if (MatchingClose(list, 0) != list.size() - 1 || SplitTopLevel(text, ',').size() != 1) return false;
    }
    return true;
}

bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '@';
}

std::vector<std::string> FunctionNames() {
    std::vector<std::string> names;
    for (int id = 0; id < kSysFunctionCount; ++id)
        names.emplace_back(SysFunctionInfo(id).Name);
    names.emplace_back(kColourFunctionName);
    return names;
}

// A name written before "(" that is no built-in function, outside strings.
void CheckFunctionNames(std::string_view value, const TLineCursor& at) {
    for (size_t pos = 0; pos < value.size();) {
        if (value[pos] == '"') {
            const size_t end = SkipQuoted(value, pos);
            if (end == std::string_view::npos) return;  // the compiler names the open string
            pos = end;
            continue;
        }
        if (!IsNameChar(value[pos])) {
            pos += SjisCharLength(value, pos);
            continue;
        }
        const size_t start = pos;
        while (pos < value.size() && IsNameChar(value[pos]))
            ++pos;
        const std::string_view name = value.substr(start, pos - start);
        size_t next = pos;
        while (next < value.size() && IsBlank(value[next]))
            ++next;
        if (next < value.size() && value[next] == '(' && !(name[0] >= '0' && name[0] <= '9') &&
            !FindSysFunction(name) && name != kColourFunctionName)
            at.FailAt("unknown function", std::string(name) + DidYouMean(name, FunctionNames()));
    }
}

}  // namespace

void CompileValue(std::string_view value, const TLineCursor& at, TTovaParser& parser) {
    if (value.empty()) at.Fail("an expression expected (write {} for an empty one)");
    if (value.front() == '{') {
        TLineCursor raw(value, at.SourceName(), at.Line(), at.Variables());
        ReadRawExpression(raw, parser);
        raw.ExpectEnd();
        return;
    }
    CheckFunctionNames(value, at);
    try {
        CompileExpression(value, parser, at.Variables() ? *at.Variables() : TVariableTest());
    } catch (const ETovaError& error) {
        throw SourceError(at.SourceName(), at.Line(),
                          SysText("not a valid expression (") + error.Message() + "): " + std::string(value));
    }
}

bool SameRecords(const TTovaParser& a, const TTovaParser& b) {
    return StoredBytes(a) == StoredBytes(b);
}

std::string ExpressionSource(const TTovaParser& parser, TExpressionPlace place, std::string_view keyword) {
    if (const std::optional<std::string> text = ExpressionText(parser)) {
        std::string utf8;
        if (FitsAt(*text, place, keyword) && ToUtf8Exactly(*text, utf8)) return utf8;
    }
    return RawExpressionText(parser);
}

}  // namespace tova::sdk
