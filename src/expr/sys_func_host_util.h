// Helpers shared by the built-in functions that reach the layers above and
// the variables: argument access that tolerates missing operands, and the
// ways a function fills a variable argument.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "expr/sys_call.h"

namespace tova {

// The host of the call, or a default one that answers "none" to everything.
TSysHost& HostOf(const TSysCall& call);

// Argument n read as a type; the default value when the call has no such argument.
std::string TextArg(const TSysCall& call, int n);
int32_t IntArg(const TSysCall& call, int n);
bool BoolArg(const TSysCall& call, int n, bool absent = false);

// Makes var a one-dimensional array of the items (converted to its type), or
// the scalar empty text when there are none.
void AssignTextList(TCustomParam& var, const std::vector<std::string>& items);
void AssignIntList(TCustomParam& var, const std::vector<int32_t>& items);

// The lines of a text: CR, LF or CR LF end a line; a final line break adds
// no line.
std::vector<std::string> SplitLines(std::string_view text);

// The groups of RegisterHostFunctions.
void RegisterHostComponentFunctions(TSysFunctionImpl* table);
void RegisterHostScreenFunctions(TSysFunctionImpl* table);
void RegisterHostFileFunctions(TSysFunctionImpl* table);
void RegisterHostVariableFunctions(TSysFunctionImpl* table);
void RegisterHostCalcFunction(TSysFunctionImpl* table);

}  // namespace tova
