// The box picture's edge cases: nothing to draw, borders wider than the box
// (each pixel blended once), and hostile geometry. Fill and border at an
// alpha are checked on a real screen with the box component.
#include "objects/components/box_paint.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tova {
namespace {

uint32_t Mix(uint32_t old, uint32_t now, int32_t k) {
    if (k >= 255) return now;
    uint32_t r = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        uint32_t a = (old >> shift) & 0xFF, b = (now >> shift) & 0xFF;
        r |= ((static_cast<uint32_t>(k) * b + (255u - static_cast<uint32_t>(k)) * a) / 256) << shift;
    }
    return r;
}

TEST(BoxPaint, NegativeColoursZeroAlphaAndHostileRectanglesDrawNothingWrong) {
    TSurface32 screen(8, 8);
    PaintBox(screen.View(), screen.Bounds(), screen.Bounds(), {-1, 3, -1, 255});
    PaintBox(screen.View(), screen.Bounds(), screen.Bounds(), {0xFFFFFF, 3, 0xFFFFFF, 0});
    PaintBox(screen.View(), screen.Bounds(), TRect::FromSize(2, 2, -5, 4), {0xFFFFFF, 3, 0xFFFFFF, 255});
    for (int32_t y = 0; y < 8; ++y)
        for (int32_t x = 0; x < 8; ++x)
            ASSERT_EQ(screen.Row(y)[x], 0u);
    // A huge box and a border of INT32_MAX: the whole screen is border, once.
    PaintBox(screen.View(), screen.Bounds(), {INT32_MIN / 2, INT32_MIN / 2, INT32_MAX / 2, INT32_MAX / 2},
             {0x000000, INT32_MAX, 0x00FF00, 128});
    for (int32_t y = 0; y < 8; ++y)
        for (int32_t x = 0; x < 8; ++x)
            ASSERT_EQ(screen.Row(y)[x], Mix(0, 0x00FF00, 128));
}

}  // namespace
}  // namespace tova
