#include "sdk/script_expression.h"

#include "core/error.h"
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

}  // namespace

void CompileValue(std::string_view value, const TLineCursor& at, TTovaParser& parser) {
    if (value.empty()) at.Fail("an expression expected (write {} for an empty one)");
    if (value.front() == '{') {
        TLineCursor raw(value, at.SourceName(), at.Line());
        ReadRawExpression(raw, parser);
        raw.ExpectEnd();
        return;
    }
    try {
        CompileExpression(value, parser);
    } catch (const ETovaError& error) {
        throw SourceError(at.SourceName(), at.Line(), error.Message() + ": " + std::string(value));
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
