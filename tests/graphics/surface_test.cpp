// Surfaces: aligned, zero-filled rows; sizes out of range refused; the script
// colour conversion.
#include "graphics/surface.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>

namespace tova {
namespace {

TEST(Surface, RowsAreAlignedZeroedAndCopiesAreDeep) {
    TSurface32 surface(17, 3);
    EXPECT_EQ(surface.Stride(), 32);
    for (int32_t y = 0; y < 3; ++y) {
        EXPECT_EQ(reinterpret_cast<uintptr_t>(surface.Row(y)) % 64, 0u);
        for (int32_t x = 0; x < 17; ++x)
            EXPECT_EQ(surface.Row(y)[x], 0u);
    }
    surface.Row(2)[16] = 0x123456;
    TSurface32 copy = surface;
    surface.Row(2)[16] = 0;
    EXPECT_EQ(copy.Row(2)[16], 0x123456u);
    TSurface8 empty(0, 5);
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_THROW(TSurface8(-1, 1), std::length_error);
    EXPECT_THROW(TSurface32(1, TSurface32::MaxSide + 1), std::length_error);
}

TEST(Surface, ScriptColoursSwapRedAndBlue) {
    EXPECT_EQ(PixelFromColorRef(0x00332211u), 0x00112233u);
    EXPECT_EQ(ColorRefFromPixel(PixelFromColorRef(0x00ABCDEFu)), 0x00ABCDEFu);
    EXPECT_EQ(PixelFromColorRef(0xFF332211u), 0x00112233u);
}

TEST(Surface, RectanglesIntersectAndClipViews) {
    TRect a{0, 0, 10, 10};
    EXPECT_EQ(a.Intersect({5, -5, 20, 5}), (TRect{5, 0, 10, 5}));
    EXPECT_TRUE(a.Intersect({20, 20, 30, 30}).IsEmpty());
    EXPECT_EQ(a.Union({}), a);
    TSurface8 surface(8, 8);
    TView8 view = surface.View().Sub({-3, 6, 4, 100});
    EXPECT_EQ(view.Width, 4);
    EXPECT_EQ(view.Height, 2);
    EXPECT_EQ(view.Pixels, surface.Row(6));
}

}  // namespace
}  // namespace tova
