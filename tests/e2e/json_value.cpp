#include "json_value.h"

#include <cstdint>
#include <cstdlib>
#include <stdexcept>

namespace tova::testing {

const TJsonValue* TJsonValue::Member(std::string_view key) const {
    for (const TJsonMember& member : Members)
        if (member.Key == key) return &member.Value;
    return nullptr;
}

namespace {

class TJsonReader {
public:
    explicit TJsonReader(std::string_view text) : text_(text) {}

    TJsonValue Document() {
        TJsonValue value = Value();
        SkipBlanks();
        if (pos_ != text_.size()) Fail("text after the document");
        return value;
    }

private:
    [[noreturn]] void Fail(const std::string& what) const {
        throw std::runtime_error("JSON: " + what + " at offset " + std::to_string(pos_));
    }

    void SkipBlanks() {
        while (pos_ < text_.size() &&
               (text_[pos_] == ' ' || text_[pos_] == '\n' || text_[pos_] == '\r' || text_[pos_] == '\t'))
            ++pos_;
    }

    char Peek() {
        SkipBlanks();
        if (pos_ >= text_.size()) Fail("unexpected end");
        return text_[pos_];
    }

    void Expect(char c) {
        if (Peek() != c) Fail(std::string("'") + c + "' expected");
        ++pos_;
    }

    bool Word(std::string_view word) {
        if (text_.substr(pos_, word.size()) != word) return false;
        pos_ += word.size();
        return true;
    }

    TJsonValue Value() {
        TJsonValue value;
        const char c = Peek();
        if (c == '{') {
            value.Kind = TJsonValue::TKind::Object;
            ++pos_;
            if (Peek() == '}') {
                ++pos_;
                return value;
            }
            do {
                std::string key = String();
                Expect(':');
                TJsonValue member = Value();
                value.Members.push_back({std::move(key), std::move(member)});
            } while (Comma());
            Expect('}');
        } else if (c == '[') {
            value.Kind = TJsonValue::TKind::Array;
            ++pos_;
            if (Peek() == ']') {
                ++pos_;
                return value;
            }
            do
                value.Items.push_back(Value());
            while (Comma());
            Expect(']');
        } else if (c == '"') {
            value.Kind = TJsonValue::TKind::String;
            value.String = String();
        } else if (Word("true")) {
            value.Kind = TJsonValue::TKind::Bool;
            value.Bool = true;
        } else if (Word("false")) {
            value.Kind = TJsonValue::TKind::Bool;
        } else if (Word("null")) {
            value.Kind = TJsonValue::TKind::Null;
        } else {
            value.Kind = TJsonValue::TKind::Number;
            value.Number = Number();
            value.String = numberText_;
        }
        return value;
    }

    bool Comma() {
        if (Peek() != ',') return false;
        ++pos_;
        return true;
    }

    double Number() {
        const std::string rest(text_.substr(pos_, 64));
        char* end = nullptr;
        const double number = std::strtod(rest.c_str(), &end);
        if (end == rest.c_str()) Fail("a value expected");
        numberText_ = rest.substr(0, static_cast<size_t>(end - rest.c_str()));
        pos_ += numberText_.size();
        return number;
    }

    uint32_t Hex4() {
        if (pos_ + 4 > text_.size()) Fail("a cut \\u escape");
        uint32_t code = 0;
        for (int i = 0; i < 4; ++i) {
            const char h = text_[pos_++];
            code <<= 4;
            if (h >= '0' && h <= '9')
                code |= static_cast<uint32_t>(h - '0');
            else if (h >= 'a' && h <= 'f')
                code |= static_cast<uint32_t>(h - 'a' + 10);
            else if (h >= 'A' && h <= 'F')
                code |= static_cast<uint32_t>(h - 'A' + 10);
            else
                Fail("a bad \\u escape");
        }
        return code;
    }

    static void AppendUtf8(std::string& out, uint32_t code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    std::string String() {
        Expect('"');
        std::string out;
        while (true) {
            if (pos_ >= text_.size()) Fail("an unterminated string");
            const char c = text_[pos_++];
            if (c == '"') return out;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (pos_ >= text_.size()) Fail("an unterminated string");
            const char e = text_[pos_++];
            switch (e) {
                case '"':
                    out += '"';
                    break;
                case '\\':
                    out += '\\';
                    break;
                case '/':
                    out += '/';
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
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
                case 'u': {
                    uint32_t code = Hex4();
                    if (code >= 0xD800 && code < 0xDC00 && Word("\\u")) {
                        const uint32_t low = Hex4();
                        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                    }
                    AppendUtf8(out, code);
                    break;
                }
                default:
                    Fail("a bad escape");
            }
        }
    }

    std::string_view text_;
    size_t pos_ = 0;
    std::string numberText_;  // the text of the number read last
};

}  // namespace

TJsonValue ParseJson(std::string_view text) {
    return TJsonReader(text).Document();
}

}  // namespace tova::testing
