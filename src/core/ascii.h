// ASCII letter case, for the names that Windows compares without regard to
// case in the ASCII range only (INI sections and keys, key names, options).
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

}  // namespace tova
