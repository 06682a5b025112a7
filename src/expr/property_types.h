// The value type of every component property id, as GetProp hands it back.
#pragma once

namespace tova {

inline constexpr int kPropertyCount = 163;  // ids 0 .. 162

// PT_INT, PT_FLOAT, PT_BOOL or PT_STR (event properties are strings);
// id must lie in 0 .. kPropertyCount - 1.
int PropertyValueType(int id);

}  // namespace tova
