// Type codes of script values and the kinds of variable a declaration makes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tova {

// The one-byte type code stored in streams and operator records.
constexpr int PT_NONE = 0;  // a reference to another variable
constexpr int PT_INT = 1;
constexpr int PT_FLOAT = 2;
constexpr int PT_BOOL = 3;
constexpr int PT_STR = 4;

// Stored type of a system variable: it has none, because it is never written.
constexpr int PT_SYSTEM = -1;

// Variable kinds chosen by a declaration.
constexpr int VK_GLOBAL = 0;    // plain global
constexpr int VK_AUTOFREE = 1;  // global, destroyed when the declaring call depth returns
constexpr int VK_LOCAL = 2;     // visible only at the declaring call depth
constexpr int VK_STATUS = 3;    // kept in the status record, not in game saves

// Dimension sizes of an array value; empty for a scalar.
using TDynamicIntArray = std::vector<int32_t>;

// The user-facing name of a data type (codes 1..4), empty for other codes.
std::string ParamTypeCaption(int typeCode);
// "ref", "int", "float", "bool" or "str" for the codes 0..4, else "".
const char* ParamTypeShortName(int typeCode);
// The user-facing name of a variable kind (0..3), empty for other kinds.
std::string VarKindCaption(int kind);

}  // namespace tova
