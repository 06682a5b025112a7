// Writing JSON by hand for the dumps of the tools and the player: strings
// are converted from code page 932 to UTF-8 and escaped.
#pragma once

#include <string>
#include <string_view>

namespace tova {

void AppendJsonString(std::string& out, std::string_view cp932);
std::string JsonString(std::string_view cp932);

}  // namespace tova
