#include "sdk/script_text.h"

#include <array>
#include <charconv>
#include <cstdio>

#include "core/ascii.h"
#include "core/encoding.h"
#include "core/sjis.h"

namespace tova::sdk {
namespace {

constexpr std::string_view kWordStops = "\"#()[]{},;=";
constexpr std::array<std::string_view, 3> kReservedWords = {"if", "while", "full"};

bool IsControl(unsigned char c) {
    return c < 0x20 || c == 0x7f;
}

bool IsOpen(char c) {
    return c == '(' || c == '[' || c == '{';
}

bool IsClose(char c) {
    return c == ')' || c == ']' || c == '}';
}

bool IsSafeWordChar(std::string_view ch) {
    if (ch.size() == 1 && static_cast<unsigned char>(ch[0]) < 0x80) {
        const char c = ch[0];
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
               c == '.' || c == '\\' || c == '/';
    }
    std::string utf8;
    return ToUtf8Exactly(ch, utf8);
}

// Calls stop(i) for every character of text from start on that stands
// outside a quoted string, until it returns true; gives that position, or
// npos at the end or at a string left open.
template <typename TStop>
size_t ScanOutsideQuotes(std::string_view text, size_t start, TStop stop) {
    for (size_t i = start; i < text.size();) {
        if (text[i] == '"') {
            i = SkipQuoted(text, i);
            if (i == std::string_view::npos) return i;
            continue;
        }
        if (stop(i)) return i;
        i += SjisCharLength(text, i);
    }
    return std::string_view::npos;
}

void AppendHexByte(std::string& out, unsigned char c) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "\\x%02X", c);
    out += buffer;
}

}  // namespace

ETovaError SourceError(std::string_view sourceName, int line, std::string_view cp932Message) {
    return ETovaError(Utf8ToCp932Lossy(sourceName) + ":" + std::to_string(line) + ": " +
                      std::string(cp932Message));
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsWordStop(char c) {
    return IsBlank(c) || IsControl(static_cast<unsigned char>(c)) ||
           kWordStops.find(c) != std::string_view::npos;
}

size_t SkipQuoted(std::string_view text, size_t pos) {
    for (size_t i = pos + 1; i < text.size();) {
        if (text[i] == '"') return i + 1;
        if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == '"' || text[i + 1] == '\\')) {
            i += 2;
            continue;
        }
        i += SjisCharLength(text, i);
    }
    return std::string_view::npos;
}

size_t MatchingClose(std::string_view text, size_t open) {
    int depth = 0;
    return ScanOutsideQuotes(text, open, [&](size_t i) {
        if (IsOpen(text[i])) ++depth;
        return IsClose(text[i]) && --depth == 0;
    });
}

size_t CommentStart(std::string_view text) {
    return ScanOutsideQuotes(text, 0,
                             [&](size_t i) { return text[i] == '#' && (i == 0 || IsBlank(text[i - 1])); });
}

size_t FindKeyword(std::string_view text, std::string_view word) {
    const bool prefix = word.ends_with('=');
    int depth = 0;
    return ScanOutsideQuotes(text, 0, [&](size_t i) {
        if (IsOpen(text[i])) ++depth;
        if (IsClose(text[i])) --depth;
        return depth == 0 && text.substr(i).starts_with(word) && (i == 0 || IsBlank(text[i - 1])) &&
               (prefix || i + word.size() == text.size() || IsBlank(text[i + word.size()]));
    });
}

std::vector<std::string_view> SplitTopLevel(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    int depth = 0;
    size_t start = 0;
    ScanOutsideQuotes(text, 0, [&](size_t i) {
        if (IsOpen(text[i])) ++depth;
        if (IsClose(text[i])) --depth;
        if (depth == 0 && text[i] == separator) {
            parts.push_back(text.substr(start, i - start));
            start = i + 1;
        }
        return false;
    });
    parts.push_back(text.substr(start));
    return parts;
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

void TLineCursor::Fail(std::string_view utf8Message) const {
    throw SourceError(sourceName_, line_, SysText(utf8Message));
}

void TLineCursor::FailAt(std::string_view utf8Message, std::string_view cp932Detail) const {
    throw SourceError(sourceName_, line_, SysText(utf8Message) + ": " + std::string(cp932Detail));
}

void TLineCursor::SkipBlanks() {
    while (pos_ < text_.size() && IsBlank(text_[pos_]))
        ++pos_;
}

bool TLineCursor::AtEnd() {
    SkipBlanks();
    return pos_ == text_.size() || (text_[pos_] == '#' && (pos_ == 0 || IsBlank(text_[pos_ - 1])));
}

void TLineCursor::ExpectEnd() {
    if (!AtEnd()) FailAt("unexpected text", Remaining());
}

char TLineCursor::Peek() {
    SkipBlanks();
    return pos_ < text_.size() ? text_[pos_] : '\0';
}

bool TLineCursor::TryConsume(std::string_view token) {
    SkipBlanks();
    if (!Remaining().starts_with(token)) return false;
    pos_ += token.size();
    return true;
}

std::string_view TLineCursor::ReadWord() {
    SkipBlanks();
    const size_t start = pos_;
    while (pos_ < text_.size() && !IsWordStop(text_[pos_]))
        pos_ += SjisCharLength(text_, pos_);
    return text_.substr(start, pos_ - start);
}

std::string TLineCursor::ReadString() {
    SkipBlanks();
    if (Peek() != '"') Fail("a string in double quotes expected");
    std::string out;
    for (size_t i = pos_ + 1; i < text_.size();) {
        const char c = text_[i];
        if (c == '"') {
            pos_ = i + 1;
            return out;
        }
        if (c != '\\') {
            const size_t length = SjisCharLength(text_, i);
            out.append(text_.substr(i, length));
            i += length;
            continue;
        }
        const char next = i + 1 < text_.size() ? text_[i + 1] : '\0';
        i += 2;
        switch (next) {
            case '"':
                out += '"';
                break;
            case '\\':
                out += '\\';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'x': {
                const int high = i < text_.size() ? HexDigitValue(text_[i]) : -1;
                const int low = i + 1 < text_.size() ? HexDigitValue(text_[i + 1]) : -1;
                if (high < 0 || low < 0) Fail("\\x needs two hexadecimal digits");
                out += static_cast<char>(high * 16 + low);
                i += 2;
                break;
            }
            default:
                Fail("unknown escape in a string (use \\\\ for a backslash)");
        }
    }
    Fail("the string is not closed");
}

std::string TLineCursor::ReadName(std::string_view what) {
    if (Peek() == '"') return ReadString();
    const std::string_view word = ReadWord();
    if (word.empty()) Fail(std::string(what) + " expected");
    return std::string(word);
}

int32_t TLineCursor::ReadInt(std::string_view what) {
    const std::string_view word = ReadWord();
    int32_t value = 0;
    if (!ParseInt32(word, value)) FailAt(std::string(what) + " must be a number", word);
    return value;
}

std::string_view TLineCursor::ReadRest() {
    const std::string_view rest = Remaining();
    const size_t comment = CommentStart(rest);
    pos_ = text_.size();
    return TrimBlanks(rest.substr(0, comment));
}

std::string_view TLineCursor::ReadBracketed() {
    SkipBlanks();
    const size_t close = MatchingClose(text_, pos_);
    if (close == std::string_view::npos) Fail("unbalanced brackets");
    const std::string_view inner = text_.substr(pos_ + 1, close - pos_ - 1);
    pos_ = close + 1;
    return inner;
}

bool ParseInt32(std::string_view text, int32_t& value) {
    if (text.empty()) return false;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

bool ToUtf8Exactly(std::string_view cp932, std::string& utf8) {
    utf8 = Cp932ToUtf8(cp932);
    try {
        return Utf8ToCp932(utf8) == cp932;
    } catch (const ETovaError&) {
        return false;
    }
}

std::string QuoteString(std::string_view cp932) {
    std::string out = "\"";
    for (size_t i = 0; i < cp932.size();) {
        const size_t length = SjisCharLength(cp932, i);
        const std::string_view ch = cp932.substr(i, length);
        i += length;
        const auto c = static_cast<unsigned char>(ch[0]);
        std::string utf8;
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x80 && !IsControl(c)) {
            out += static_cast<char>(c);
        } else if (c >= 0x80 && ToUtf8Exactly(ch, utf8)) {
            out += utf8;
        } else {
            // Only the byte that cannot be printed: what follows may be a character of its own.
            AppendHexByte(out, c);
            i -= length - 1;
        }
    }
    return out + "\"";
}

std::string WordOrString(std::string_view cp932) {
    bool safe = !cp932.empty() && !(cp932[0] >= '0' && cp932[0] <= '9');
    for (const std::string_view reserved : kReservedWords)
        safe = safe && cp932 != reserved;
    for (size_t i = 0; safe && i < cp932.size();) {
        const size_t length = SjisCharLength(cp932, i);
        safe = IsSafeWordChar(cp932.substr(i, length));
        i += length;
    }
    std::string utf8;
    if (safe && ToUtf8Exactly(cp932, utf8)) return utf8;
    return QuoteString(cp932);
}

}  // namespace tova::sdk
