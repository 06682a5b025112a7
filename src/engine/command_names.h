// The commands' script names (the text form of a page) and the display names
// of the authoring tool, both by type code.
#pragma once

#include <optional>
#include <string_view>

#include "engine/command.h"

namespace tova {

// The script name of a code, such as "If" or "SaveCabinet" (empty for a code
// outside the table).
std::string_view CommandScriptName(TCommandCode code);
// The code of a script name (exact, case-sensitive), or none.
std::optional<TCommandCode> CommandCodeOfScriptName(std::string_view name);
// The authoring tool's display name in UTF-8, such as "ラベル".
std::string_view CommandDisplayName(TCommandCode code);

}  // namespace tova
