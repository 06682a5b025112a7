// The expression fields of every command by the names the script language
// gives them ("Condition", "Time", ...), so that the compiler can fill them
// and the decompiler print them from one table.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/command.h"
#include "engine/command_component.h"
#include "engine/command_flow.h"

namespace tova::sdk {

struct TFieldSlot {
    std::string_view Name;
    TTovaParser* Parser = nullptr;  // a single expression
    TParserList* List = nullptr;    // a list: each field line adds one item
    int32_t MinVersion = 0;         // pages of older versions do not store it
};

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
