// What the headless options write about the screen: the composed picture as
// an RGB PNG (--screenshot, --screenshot-at) and the output files themselves
// ("-" being standard output, as for every dump of the player).
#pragma once

#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "graphics/surface.h"

namespace tova {

// The picture as an RGB PNG of its size (the colour's top byte is dropped).
std::vector<uint8_t> ScreenPng(const TSurface32& screen);

// Writes bytes to a host path, or to standardOut for "-"; throws ETovaError
// naming what (such as "screenshot") and the path when it cannot.
void WriteOutputFile(const std::string& hostPath, std::span<const uint8_t> bytes, std::ostream& standardOut,
                     const std::string& what);

}  // namespace tova
