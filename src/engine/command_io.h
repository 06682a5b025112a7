// The page string as the commands' running states store it: an int32 length,
// 0 or less for empty, then the bytes.
#pragma once

#include <string>

#include "core/stream.h"

namespace tova {

std::string ReadPageString(TStream& stream);

}  // namespace tova
