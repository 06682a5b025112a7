// Writing JSON by hand for the dumps of the tools and the player: strings
// are converted from code page 932 to UTF-8 and escaped.
#pragma once

#include <string>
#include <string_view>

namespace tova {

void AppendJsonString(std::string& out, std::string_view cp932);
std::string JsonString(std::string_view cp932);

// Whether text is a number as JSON writes one (so "1E20" is, "INF", "1." and
// "+1" are not).
bool IsJsonNumber(std::string_view text);

}  // namespace tova
