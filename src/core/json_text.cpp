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

}  // namespace tova
