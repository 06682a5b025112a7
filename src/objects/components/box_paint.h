// The picture of a box component without an image: the inside filled with
// its colour and a border of a given width in another colour, each at the
// box's alpha. A negative colour draws nothing for that part.
#pragma once

#include <cstdint>

#include "graphics/surface.h"

namespace tova {

struct TBoxLook {
    int32_t Color = -1;  // a script colour (0x00BBGGRR); negative: no fill
    int32_t BorderWidth = 0;
    int32_t BorderColor = -1;  // negative: no border
    int32_t Alpha = 255;
};

// Draws the box into bounds (screen coordinates) through clip. The border
// lies inside bounds; the fill covers the rest, so no pixel is blended twice.
void PaintBox(TView32 target, const TRect& clip, const TRect& bounds, const TBoxLook& look);

}  // namespace tova
