// The pixel encodings of Windows bitmaps besides plain rows: run-length
// encoded palette pixels (RLE8 and RLE4) and pixels of 16 or 32 bits whose
// channels lie where bit masks say. Used by the bitmap reader only.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "graphics/surface.h"

namespace tova {

// Throws ETovaError("damaged bitmap: " + what).
[[noreturn]] void BmpDamaged(const std::string& what);

// Decodes run-length encoded indices (8 bits per pixel for RLE8, 4 for
// RLE4) into indices, whose rows the data gives from the bottom up. Pixels
// the data skips (with a delta, an end of line or an early end of bitmap)
// stay 0, and pixels beyond the right or top edge are dropped. Data that
// ends before the bitmap does is cut short.
void DecodeBmpRle(std::span<const uint8_t> data, int32_t bpp, TSurface8& indices);

// Where each channel lies in a pixel (a mask of 0: the channel is absent).
struct TBmpMasks {
    uint32_t Red = 0;
    uint32_t Green = 0;
    uint32_t Blue = 0;
    uint32_t Alpha = 0;
    bool operator==(const TBmpMasks&) const = default;
};

// Whether every mask is one run of bits inside a pixel of bpp bits.
bool BmpMasksFit(const TBmpMasks& masks, int32_t bpp);

// Decodes rows of 16- or 32-bit pixels (each row padded to 4 bytes, the
// first row the bottom one unless topDown) into colour (0x00RRGGBB) and,
// when alpha is given, its alpha; each channel is widened to 8 bits by
// repeating its top bits (5 bits abcde give abcdeabc).
void DecodeBmpMasked(std::span<const uint8_t> rows, int32_t bpp, const TBmpMasks& masks, bool topDown,
                     TSurface32& colour, TSurface8* alpha);

}  // namespace tova
