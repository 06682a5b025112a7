// A recursive-descent JSON reader.
#include "sdk/images/json_reader.h"

#include <cstdlib>

#include "core/error.h"

namespace tova::sdk {

const TJsonValue* TJsonValue::Find(const std::string& key) const {
    const auto it = Object.find(key);
    return it == Object.end() ? nullptr : &it->second;
}

namespace {

class TJsonParser {
public:
    TJsonParser(std::string_view text, std::string_view fileName) : text_(text), fileName_(fileName) {}

    TJsonValue Document() {
        TJsonValue v = Value(0);
        Space();
        if (pos_ != text_.size()) Fail("text after the value");
        return v;
    }

private:
    [[noreturn]] void Fail(const std::string& what) const {
        throw ETovaError(std::string(fileName_) + ": offset " + std::to_string(pos_) + ": " + what);
    }
    void Space() {
        while (pos_ < text_.size() &&
               (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\n' || text_[pos_] == '\r'))
            ++pos_;
    }
    bool Take(char c) {
        Space();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    void Expect(char c) {
        if (!Take(c)) Fail(std::string("'") + c + "' expected");
    }
    bool Word(std::string_view w) {
        if (text_.substr(pos_, w.size()) != w) return false;
        pos_ += w.size();
        return true;
    }

    TJsonValue Value(int depth) {
        if (depth > 64) Fail("nested too deeply");
        Space();
        if (pos_ >= text_.size()) Fail("a value expected");
        TJsonValue v;
        const char c = text_[pos_];
        if (c == '{') {
            ++pos_;
            v.Kind = TJsonValue::TKind::Object;
            if (Take('}')) return v;
            do {
                Space();
                if (pos_ >= text_.size() || text_[pos_] != '"') Fail("a member name expected");
                std::string key = String();
                Expect(':');
                v.Object[key] = Value(depth + 1);
            } while (Take(','));
            Expect('}');
        } else if (c == '[') {
            ++pos_;
            v.Kind = TJsonValue::TKind::Array;
            if (Take(']')) return v;
            do
                v.Array.push_back(Value(depth + 1));
            while (Take(','));
            Expect(']');
        } else if (c == '"') {
            v.Kind = TJsonValue::TKind::String;
            v.String = String();
        } else if (Word("true")) {
            v.Kind = TJsonValue::TKind::Bool;
            v.Bool = true;
        } else if (Word("false")) {
            v.Kind = TJsonValue::TKind::Bool;
        } else if (Word("null")) {
        } else {
            const std::string rest(text_.substr(pos_, 64));
            char* end = nullptr;
            v.Number = std::strtod(rest.c_str(), &end);
            if (end == rest.c_str()) Fail("a value expected");
            pos_ += static_cast<size_t>(end - rest.c_str());
            v.Kind = TJsonValue::TKind::Number;
        }
        return v;
    }

    void AppendUtf8(std::string& out, uint32_t cp) {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | cp >> 6);
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | cp >> 12);
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | cp >> 18);
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }

    uint32_t Hex4() {
        if (pos_ + 4 > text_.size()) Fail("a short \\u escape");
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) {
            const char h = text_[pos_++];
            v <<= 4;
            if (h >= '0' && h <= '9')
                v |= static_cast<uint32_t>(h - '0');
            else if (h >= 'a' && h <= 'f')
                v |= static_cast<uint32_t>(h - 'a' + 10);
            else if (h >= 'A' && h <= 'F')
                v |= static_cast<uint32_t>(h - 'A' + 10);
            else
                Fail("a bad \\u escape");
        }
        return v;
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
            const char e = text_[pos_++];
            switch (e) {
                case 'n':
                    out += '\n';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'u': {
                    uint32_t cp = Hex4();
                    if (cp >= 0xD800 && cp < 0xDC00 && Word("\\u"))
                        cp = 0x10000 + ((cp - 0xD800) << 10) + (Hex4() - 0xDC00);
                    AppendUtf8(out, cp);
                    break;
                }
                default:
                    out += e;
                    break;
            }
        }
    }

    std::string_view text_;
    std::string_view fileName_;
    size_t pos_ = 0;
};

}  // namespace

TJsonValue ParseJson(std::string_view text, std::string_view fileName) {
    return TJsonParser(text, fileName).Document();
}

}  // namespace tova::sdk
