// The names of the system variables, by index. They are the first items of
// every variable collection.
#pragma once

#include <string_view>

namespace tova {

constexpr int kSystemVariableCount = 50;

// The name of system variable sysIndex (0..kSystemVariableCount-1).
std::string_view SystemVariableName(int sysIndex);

}  // namespace tova
