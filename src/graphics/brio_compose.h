// Composing a layered image's frame from its layers as it is loaded.
#pragma once

#include <cstdint>

#include "graphics/brio_image.h"

namespace tova {

// The frame's picture is made at its size and depth, filled with the
// background, and the visible layers are drawn in file order: the first
// visible layer's alpha plane (with alpha-on) becomes the frame's mask; a
// later layer with alpha-on is alpha-blended; a layer without transparent
// colour (or the first visible one when keepFirst is set) at full opacity
// is copied; any other is drawn at its opacity skipping its transparent
// colour. Palette frames have no blending: indices are copied where a
// layer's pixel is not transparent (alpha at least half). What the frame's
// picture and mask take comes from the budget.
void ComposeBrioFrame(TBrioFrame& frame, int32_t width, int32_t height, uint32_t backgroundColor,
                      bool keepFirst, TImageBudget& budget);

// The blend every loader uses: (m * new + (255 - m) * old) / 256 per
// channel, with 0 giving old and 255 giving new exactly.
inline TPixel32 BlendPixel(TPixel32 oldPixel, TPixel32 newPixel, uint32_t m) {
    if (m >= 255) return newPixel;
    if (m == 0) return oldPixel;
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t o = (oldPixel >> shift) & 0xFF;
        const uint32_t n = (newPixel >> shift) & 0xFF;
        out |= ((m * n + (255 - m) * o) >> 8) << shift;
    }
    return out;
}

}  // namespace tova
