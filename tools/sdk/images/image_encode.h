// tova img encode: one frame per input picture, or frames of several layers
// described by a JSON file (--desc), written in any layout from 100 to 106.
#pragma once

#include "sdk/commands.h"

namespace tova::sdk {

int RunEncode(const TArgs& args);

}  // namespace tova::sdk
