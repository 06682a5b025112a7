// ASCII letter case, for the names that Windows compares without regard to
// case in the ASCII range only (INI sections and keys, key names, options),
// and hexadecimal digits as the text formats' escapes write them.
#pragma once

#include <string_view>

namespace tova {

constexpr char AsciiLowerChar(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool AsciiSameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiLowerChar(a[i]) != AsciiLowerChar(b[i])) return false;
    return true;
}

// The value of a hexadecimal digit (either case), or -1.
constexpr int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace tova
