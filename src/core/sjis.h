// Byte strings in code page 932 (Shift-JIS). A character is one byte, or a
// lead byte (0x81-0x9F, 0xE0-0xFC) followed by a trail byte; its 16-bit code is
// lead * 256 + trail. Case folding is ASCII-only and never touches a trail
// byte, so "ＡB" and "ａb" fold their second letter only and a trail byte that
// happens to look like 'A'..'Z' keeps its value.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tova {

constexpr bool IsSjisLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Length in bytes of the character that starts at pos: 2 for a lead byte with
// a following byte, else 1 (a lead byte at the very end stands alone).
size_t SjisCharLength(std::string_view s, size_t pos);

// The 16-bit character code at pos (lead * 256 + trail for double-byte ones).
uint16_t SjisCharCode(std::string_view s, size_t pos);

// Number of characters, double-byte characters counting as one.
size_t SjisCharCount(std::string_view s);

// Byte offsets at which the characters start.
std::vector<size_t> SjisCharStarts(std::string_view s);

// Calls f(code, pos, length) for every character in order.
template <class F>
void ForEachSjisChar(std::string_view s, F&& f) {
    for (size_t pos = 0; pos < s.size();) {
        const size_t len = SjisCharLength(s, pos);
        f(SjisCharCode(s, pos), pos, len);
        pos += len;
    }
}

std::string SjisLowerCase(std::string_view s);
std::string SjisUpperCase(std::string_view s);

// Case-insensitive comparison by the folding above: <0, 0 or >0, bytes
// compared as unsigned.
int SjisCompareText(std::string_view a, std::string_view b);
bool SjisSameText(std::string_view a, std::string_view b);

// Position of needle inside haystack, only at character starts of haystack,
// or std::string_view::npos. An empty needle is found at 0.
size_t SjisFind(std::string_view haystack, std::string_view needle);

}  // namespace tova
