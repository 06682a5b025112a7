// The named constants of the script language: property ids (PR_LEFT),
// component types (LT_BOX), transitions (WP_FADE), virtual keys (VK_LEFT),
// alignments (HA_CENTER), orientations (OT_VERTICAL) and particle patterns
// (PM_SNOW). The expression compiler turns each into its number, so a page
// stores exactly what the number would give; a variable of the same name
// wins over the constant.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

namespace tova {

// RGB(red, green, blue): the compiler writes the colour it stands for, so
// no function of this name is ever stored.
inline constexpr std::string_view kColourFunctionName = "RGB";

// The value of a constant spelled exactly (upper case), or none.
std::optional<int32_t> ScriptConstant(std::string_view name);

// The transition's identifier ("WP_FADE" for 1), empty outside 0 .. 38.
std::string_view TransitionName(int id);
inline constexpr int kTransitionCount = 39;

// Calls visit with every constant's name and value, family by family
// (PR_, LT_, WP_, HA_, OT_, PM_, VK_), each in the order of its values.
void ForEachScriptConstant(const std::function<void(std::string_view name, int32_t value)>& visit);

}  // namespace tova
