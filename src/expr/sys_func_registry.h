// The groups of built-in functions. Each group fills its own entries of the
// function table (indexed by function id) when the function manager is made.
#pragma once

#include "expr/sys_call.h"

namespace tova {

void RegisterHostFunctions(TSysFunctionImpl* table);
void RegisterPureFunctions(TSysFunctionImpl* table);
void RegisterDbFunctions(TSysFunctionImpl* table);

}  // namespace tova
