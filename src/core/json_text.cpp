#include "core/json_text.h"

#include <cstdio>

#include "core/encoding.h"

namespace tova {

void AppendJsonString(std::string& out, std::string_view cp932) {
    out += '"';
    for (const char c : Cp932ToUtf8(cp932)) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                    out += escape;
                } else {
                    out += c;
                }
        }
    }
    out += '"';
}

std::string JsonString(std::string_view cp932) {
    std::string out;
    AppendJsonString(out, cp932);
    return out;
}

bool IsJsonNumber(std::string_view text) {
    size_t i = 0;
    const auto digits = [&] {
        const size_t start = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i;
        return i - start;
    };
    if (i < text.size() && text[i] == '-') ++i;
    const size_t start = i;
    const size_t whole = digits();
    if (whole == 0 || (whole > 1 && text[start] == '0')) return false;
    if (i < text.size() && text[i] == '.') {
        ++i;
        if (digits() == 0) return false;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        if (digits() == 0) return false;
    }
    return i == text.size();
}

}  // namespace tova
