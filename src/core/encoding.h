// Conversion between code page 932 (the encoding of every string inside the
// program and in the game data) and UTF-8 (what leaves the program: window
// titles, message boxes, file names on disk, logs and JSON dumps).
#pragma once

#include <string>
#include <string_view>

namespace tova {

// Bytes that are not valid code page 932 become U+FFFD; never throws.
std::string Cp932ToUtf8(std::string_view cp932);

// Throws ETovaError when the text is not valid UTF-8 or has a character that
// code page 932 cannot represent exactly (one that would read back as another).
std::string Utf8ToCp932(std::string_view utf8);

// Like Utf8ToCp932, but unrepresentable characters become '?'.
std::string Utf8ToCp932Lossy(std::string_view utf8);

}  // namespace tova
