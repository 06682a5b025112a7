// The display labels of the component properties, as the project's tools
// show them next to the identifiers of expr/property_names.h.
#pragma once

#include <string_view>

namespace tova {

// The label of a property id in UTF-8, such as "名前" for PR_NAME; empty for
// an id outside 0 .. 162.
std::string_view PropertyLabel(int id);

}  // namespace tova
