// Windows bitmaps (".bmp" with a file header, ".dib" with or without one):
// every kind Windows reads. 1, 4, 8, 16, 24 and 32 bits per pixel, bottom-up
// or top-down; run-length encoded palette pixels (RLE8, RLE4); 16- and
// 32-bit pixels with colour masks; OS/2, info and version 4 and 5 headers.
// Our own reader, so that every length is checked; the writer serves the
// SDK and tests.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "graphics/brio_image.h"
#include "graphics/image_codecs.h"

namespace tova {

// Reads a bitmap into a frame: palette images keep their indices and
// palette (pixels a run-length encoded one leaves out are index 0); others
// become 24-bit, each channel widened to 8 bits by repeating its top bits.
// A 32-bit image's fourth bytes (or the bits of the alpha mask a header
// gives) become the frame's mask, unless all of them are 0, which marks a
// plain image. Throws ETovaError on damaged data.
void ReadBmp(std::span<const uint8_t> data, TBrioFrame& frame, const TDecodeLimits& limits = {});

// Writes the frame's picture as a bottom-up bitmap with a file header: at
// its palette depth, or 24 bits, or 32 bits with the mask as fourth byte.
std::vector<uint8_t> WriteBmp(const TBrioFrame& frame, bool withMask);

}  // namespace tova
