#include "sdk/build_text_data.h"

#include <cstdint>
#include <cstdio>
#include <string_view>

#include "core/encoding.h"
#include "core/error.h"
#include "sdk/build_sources.h"

namespace tova::sdk {
namespace {

// The length of the UTF-8 sequence starting at text[i], or 0 when it is not
// a valid one (overlong forms and surrogates included).
size_t Utf8SequenceLength(std::string_view text, size_t i) {
    const auto byte = [&](size_t k) { return static_cast<uint8_t>(text[k]); };
    const uint8_t lead = byte(i);
    if (lead < 0x80) return 1;
    size_t length = 0;
    uint32_t min = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        min = 0x10000;
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    uint32_t code = lead & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

bool IsUtf8(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        const size_t length = Utf8SequenceLength(text, i);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

uint32_t CodePoint(std::string_view sequence) {
    if (sequence.size() == 1) return static_cast<uint8_t>(sequence[0]);
    uint32_t code = static_cast<uint8_t>(sequence[0]) & (0x7F >> sequence.size());
    for (size_t k = 1; k < sequence.size(); ++k)
        code = (code << 6) | (static_cast<uint8_t>(sequence[k]) & 0x3F);
    return code;
}

}  // namespace

bool IsTextDataFile(const std::string& hostName) {
    for (const char* ext : {".tsv", ".txt", ".csv", ".tab"})
        if (HasHostExtension(hostName, ext)) return true;
    return false;
}

std::string TextDataForPlayer(const std::string& bytes, const std::string& displayName, size_t firstLine) {
    std::string_view text = bytes;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    if (!IsUtf8(text)) return bytes;

    std::string out;
    std::string errors;
    size_t line = firstLine;
    size_t column = 1;
    for (size_t i = 0; i < text.size();) {
        const size_t length = Utf8SequenceLength(text, i);
        const std::string_view sequence = text.substr(i, length);
        if (length == 1) {
            out += sequence;
        } else {
            try {
                out += Utf8ToCp932(sequence);
            } catch (const ETovaError&) {
                char code[16];
                std::snprintf(code, sizeof code, "U+%04X", CodePoint(sequence));
                errors += (errors.empty() ? "" : "\n") + displayName + ":" + std::to_string(line) + ":" +
                          std::to_string(column) + ": the character " + code +
                          " cannot be written in code page 932, the player's text encoding";
            }
        }
        if (sequence == "\n") {
            ++line;
            column = 1;
        } else {
            ++column;
        }
        i += length;
    }
    if (!errors.empty()) throw ETovaError(Utf8ToCp932Lossy(errors));
    return out;
}

}  // namespace tova::sdk
