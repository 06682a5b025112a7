#include "platform/virtual_keys.h"

#include <array>
#include <charconv>

#include "core/ascii.h"

namespace tova {
namespace {

struct TNamedKey {
    uint8_t Code;
    std::string_view Name;
};

constexpr std::array kNamedKeys = {
    TNamedKey{VK_LBUTTON, "VK_LBUTTON"},
    TNamedKey{VK_RBUTTON, "VK_RBUTTON"},
    TNamedKey{VK_CANCEL, "VK_CANCEL"},
    TNamedKey{VK_MBUTTON, "VK_MBUTTON"},
    TNamedKey{VK_BACK, "VK_BACK"},
    TNamedKey{VK_TAB, "VK_TAB"},
    TNamedKey{VK_CLEAR, "VK_CLEAR"},
    TNamedKey{VK_RETURN, "VK_RETURN"},
    TNamedKey{VK_SHIFT, "VK_SHIFT"},
    TNamedKey{VK_CONTROL, "VK_CONTROL"},
    TNamedKey{VK_MENU, "VK_MENU"},
    TNamedKey{VK_PAUSE, "VK_PAUSE"},
    TNamedKey{VK_CAPITAL, "VK_CAPITAL"},
    TNamedKey{VK_KANA, "VK_KANA"},
    TNamedKey{VK_KANJI, "VK_KANJI"},
    TNamedKey{VK_ESCAPE, "VK_ESCAPE"},
    TNamedKey{VK_CONVERT, "VK_CONVERT"},
    TNamedKey{VK_NONCONVERT, "VK_NONCONVERT"},
    TNamedKey{VK_SPACE, "VK_SPACE"},
    TNamedKey{VK_PRIOR, "VK_PRIOR"},
    TNamedKey{VK_NEXT, "VK_NEXT"},
    TNamedKey{VK_END, "VK_END"},
    TNamedKey{VK_HOME, "VK_HOME"},
    TNamedKey{VK_LEFT, "VK_LEFT"},
    TNamedKey{VK_UP, "VK_UP"},
    TNamedKey{VK_RIGHT, "VK_RIGHT"},
    TNamedKey{VK_DOWN, "VK_DOWN"},
    TNamedKey{VK_SELECT, "VK_SELECT"},
    TNamedKey{VK_SNAPSHOT, "VK_SNAPSHOT"},
    TNamedKey{VK_INSERT, "VK_INSERT"},
    TNamedKey{VK_DELETE, "VK_DELETE"},
    TNamedKey{VK_HELP, "VK_HELP"},
    TNamedKey{VK_LWIN, "VK_LWIN"},
    TNamedKey{VK_RWIN, "VK_RWIN"},
    TNamedKey{VK_APPS, "VK_APPS"},
    TNamedKey{VK_MULTIPLY, "VK_MULTIPLY"},
    TNamedKey{VK_ADD, "VK_ADD"},
    TNamedKey{VK_SEPARATOR, "VK_SEPARATOR"},
    TNamedKey{VK_SUBTRACT, "VK_SUBTRACT"},
    TNamedKey{VK_DECIMAL, "VK_DECIMAL"},
    TNamedKey{VK_DIVIDE, "VK_DIVIDE"},
    TNamedKey{VK_NUMLOCK, "VK_NUMLOCK"},
    TNamedKey{VK_SCROLL, "VK_SCROLL"},
    TNamedKey{VK_LSHIFT, "VK_LSHIFT"},
    TNamedKey{VK_RSHIFT, "VK_RSHIFT"},
    TNamedKey{VK_LCONTROL, "VK_LCONTROL"},
    TNamedKey{VK_RCONTROL, "VK_RCONTROL"},
    TNamedKey{VK_LMENU, "VK_LMENU"},
    TNamedKey{VK_RMENU, "VK_RMENU"},
    TNamedKey{VK_OEM_1, "VK_OEM_1"},
    TNamedKey{VK_OEM_PLUS, "VK_OEM_PLUS"},
    TNamedKey{VK_OEM_COMMA, "VK_OEM_COMMA"},
    TNamedKey{VK_OEM_MINUS, "VK_OEM_MINUS"},
    TNamedKey{VK_OEM_PERIOD, "VK_OEM_PERIOD"},
    TNamedKey{VK_OEM_2, "VK_OEM_2"},
    TNamedKey{VK_OEM_3, "VK_OEM_3"},
    TNamedKey{VK_OEM_4, "VK_OEM_4"},
    TNamedKey{VK_OEM_5, "VK_OEM_5"},
    TNamedKey{VK_OEM_6, "VK_OEM_6"},
    TNamedKey{VK_OEM_7, "VK_OEM_7"},
    TNamedKey{VK_OEM_102, "VK_OEM_102"},
};

char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// "VK_F1".."VK_F24", "VK_NUMPAD0".."VK_NUMPAD9": a prefix and a number.
std::optional<uint8_t> NumberedKey(std::string_view name, std::string_view prefix, int first, int count,
                                   uint8_t base) {
    if (name.size() <= prefix.size() || !AsciiSameText(name.substr(0, prefix.size()), prefix))
        return std::nullopt;
    int number = 0;
    const std::string_view digits = name.substr(prefix.size());
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc() || end != digits.data() + digits.size() ||
        (digits[0] == '0' && digits.size() > 1))
        return std::nullopt;
    if (number < first || number >= first + count) return std::nullopt;
    return static_cast<uint8_t>(base + number - first);
}

}  // namespace

std::optional<uint8_t> VirtualKeyFromName(std::string_view name) {
    if (name.empty()) return std::nullopt;
    if (name.size() == 1) {
        const char c = AsciiUpper(name[0]);
        if (c >= 'A' && c <= 'Z') return static_cast<uint8_t>(c);
    }
    // "VK_0".."VK_9", "VK_A".."VK_Z": a plain digit is a decimal code, not a key name.
    if (name.size() == 4 && AsciiSameText(name.substr(0, 3), "VK_")) {
        const char c = AsciiUpper(name[3]);
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return static_cast<uint8_t>(c);
    }
    if (name[0] >= '0' && name[0] <= '9') {
        int code = 0;
        const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), code);
        if (error != std::errc() || end != name.data() + name.size() || code < 0 || code > 255)
            return std::nullopt;
        return static_cast<uint8_t>(code);
    }
    for (const TNamedKey& key : kNamedKeys)
        if (AsciiSameText(key.Name, name)) return key.Code;
    if (auto key = NumberedKey(name, "VK_NUMPAD", 0, 10, VK_NUMPAD0)) return key;
    return NumberedKey(name, "VK_F", 1, 24, VK_F1);
}

std::string VirtualKeyName(uint8_t code) {
    if (code >= 'A' && code <= 'Z') return std::string(1, static_cast<char>(code));
    if (code >= '0' && code <= '9') return "VK_" + std::string(1, static_cast<char>(code));
    if (code >= VK_NUMPAD0 && code <= VK_NUMPAD0 + 9) return "VK_NUMPAD" + std::to_string(code - VK_NUMPAD0);
    if (code >= VK_F1 && code < VK_F1 + 24) return "VK_F" + std::to_string(code - VK_F1 + 1);
    for (const TNamedKey& key : kNamedKeys)
        if (key.Code == code) return std::string(key.Name);
    return std::to_string(code);
}

}  // namespace tova
