// Windows virtual-key codes: the numbers scripts test in @KeyPush[k],
// @KeyClick[k] and @KeyRepeat[k], whatever the host's keyboard layer calls
// the keys. Each display backend maps its own key events to these codes;
// input scripts and recordings name them as "VK_RETURN", "A", "13".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tova {

enum TVirtualKey : uint8_t {
    VK_LBUTTON = 0x01,
    VK_RBUTTON = 0x02,
    VK_CANCEL = 0x03,
    VK_MBUTTON = 0x04,
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_CLEAR = 0x0C,
    VK_RETURN = 0x0D,
    VK_SHIFT = 0x10,
    VK_CONTROL = 0x11,
    VK_MENU = 0x12,
    VK_PAUSE = 0x13,
    VK_CAPITAL = 0x14,
    VK_KANA = 0x15,
    VK_KANJI = 0x19,
    VK_ESCAPE = 0x1B,
    VK_CONVERT = 0x1C,
    VK_NONCONVERT = 0x1D,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21,
    VK_NEXT = 0x22,
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_SELECT = 0x29,
    VK_SNAPSHOT = 0x2C,
    VK_INSERT = 0x2D,
    VK_DELETE = 0x2E,
    VK_HELP = 0x2F,
    VK_0 = 0x30,  // '0'..'9' are 0x30..0x39
    VK_A = 0x41,  // 'A'..'Z' are 0x41..0x5A
    VK_LWIN = 0x5B,
    VK_RWIN = 0x5C,
    VK_APPS = 0x5D,
    VK_NUMPAD0 = 0x60,  // ..VK_NUMPAD9 = 0x69
    VK_MULTIPLY = 0x6A,
    VK_ADD = 0x6B,
    VK_SEPARATOR = 0x6C,
    VK_SUBTRACT = 0x6D,
    VK_DECIMAL = 0x6E,
    VK_DIVIDE = 0x6F,
    VK_F1 = 0x70,  // ..VK_F24 = 0x87
    VK_NUMLOCK = 0x90,
    VK_SCROLL = 0x91,
    VK_LSHIFT = 0xA0,
    VK_RSHIFT = 0xA1,
    VK_LCONTROL = 0xA2,
    VK_RCONTROL = 0xA3,
    VK_LMENU = 0xA4,
    VK_RMENU = 0xA5,
    VK_OEM_1 = 0xBA,       // ;:
    VK_OEM_PLUS = 0xBB,    // =+
    VK_OEM_COMMA = 0xBC,   // ,<
    VK_OEM_MINUS = 0xBD,   // -_
    VK_OEM_PERIOD = 0xBE,  // .>
    VK_OEM_2 = 0xBF,       // /?
    VK_OEM_3 = 0xC0,       // `~
    VK_OEM_4 = 0xDB,       // [{
    VK_OEM_5 = 0xDC,       // backslash |
    VK_OEM_6 = 0xDD,       // ]}
    VK_OEM_7 = 0xDE,       // '"
    VK_OEM_102 = 0xE2,     // the extra key of 102-key and Japanese keyboards
};

// A key given by name ("VK_RETURN", "vk_return", a letter "A" or "VK_A", a
// digit key "VK_7") or by its decimal code ("13", 0..255; so "7" is code 7,
// not the digit key); nullopt otherwise.
std::optional<uint8_t> VirtualKeyFromName(std::string_view name);

// The name of a code ("VK_RETURN", "A", "VK_7"), or its decimal number when
// it has no name.
std::string VirtualKeyName(uint8_t code);

}  // namespace tova
