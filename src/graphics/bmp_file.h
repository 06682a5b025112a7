// Windows bitmaps (".bmp" with a file header, ".dib" with or without one):
// 1, 4, 8, 24 and 32 bits per pixel, bottom-up or top-down. Our own reader,
// so that every length is checked; the writer serves the SDK and tests.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "graphics/brio_image.h"
#include "graphics/image_codecs.h"

namespace tova {

// Reads a bitmap into a frame: palette images keep their indices and
// palette; a 32-bit image's fourth bytes become the frame's mask (unless all
// of them are 0, which marks a plain 32-bit image) and its depth becomes 24.
// Throws ETovaError on damaged data.
void ReadBmp(std::span<const uint8_t> data, TBrioFrame& frame, const TDecodeLimits& limits = {});

// Writes the frame's picture as a bottom-up bitmap with a file header: at
// its palette depth, or 24 bits, or 32 bits with the mask as fourth byte.
std::vector<uint8_t> WriteBmp(const TBrioFrame& frame, bool withMask);

}  // namespace tova
