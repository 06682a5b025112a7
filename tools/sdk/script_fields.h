// The expression fields of every command by the names the script language
// gives them ("Condition", "Time", ...), taken from the command's own record
// description, so that the compiler fills them and the decompiler prints them
// exactly as the page reader and writer store them.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/command.h"
#include "engine/command_archive.h"
#include "engine/command_component.h"
#include "engine/command_flow.h"

namespace tova::sdk {

// A list field takes one item for each field line.
using TFieldSlot = TExpressionField;

// The expression fields of a command in record order; component properties
// are not among them (see ComponentOf).
std::vector<TFieldSlot> ExpressionFields(TCommand& command);

// The command's property slots when it is a component command, else null.
TComComponent* ComponentOf(TCommand& command);
bool IsComponentCode(TCommandCode code);

// Jump, Call, Exit, Break and Continue: without a written condition the
// compiler stores TRUE, since an empty condition is never true.
bool HasTrueByDefault(TCommandCode code);

// The field whose bare PR_ name stands for a property id.
inline constexpr std::string_view kPropertyIdField = "PropertyId";

}  // namespace tova::sdk
