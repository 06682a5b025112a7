// The box picture: fill and border at full and partial alpha against a
// picture computed here, borders wider than the box, and hostile geometry.
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

TEST(BoxPaint, FillAndBorderAtAlphaMatchTheComputedPicture) {
    const uint32_t background = 0x00336699;
    // Script colours are 0x00BBGGRR; the surface holds 0x00RRGGBB.
    const int32_t fill = 0x0000FF, border = 0xFF0000;
    for (int32_t alpha : {255, 100})
        for (int32_t width : {0, 2, 7}) {
            TSurface32 screen(20, 12);
            for (int32_t y = 0; y < 12; ++y)
                std::fill_n(screen.Row(y), 20, background);
            const TRect bounds = TRect::FromSize(3, 2, 12, 9);
            const TRect clip{0, 0, 14, 12};  // cuts the box's right edge
            PaintBox(screen.View(), clip, bounds, {fill, width, border, alpha});
            for (int32_t y = 0; y < 12; ++y)
                for (int32_t x = 0; x < 20; ++x) {
                    uint32_t want = background;
                    if (bounds.Contains(x, y) && clip.Contains(x, y)) {
                        const bool onBorder =
                            x < 3 + width || x >= 15 - width || y < 2 + width || y >= 11 - width;
                        want = Mix(background, onBorder ? 0x000000FFu : 0x00FF0000u, alpha);
                    }
                    ASSERT_EQ(screen.Row(y)[x], want) << alpha << "/" << width << " at " << x << "," << y;
                }
        }
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
