// "Did you mean Calc?": the known name nearest to a misspelt one, by edit
// distance with letter case ignored, for commands, fields, properties,
// functions and variables alike.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tova::sdk {

// The candidate nearest to word, when it is near enough to be the one meant:
// only letter case for names of one or two letters, one edit for short
// names, about one in three letters for longer ones. The first of equally near candidates wins.
std::optional<std::string> NearName(std::string_view word, const std::vector<std::string>& candidates);

// "; did you mean NAME?" for the nearest candidate, or nothing.
std::string DidYouMean(std::string_view word, const std::vector<std::string>& candidates);

}  // namespace tova::sdk
