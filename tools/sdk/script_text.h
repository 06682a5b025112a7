// The lexical layer of the script language: reading one source line (code
// page 932 after conversion) token by token, and printing names and strings
// so that they read back to the same bytes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"

namespace tova::sdk {

// Characters that end a bare word.
bool IsWordStop(char c);
bool IsBlank(char c);

// Position just after the string that starts with the double quote at pos,
// or npos when it is not closed. A backslash followed by a quote or a
// backslash is one pair; double-byte characters are stepped over whole. This
// is where both the script's strings and the expression literals end.
size_t SkipQuoted(std::string_view text, size_t pos);
// Position of the bracket that closes the one at open ("(", "[" or "{"),
// counting all three kinds and stepping over strings; npos when unbalanced.
size_t MatchingClose(std::string_view text, size_t open);
// Where a trailing comment starts: a '#' outside strings, at the start or
// after a blank; npos when there is none.
size_t CommentStart(std::string_view text);
// Position of word standing alone (blanks around it or the ends of text)
// outside strings and brackets, or npos. A word ending in "=" ("scope=")
// is found as the start of a token.
size_t FindKeyword(std::string_view text, std::string_view word);
// Splits text at the separators outside strings and brackets.
std::vector<std::string_view> SplitTopLevel(std::string_view text, char separator);
std::string_view TrimBlanks(std::string_view text);

// The error "SOURCE:LINE: message" (message in code page 932).
ETovaError SourceError(std::string_view sourceName, int line, std::string_view cp932Message);

// Whether a name (code page 932) is a variable of the game being compiled:
// a variable wins over a named constant of the same spelling.
using TVariableTest = std::function<bool(std::string_view name)>;

// Reads one source line left to right. Errors carry "SOURCE:LINE: ".
class TLineCursor {
public:
    TLineCursor(std::string_view text, std::string_view sourceName, int line,
                const TVariableTest* variables = nullptr)
        : text_(text), sourceName_(sourceName), line_(line), variables_(variables) {}

    [[noreturn]] void Fail(std::string_view utf8Message) const;
    [[noreturn]] void FailAt(std::string_view utf8Message, std::string_view cp932Detail) const;

    void SkipBlanks();
    // Nothing but blanks and a comment remains.
    bool AtEnd();
    void ExpectEnd();
    char Peek();
    bool TryConsume(std::string_view token);
    // A bare word (possibly empty when none stands here).
    std::string_view ReadWord();
    // A "..." string with the script escapes, as bytes.
    std::string ReadString();
    // A bare word or a string; fails on neither.
    std::string ReadName(std::string_view what);
    int32_t ReadInt(std::string_view what);
    // Everything up to the end of the line or the trailing comment, trimmed.
    std::string_view ReadRest();
    // The text between the bracket here and its match; the cursor moves past it.
    std::string_view ReadBracketed();
    // The part of the line that is left.
    std::string_view Remaining() const { return text_.substr(pos_); }
    void Advance(size_t count) { pos_ += count; }
    int Line() const { return line_; }
    std::string_view SourceName() const { return sourceName_; }
    // The variables the source's expressions know, or null.
    const TVariableTest* Variables() const { return variables_; }

private:
    std::string_view text_;
    std::string_view sourceName_;
    int line_;
    const TVariableTest* variables_;
    size_t pos_ = 0;
};

// Whole decimal int32, optionally negative.
bool ParseInt32(std::string_view text, int32_t& value);

// The UTF-8 form of a code page 932 text, when converting it back gives the
// same bytes; false otherwise.
bool ToUtf8Exactly(std::string_view cp932, std::string& utf8);
// "..." in UTF-8 with escapes for quotes, backslashes, control characters
// and every byte that would not come back the same through UTF-8.
std::string QuoteString(std::string_view cp932);
// A bare word when the name reads back as itself (letters, digits, "_", ".",
// "\", "/" and convertible double-byte characters, not starting with a
// digit or "-", and none of the reserved words); else a quoted string.
std::string WordOrString(std::string_view cp932);

}  // namespace tova::sdk
