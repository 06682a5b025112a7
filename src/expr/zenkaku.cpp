#include "expr/zenkaku.h"

#include <cstdint>
#include <unordered_map>

#include "core/sjis.h"

namespace tova {
namespace {

constexpr unsigned char kVoicedMark = 0xDE;
constexpr unsigned char kSemiVoicedMark = 0xDF;

// Full-width forms of 0x20..0x7E. The quote characters take the closing
// quotation marks, the backslash the yen sign, the grave accent the opening
// single quotation mark and the tilde the wave dash.
constexpr uint16_t kAsciiForms[0x7F - 0x20] = {
    0x8140, 0x8149, 0x8168, 0x8194, 0x8190, 0x8193, 0x8195, 0x8166,  // space ! " # $ % & '
    0x8169, 0x816A, 0x8196, 0x817B, 0x8143, 0x817C, 0x8144, 0x815E,  // ( ) * + , - . /
    0x824F, 0x8250, 0x8251, 0x8252, 0x8253, 0x8254, 0x8255, 0x8256,  // 0 .. 7
    0x8257, 0x8258, 0x8146, 0x8147, 0x8183, 0x8181, 0x8184, 0x8148,  // 8 9 : ; < = > ?
    0x8197, 0x8260, 0x8261, 0x8262, 0x8263, 0x8264, 0x8265, 0x8266,  // @ A .. G
    0x8267, 0x8268, 0x8269, 0x826A, 0x826B, 0x826C, 0x826D, 0x826E,  // H .. O
    0x826F, 0x8270, 0x8271, 0x8272, 0x8273, 0x8274, 0x8275, 0x8276,  // P .. W
    0x8277, 0x8278, 0x8279, 0x816D, 0x818F, 0x816E, 0x814F, 0x8151,  // X Y Z [ \ ] ^ _
    0x8165, 0x8281, 0x8282, 0x8283, 0x8284, 0x8285, 0x8286, 0x8287,  // ` a .. g
    0x8288, 0x8289, 0x828A, 0x828B, 0x828C, 0x828D, 0x828E, 0x828F,  // h .. o
    0x8290, 0x8291, 0x8292, 0x8293, 0x8294, 0x8295, 0x8296, 0x8297,  // p .. w
    0x8298, 0x8299, 0x829A, 0x816F, 0x8162, 0x8170, 0x8160,          // x y z { | } ~
};

// Full-width forms of the half-width block 0xA1..0xDF.
constexpr uint16_t kKanaForms[0xE0 - 0xA1] = {
    0x8142, 0x8175, 0x8176, 0x8141, 0x8145, 0x8392, 0x8340,          // 。「」、・ヲァ
    0x8342, 0x8344, 0x8346, 0x8348, 0x8383, 0x8385, 0x8387, 0x8362,  // ィゥェォャュョッ
    0x815B, 0x8341, 0x8343, 0x8345, 0x8347, 0x8349, 0x834A, 0x834C,  // ーアイウエオカキ
    0x834E, 0x8350, 0x8352, 0x8354, 0x8356, 0x8358, 0x835A, 0x835C,  // クケコサシスセソ
    0x835E, 0x8360, 0x8363, 0x8365, 0x8367, 0x8369, 0x836A, 0x836B,  // タチツテトナニヌ
    0x836C, 0x836D, 0x836E, 0x8371, 0x8374, 0x8377, 0x837A, 0x837D,  // ネノハヒフヘホマ
    0x837E, 0x8380, 0x8381, 0x8382, 0x8384, 0x8386, 0x8388, 0x8389,  // ミムメモヤユヨラ
    0x838A, 0x838B, 0x838C, 0x838D, 0x838F, 0x8393, 0x814A, 0x814B,  // リルレロワン゛゜
};

// Half-width kana whose full-width form has a voiced successor code (the
// ka, sa, ta and ha rows) and a semi-voiced one (the ha row).
bool TakesVoicedMark(unsigned char c) {
    return (c >= 0xB6 && c <= 0xC4) || (c >= 0xCA && c <= 0xCE);
}
bool TakesSemiVoicedMark(unsigned char c) {
    return c >= 0xCA && c <= 0xCE;
}

void AppendCode(std::string& out, uint16_t code) {
    out += static_cast<char>(code >> 8);
    out += static_cast<char>(code & 0xFF);
}

using TReverseMap = std::unordered_map<uint16_t, std::string>;

TReverseMap BuildReverseMap() {
    TReverseMap map;
    for (unsigned c = 0x20; c < 0x7F; ++c)
        map.emplace(kAsciiForms[c - 0x20], std::string(1, static_cast<char>(c)));
    // The other JIS X 0208 forms of ASCII characters: the opening double
    // quotation mark, the full-width reverse solidus and grave accent.
    map.emplace(0x8167, "\"");
    map.emplace(0x815F, "\\");
    map.emplace(0x814D, "`");
    for (unsigned c = 0xA1; c < 0xE0; ++c) {
        const uint16_t form = kKanaForms[c - 0xA1];
        map.emplace(form, std::string(1, static_cast<char>(c)));
        if (TakesVoicedMark(static_cast<unsigned char>(c)))
            map.emplace(static_cast<uint16_t>(form + 1),
                        std::string{static_cast<char>(c), static_cast<char>(kVoicedMark)});
        if (TakesSemiVoicedMark(static_cast<unsigned char>(c)))
            map.emplace(static_cast<uint16_t>(form + 2),
                        std::string{static_cast<char>(c), static_cast<char>(kSemiVoicedMark)});
    }
    map.emplace(0x8394, "\xB3\xDE");  // the voiced u
    return map;
}

}  // namespace

std::string HanToZen(std::string_view text) {
    std::string out;
    for (size_t pos = 0; pos < text.size();) {
        const size_t len = SjisCharLength(text, pos);
        const auto c = static_cast<unsigned char>(text[pos]);
        if (len == 2) {
            out.append(text.substr(pos, 2));
        } else if (c >= 0x20 && c < 0x7F) {
            AppendCode(out, kAsciiForms[c - 0x20]);
        } else if (c >= 0xA1 && c < 0xE0) {
            const uint16_t form = kKanaForms[c - 0xA1];
            const auto next = pos + 1 < text.size() ? static_cast<unsigned char>(text[pos + 1]) : 0;
            if (next == kVoicedMark && TakesVoicedMark(c)) {
                AppendCode(out, static_cast<uint16_t>(form + 1));
                ++pos;
            } else if (next == kSemiVoicedMark && TakesSemiVoicedMark(c)) {
                AppendCode(out, static_cast<uint16_t>(form + 2));
                ++pos;
            } else {
                AppendCode(out, form);
            }
        }
        pos += len;
    }
    return out;
}

std::string ZenToHan(std::string_view text) {
    static const TReverseMap kReverse = BuildReverseMap();
    std::string out;
    ForEachSjisChar(text, [&](uint16_t code, size_t pos, size_t len) {
        if (len == 1) {
            out += text[pos];
        } else if (const auto found = kReverse.find(code); found != kReverse.end()) {
            out += found->second;
        }
    });
    return out;
}

}  // namespace tova
