// A recursive-descent JSON reader that checks every step against the text
// left and names the offset of the first fault.
#include "core/json_value.h"

#include <cstdint>
#include <cstdlib>

#include "core/ascii.h"
#include "core/error.h"
#include "core/json_text.h"

namespace tova {

const TJsonValue* TJsonValue::Member(std::string_view key) const {
    for (auto it = Members.rbegin(); it != Members.rend(); ++it)
        if (it->Key == key) return &it->Value;
    return nullptr;
}

namespace {

// The letters after a backslash and what they stand for (\u aside).
constexpr std::string_view kEscapeLetters = "\"\\/bfnrt";
constexpr std::string_view kEscapedChars = "\"\\/\b\f\n\r\t";

class TJsonReader {
public:
    TJsonReader(std::string_view text, std::string_view sourceName) : text_(text), sourceName_(sourceName) {}

    TJsonValue Document() {
        TJsonValue value = Value(0);
        SkipBlanks();
        if (pos_ != text_.size()) Fail("text after the value");
        return value;
    }

private:
    [[noreturn]] void Fail(std::string_view what) const {
        throw ETovaError(std::string(sourceName_) + ": offset " + std::to_string(pos_) + ": " +
                         std::string(what));
    }

    void SkipBlanks() {
        while (pos_ < text_.size() &&
               (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\n' || text_[pos_] == '\r'))
            ++pos_;
    }

    // Skips blanks and takes c when it comes next.
    bool Take(char c) {
        SkipBlanks();
        if (pos_ >= text_.size() || text_[pos_] != c) return false;
        ++pos_;
        return true;
    }

    void Expect(char c) {
        if (!Take(c)) Fail(std::string("'") + c + "' expected");
    }

    bool Word(std::string_view word) {
        if (text_.substr(pos_, word.size()) != word) return false;
        pos_ += word.size();
        return true;
    }

    TJsonValue Value(int depth) {
        if (depth > kJsonMaxDepth) Fail("nested too deeply");
        SkipBlanks();
        if (pos_ >= text_.size()) Fail("a value expected");
        TJsonValue value;
        const char c = text_[pos_];
        if (c == '{') {
            ++pos_;
            value.Kind = TJsonValue::TKind::Object;
            if (Take('}')) return value;
            do {
                SkipBlanks();
                if (pos_ >= text_.size() || text_[pos_] != '"') Fail("a member name expected");
                std::string key = String();
                Expect(':');
                TJsonValue member = Value(depth + 1);
                value.Members.push_back({std::move(key), std::move(member)});
            } while (Take(','));
            Expect('}');
        } else if (c == '[') {
            ++pos_;
            value.Kind = TJsonValue::TKind::Array;
            if (Take(']')) return value;
            do
                value.Items.push_back(Value(depth + 1));
            while (Take(','));
            Expect(']');
        } else if (c == '"') {
            value.Kind = TJsonValue::TKind::String;
            value.String = String();
        } else if (Word("true")) {
            value.Kind = TJsonValue::TKind::Bool;
            value.Bool = true;
        } else if (Word("false")) {
            value.Kind = TJsonValue::TKind::Bool;
        } else if (!Word("null")) {
            value.Kind = TJsonValue::TKind::Number;
            value.String = NumberText();
            value.Number = std::strtod(value.String.c_str(), nullptr);
        }
        return value;
    }

    // The text of the number that starts here, checked against JSON's form.
    std::string NumberText() {
        const size_t start = pos_;
        while (pos_ < text_.size() &&
               std::string_view("+-.0123456789Ee").find(text_[pos_]) != std::string_view::npos)
            ++pos_;
        const std::string_view number = text_.substr(start, pos_ - start);
        if (number.empty()) Fail("a value expected");
        if (!IsJsonNumber(number)) {
            pos_ = start;
            Fail("a malformed number");
        }
        return std::string(number);
    }

    uint32_t Hex4() {
        if (pos_ + 4 > text_.size()) Fail("a short \\u escape");
        uint32_t code = 0;
        for (int i = 0; i < 4; ++i) {
            const int digit = HexDigitValue(text_[pos_]);
            if (digit < 0) Fail("a bad \\u escape");
            code = code << 4 | static_cast<uint32_t>(digit);
            ++pos_;
        }
        return code;
    }

    // A \u escape after its backslash and letter; a surrogate pair stands
    // for one character, a lone surrogate for none that UTF-8 can hold.
    uint32_t CodePoint() {
        const uint32_t code = Hex4();
        if (code < 0xD800 || code > 0xDFFF) return code;
        if (code > 0xDBFF || !Word("\\u")) Fail("an unpaired surrogate in a \\u escape");
        const uint32_t low = Hex4();
        if (low < 0xDC00 || low > 0xDFFF) Fail("an unpaired surrogate in a \\u escape");
        return 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
    }

    static void AppendUtf8(std::string& out, uint32_t code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | code >> 6);
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | code >> 12);
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | code >> 18);
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    std::string String() {
        ++pos_;  // the opening quote
        std::string out;
        for (;;) {
            if (pos_ >= text_.size()) Fail("an unterminated string");
            const char c = text_[pos_++];
            if (c == '"') return out;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (pos_ >= text_.size()) Fail("an unterminated string");
            const char letter = text_[pos_++];
            if (const size_t k = kEscapeLetters.find(letter); k != std::string_view::npos) {
                out += kEscapedChars[k];
            } else if (letter == 'u') {
                AppendUtf8(out, CodePoint());
            } else {
                --pos_;
                Fail("a bad escape (a backslash is written \\\\)");
            }
        }
    }

    std::string_view text_;
    std::string_view sourceName_;
    size_t pos_ = 0;
};

}  // namespace

TJsonValue ParseJson(std::string_view text, std::string_view sourceName) {
    return TJsonReader(text, sourceName).Document();
}

}  // namespace tova
