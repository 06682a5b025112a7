// Conversion between the half-width characters (printable ASCII and the
// half-width katakana block 0xA1-0xDF) and their full-width JIS X 0208 forms,
// on code page 932 byte strings.
#pragma once

#include <string>
#include <string_view>

namespace tova {

// Double-byte characters are kept. Printable ASCII and half-width katakana
// become full-width; a ka, sa, ta or ha row kana followed by the voiced mark
// 0xDE (or a ha row kana followed by the semi-voiced mark 0xDF) becomes the one
// voiced kana. Every other single byte (control codes, 0x7F, 0x80-0xA0,
// 0xE0-0xFF, a lead byte without its trail byte) is dropped.
std::string HanToZen(std::string_view text);

// Single bytes are kept. Full-width forms of ASCII characters, katakana
// (voiced ones as the kana and the mark), the punctuation of the half-width
// block, the prolonged sound mark and the sound marks become half-width;
// every other double-byte character is dropped.
std::string ZenToHan(std::string_view text);

}  // namespace tova
