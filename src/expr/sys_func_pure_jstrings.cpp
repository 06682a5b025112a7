// String functions that count characters: a Shift-JIS lead byte and the byte
// after it are one character. Positions are 1-based and a position of 0 or
// below counts as 1.
#include <algorithm>
#include <vector>

#include "core/sjis.h"
#include "expr/sys_func_pure.h"

namespace tova::pure {
namespace {

constexpr std::string_view kFullWidthSpace = "\x81\x40";

// A text with its character starts, for converting character positions to
// byte offsets.
struct TCharText {
    explicit TCharText(std::string value) : Text(std::move(value)), Starts(SjisCharStarts(Text)) {}

    size_t Count() const { return Starts.size(); }
    // Byte offset of character index k (0-based); the text's end for k >= Count.
    size_t Offset(size_t k) const { return k < Starts.size() ? Starts[k] : Text.size(); }
    std::string_view Char(size_t k) const {
        return std::string_view(Text).substr(Offset(k), Offset(k + 1) - Offset(k));
    }

    std::string Text;
    std::vector<size_t> Starts;
};

size_t CharIndex(int32_t position) {
    return position < 1 ? 0 : static_cast<size_t>(position) - 1;
}

// Character count argument n, or "to the end" when the call does not have it.
size_t CountArg(const TSysCall& call, int n) {
    if (!call.HasArg(n)) return std::string::npos;
    return static_cast<size_t>(std::max(IntArg(call, n), 0));
}

size_t EndIndex(size_t start, size_t count, size_t total) {
    return count >= total - start ? total : start + count;
}

bool IsTrimmedChar(std::string_view c) {
    return c == " " || c == kFullWidthSpace;
}

}  // namespace

void JLength(TSysCall& call) {
    call.Target.SetInt(static_cast<int32_t>(SjisCharCount(TextArg(call, 1))));
}

void JCopy(TSysCall& call) {
    const TCharText text(TextArg(call, 1));
    const size_t start = CharIndex(IntArg(call, 2));
    if (start >= text.Count()) return;
    const size_t end = EndIndex(start, CountArg(call, 3), text.Count());
    call.Target.SetStr(text.Text.substr(text.Offset(start), text.Offset(end) - text.Offset(start)));
}

void JDelete(TSysCall& call) {
    TCharText text(TextArg(call, 1));
    const size_t start = CharIndex(IntArg(call, 2));
    const size_t count = CountArg(call, 3);
    if (start >= text.Count() || count == 0) return;
    const size_t end = EndIndex(start, count, text.Count());
    text.Text.erase(text.Offset(start), text.Offset(end) - text.Offset(start));
    call.Arg(1).SetStr(text.Text);
}

void JInsert(TSysCall& call) {
    const std::string piece = TextArg(call, 1);
    if (piece.empty()) return;
    TCharText text(TextArg(call, 2));
    const size_t at = std::min(CharIndex(IntArg(call, 3)), text.Count());
    text.Text.insert(text.Offset(at), piece);
    call.Arg(2).SetStr(text.Text);
}

void JPos(TSysCall& call) {
    const std::string needle = TextArg(call, 1);
    if (needle.empty()) return;
    const TCharText text(TextArg(call, 2));
    // SjisFind only matches at character starts, so the offset is one of Starts.
    const size_t found = SjisFind(text.Text, needle);
    if (found == std::string_view::npos) return;
    const auto index = std::lower_bound(text.Starts.begin(), text.Starts.end(), found) - text.Starts.begin();
    call.Target.SetInt(static_cast<int32_t>(index) + 1);
}

void JTrim(TSysCall& call) {
    const TCharText text(TextArg(call, 1));
    size_t first = 0, last = text.Count();
    while (first < last && IsTrimmedChar(text.Char(first)))
        ++first;
    while (last > first && IsTrimmedChar(text.Char(last - 1)))
        --last;
    call.Target.SetStr(text.Text.substr(text.Offset(first), text.Offset(last) - text.Offset(first)));
}

void FixStr(TSysCall& call) {
    std::string text = TextArg(call, 1);
    const TCharText chars(text);
    // A lead byte as the last character has lost its trail byte.
    if (chars.Count() > 0) {
        const std::string_view last = chars.Char(chars.Count() - 1);
        if (last.size() == 1 && IsSjisLeadByte(static_cast<unsigned char>(last[0]))) text.pop_back();
    }
    call.Target.SetStr(text);
}

void IsDelimiter(TSysCall& call) {
    const TCharText delimiters(TextArg(call, 1));
    const TCharText text(TextArg(call, 2));
    const int32_t position = IntArg(call, 3);
    if (position < 1 || static_cast<size_t>(position) > text.Count()) return;
    const std::string_view wanted = text.Char(static_cast<size_t>(position) - 1);
    for (size_t k = 0; k < delimiters.Count(); ++k) {
        if (delimiters.Char(k) == wanted) {
            call.Target.SetBool(true);
            return;
        }
    }
}

}  // namespace tova::pure
