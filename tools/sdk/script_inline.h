// What each command takes on its own line after its name (the page, target,
// names and main expressions), read into a source command.
#pragma once

#include <cstdint>

#include "sdk/script_source.h"
#include "sdk/script_text.h"

namespace tova::sdk {

void ReadInlineArguments(TLineCursor& cursor, TSourceCommand& command);
// A value type: ref, int, float, bool, str or a number 0..255.
uint8_t ReadType(TLineCursor& cursor);

// Condition, Time and so on as the inline forms store them.
inline constexpr std::string_view kConditionField = "Condition";

}  // namespace tova::sdk
