// Frames drawn into a control's rectangle: zoom with flips, alpha and
// brightness against pictures computed here, turned frames, and the hit test
// through masks and transparent colours, including degenerate rectangles.
#include "objects/components/image_paint.h"

#include <gtest/gtest.h>

#include "graphics/brio_collection.h"

namespace tova {
namespace {

// A w x h frame whose pixel (x, y) is 0x00XXYY10-ish: every pixel distinct.
TBrioItemFrame MakeFrame(int32_t w, int32_t h) {
    TBrioItemFrame f;
    f.Colour.Resize(w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x)
            f.Colour.Row(y)[x] = static_cast<TPixel32>(0x200000 * (x + 1) + 0x2000 * (y + 1) + 0x10);
    f.FullWidth = w;
    f.FullHeight = h;
    return f;
}

uint32_t Mix(uint32_t old, uint32_t now, int32_t k) {
    uint32_t r = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        uint32_t a = (old >> shift) & 0xFF, b = (now >> shift) & 0xFF;
        r |= ((static_cast<uint32_t>(k) * b + (255u - static_cast<uint32_t>(k)) * a) / 256) << shift;
    }
    return r;
}

TEST(ImagePaint, ZoomedAndMirroredFramesLandWhereThePictureSays) {
    const TBrioItemFrame frame = MakeFrame(4, 2);
    TShownFrame shown;
    ShowFrame(shown, &frame, 255);
    for (TFlip flip : {TFlip::None, TFlip::Horizontal, TFlip::Vertical, TFlip::Both}) {
        TSurface32 screen(16, 10);
        const TRect bounds = TRect::FromSize(3, 2, 8, 6);  // 200 % by 300 %
        PaintImageFrame(screen.View(), screen.Bounds(), bounds, shown, {LevelCopy, flip, 0});
        for (int32_t y = 0; y < 10; ++y)
            for (int32_t x = 0; x < 16; ++x) {
                uint32_t want = 0;
                if (bounds.Contains(x, y)) {
                    int32_t fx = (x - 3) / 2, fy = (y - 2) / 3;
                    if (HasFlip(flip, TFlip::Horizontal)) fx = 3 - fx;
                    if (HasFlip(flip, TFlip::Vertical)) fy = 1 - fy;
                    want = frame.Colour.Row(fy)[fx];
                }
                ASSERT_EQ(screen.Row(y)[x], want) << "flip " << int(flip) << " at " << x << "," << y;
            }
    }
}

TEST(ImagePaint, AlphaAndBrightnessFollowTheBlendAndSaturate) {
    TBrioItemFrame frame = MakeFrame(3, 3);
    frame.Colour.Row(1)[1] = 0x00F0F0F0;
    const uint32_t background = 0x00402010;
    for (int32_t brightness : {255, 300, 100, 0, 1000, -5}) {
        TShownFrame shown;
        ShowFrame(shown, &frame, brightness);
        TSurface32 screen(3, 3);
        for (int32_t y = 0; y < 3; ++y)
            std::fill_n(screen.Row(y), 3, background);
        PaintImageFrame(screen.View(), screen.Bounds(), screen.Bounds(), shown, {128, TFlip::None, 0});
        for (int32_t y = 0; y < 3; ++y)
            for (int32_t x = 0; x < 3; ++x) {
                uint32_t src = frame.Colour.Row(y)[x], lit = 0;
                for (int shift = 0; shift < 24; shift += 8) {
                    int32_t c =
                        static_cast<int32_t>((src >> shift) & 0xFF) + std::clamp(brightness - 255, -255, 255);
                    lit |= static_cast<uint32_t>(std::clamp(c, 0, 255)) << shift;
                }
                ASSERT_EQ(screen.Row(y)[x], Mix(background, lit, 128))
                    << brightness << " at " << x << "," << y;
            }
    }
}

TEST(ImagePaint, TransparentColourSurvivesBrightnessAndHitsFollowTheMask) {
    TBrioItemFrame frame = MakeFrame(4, 4);
    frame.TransparentColor = frame.Colour.Row(0)[0];
    for (int32_t brightness : {255, 400}) {
        TShownFrame shown;
        ShowFrame(shown, &frame, brightness);
        TSurface32 screen(4, 4);
        PaintImageFrame(screen.View(), screen.Bounds(), screen.Bounds(), shown, {});
        EXPECT_EQ(screen.Row(0)[0], 0u) << brightness;
        EXPECT_NE(screen.Row(0)[1], 0u) << brightness;
        const TRect bounds = TRect::FromSize(10, 10, 8, 8);  // 200 %
        EXPECT_FALSE(FrameHitsPoint(bounds, shown, {}, 11, 11));
        EXPECT_TRUE(FrameHitsPoint(bounds, shown, {}, 12, 11));
        // Mirrored, the transparent pixel is at the other corner.
        EXPECT_TRUE(FrameHitsPoint(bounds, shown, {LevelCopy, TFlip::Horizontal, 0}, 11, 11));
        EXPECT_FALSE(FrameHitsPoint(bounds, shown, {LevelCopy, TFlip::Horizontal, 0}, 17, 10));
        EXPECT_FALSE(FrameHitsPoint(bounds, shown, {}, 18, 12));  // outside
    }
    TBrioItemFrame masked = MakeFrame(2, 2);
    masked.HasMask = true;
    masked.Mask.Resize(2, 2);
    masked.Mask.Row(1)[1] = 200;
    TShownFrame shown;
    ShowFrame(shown, &masked, 255);
    EXPECT_FALSE(FrameHitsPoint(TRect::FromSize(0, 0, 2, 2), shown, {}, 0, 0));
    EXPECT_TRUE(FrameHitsPoint(TRect::FromSize(0, 0, 2, 2), shown, {}, 1, 1));
    // A half turn puts the opaque pixel at the top left.
    EXPECT_TRUE(FrameHitsPoint(TRect::FromSize(0, 0, 2, 2), shown, {LevelCopy, TFlip::None, 128}, 0, 0));
    EXPECT_FALSE(FrameHitsPoint(TRect::FromSize(0, 0, 2, 2), shown, {LevelCopy, TFlip::None, 128}, 1, 1));
}

TEST(ImagePaint, TurnedFramesMatchMirroringAndBadGeometryDrawsNothing) {
    const TBrioItemFrame frame = MakeFrame(4, 2);
    TShownFrame shown;
    ShowFrame(shown, &frame, 255);
    // A half turn equals mirroring both ways, plain and through the zoomed path.
    for (const TRect bounds : {TRect::FromSize(2, 3, 4, 2), TRect::FromSize(2, 3, 8, 2)}) {
        TSurface32 turned(12, 8), mirrored(12, 8);
        PaintImageFrame(turned.View(), turned.Bounds(), bounds, shown, {LevelCopy, TFlip::None, 128});
        PaintImageFrame(mirrored.View(), mirrored.Bounds(), bounds, shown, {LevelCopy, TFlip::Both, 0});
        for (int32_t y = 0; y < 8; ++y)
            for (int32_t x = 0; x < 12; ++x)
                ASSERT_EQ(turned.Row(y)[x], mirrored.Row(y)[x]) << x << "," << y;
    }
    TSurface32 screen(8, 8);
    for (const TRect bounds : {TRect::FromSize(0, 0, 0, 5), TRect::FromSize(0, 0, -4, -4),
                               TRect::FromSize(-2000000000, -2000000000, 2100000000, 2100000000)}) {
        PaintImageFrame(screen.View(), screen.Bounds(), bounds, shown, {});
        PaintImageFrame(screen.View(), screen.Bounds(), bounds, shown, {LevelCopy, TFlip::Both, 37});
        FrameHitsPoint(bounds, shown, {LevelCopy, TFlip::Both, 37}, 1, 1);
    }
    PaintImageFrame(screen.View(), screen.Bounds(), screen.Bounds(), TShownFrame{}, {});
}

}  // namespace
}  // namespace tova
