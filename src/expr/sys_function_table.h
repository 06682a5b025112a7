// The table of built-in functions: id (the byte stored in function call
// records), exact name, bounds of the argument count (-1: no bound) and the
// type code of the result temporary.
#pragma once

#include <string_view>

namespace tova {

struct TSysFunctionInfo {
    int Id;
    std::string_view Name;
    int MinArgs;
    int MaxArgs;
    int ResultType;  // 1 int, 2 float, 3 bool, 4 string; GetProp's depends on the property
};

inline constexpr int kSysFunctionCount = 157;

// Names are matched exactly (case-sensitive); null when unknown.
const TSysFunctionInfo* FindSysFunction(std::string_view name);
// id in 0 .. kSysFunctionCount - 1.
const TSysFunctionInfo& SysFunctionInfo(int id);

}  // namespace tova
