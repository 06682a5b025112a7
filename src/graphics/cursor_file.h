// Mouse cursors of a game: ".cur" files (an icon directory of one or more
// images with hot spots, each a PNG or a device-independent bitmap followed
// by its 1-bit transparency mask) and animated ".ani" files (a RIFF "ACON"
// list of such cursors with a display rate and an optional sequence). Our
// own reader; every size and offset is checked and damaged files throw
// ETovaError (the caller then shows the default arrow).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "graphics/surface.h"

namespace tova {

struct TCursorImage {
    TSurface32 Colour;  // 0x00RRGGBB
    TSurface8 Alpha;    // 0 transparent .. 255 opaque
    int32_t HotX = 0;
    int32_t HotY = 0;
};

struct TCursorAnimation {
    std::vector<TCursorImage> Frames;
    // The steps: which frame shows, and for how long in 1/60 s ("jiffies").
    // A still cursor has one step.
    std::vector<int32_t> Sequence;
    std::vector<int32_t> Jiffies;
};

// Reads a ".cur" (or ".ico") or ".ani" file, told apart by their content.
// Of a cursor with several images the largest one is taken.
TCursorAnimation ReadCursorFile(std::span<const uint8_t> data);

}  // namespace tova
