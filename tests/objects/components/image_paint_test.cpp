// Frames drawn into a control's rectangle: zoom with flips, alpha and
// brightness against pictures computed here, turned frames, and the hit test
// through masks and transparent colours, including degenerate rectangles.
#include "objects/components/image_paint.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "graphics/brio_collection.h"
#include "support/bounded_child.h"

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

// The frame as a brightness shows it, made the plain way: a copy of the
// whole frame with every channel stepped, whose transparent colour has
// become a mask.
TBrioItemFrame Brightened(const TBrioItemFrame& f, int32_t brightness) {
    TBrioItemFrame copy = f;
    if (brightness == 255) return copy;
    const TRect all = copy.Colour.Bounds();
    const uint32_t step = static_cast<uint32_t>(std::min(std::abs(brightness - 255), 255)) * 0x010101u;
    if (brightness > 255)
        Lighten(copy.Colour.View(), all, all, step);
    else
        Darken(copy.Colour.View(), all, all, step);
    if (!f.HasMask && f.TransparentColor) {
        copy.HasMask = true;
        copy.Mask.Resize(all.Width(), all.Height());
        for (int32_t y = 0; y < all.Height(); ++y)
            for (int32_t x = 0; x < all.Width(); ++x)
                copy.Mask.Row(y)[x] = f.Colour.Row(y)[x] == *f.TransparentColor ? 0 : 255;
    }
    copy.TransparentColor.reset();
    return copy;
}

// A turned frame drawn the plain way: the picture it shows unturned
// (stretched to bounds and mirrored), built pixel by pixel with its mask,
// then turned about the rectangle's centre.
void PaintTurnedPlainly(TView32 target, const TRect& clip, const TRect& bounds, const TBrioItemFrame& f,
                        const TImageLook& look) {
    const int32_t w = bounds.Width(), h = bounds.Height();
    TSurface32 picture(w, h);
    TSurface8 mask(w, h);
    for (int32_t v = 0; v < h; ++v)
        for (int32_t u = 0; u < w; ++u) {
            int32_t fx = u * f.FullWidth / w, fy = v * f.FullHeight / h;
            if (HasFlip(look.Flip, TFlip::Horizontal)) fx = f.FullWidth - 1 - fx;
            if (HasFlip(look.Flip, TFlip::Vertical)) fy = f.FullHeight - 1 - fy;
            fx -= f.OffsetX;
            fy -= f.OffsetY;
            if (fx < 0 || fy < 0 || fx >= f.Colour.Width() || fy >= f.Colour.Height()) continue;
            const TPixel32 c = f.Colour.Row(fy)[fx];
            picture.Row(v)[u] = c;
            mask.Row(v)[u] = f.HasMask ? f.Mask.Row(fy)[fx] : f.TransparentColor == c ? 0 : 255;
        }
    const TConstView8 maskView = mask.View();
    TDrawOptions options;
    options.Level = look.Level;
    options.Mask = &maskView;
    DrawRotated(target, clip, bounds.Left + w / 2, bounds.Top + h / 2, picture.View(),
                {(look.Angle % kAngleSteps) * 2.0 * 3.14159265358979323846 / kAngleSteps, 256}, options);
}

// Brightness and turns are applied to the pixels that show as they are
// drawn; the pictures are those of the plain way (a brightened copy of the
// whole frame, the unturned picture built first), for trimmed, masked and
// keyed frames, every flip, zooms, alphas and clips, and again when the
// turned picture is reused or a brightness changes between paints.
TEST(ImagePaint, BrightnessAndTurnsDrawWhatTheWholeFrameCopiesDrew) {
    TBrioItemFrame trimmed = MakeFrame(5, 3);  // the content of a 9 x 6 frame at (3, 2)
    trimmed.FullWidth = 9;
    trimmed.FullHeight = 6;
    trimmed.OffsetX = 3;
    trimmed.OffsetY = 2;
    trimmed.TransparentColor = trimmed.Colour.Row(1)[2];
    TBrioItemFrame masked = MakeFrame(7, 4);
    masked.HasMask = true;
    masked.Mask.Resize(7, 4);
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 7; ++x)
            masked.Mask.Row(y)[x] = static_cast<uint8_t>((x * 40 + y * 90) % 256);
    const TRect screenRect{0, 0, 24, 20};
    for (const TBrioItemFrame* frame : {&trimmed, &masked})
        for (const TRect bounds : {TRect::FromSize(4, 3, frame->FullWidth, frame->FullHeight),
                                   TRect::FromSize(2, 1, 17, 13), TRect::FromSize(-3, 5, 11, 18)})
            for (TFlip flip : {TFlip::None, TFlip::Horizontal, TFlip::Both})
                for (int32_t angle : {0, 19, 64, 128, 301})
                    for (const auto& [level, brightness] : {std::pair{255, 255}, {140, 330}, {300, 90}}) {
                        const TImageLook look{level, flip, angle};
                        const TBrioItemFrame plain = Brightened(*frame, brightness);
                        TShownFrame plainShown, shown;
                        ShowFrame(plainShown, &plain, 255);
                        ShowFrame(shown, frame, brightness);
                        TSurface32 want(24, 20), got(24, 20);
                        Fill(want.View(), screenRect, screenRect, 0x00336699);
                        Fill(got.View(), screenRect, screenRect, 0x00336699);
                        if (angle % kAngleSteps == 0)
                            PaintImageFrame(want.View(), screenRect, bounds, plainShown, look);
                        else
                            PaintTurnedPlainly(want.View(), screenRect, bounds, plain, look);
                        // In two parts through two clips: the second reuses the turned picture.
                        PaintImageFrame(got.View(), {0, 0, 24, 9}, bounds, shown, look);
                        PaintImageFrame(got.View(), {0, 9, 24, 20}, bounds, shown, look);
                        for (int32_t y = 0; y < 20; ++y)
                            for (int32_t x = 0; x < 24; ++x)
                                ASSERT_EQ(got.Row(y)[x], want.Row(y)[x])
                                    << "bounds " << bounds.Left << "," << bounds.Top << " " << bounds.Width()
                                    << "x" << bounds.Height() << " flip " << int(flip) << " angle " << angle
                                    << " level " << level << " brightness " << brightness << " at " << x
                                    << "," << y;
                    }
    // A turned picture follows a change of brightness, and of angle, at once.
    TShownFrame shown;
    const TRect bounds = TRect::FromSize(2, 2, 14, 9);
    for (const auto& [angle, brightness] : {std::pair{40, 255}, {40, 400}, {41, 400}, {41, 255}}) {
        ShowFrame(shown, &masked, brightness);
        const TBrioItemFrame plain = Brightened(masked, brightness);
        TSurface32 want(24, 20), got(24, 20);
        PaintTurnedPlainly(want.View(), screenRect, bounds, plain, {LevelCopy, TFlip::Vertical, angle});
        PaintImageFrame(got.View(), screenRect, bounds, shown, {LevelCopy, TFlip::Vertical, angle});
        EXPECT_TRUE(std::equal(got.Data(), got.Data() + got.Stride() * 20, want.Data()))
            << angle << " " << brightness;
    }
}

// A mirrored 4096 x 4096 picture turned at every frame, and brightened at
// every frame, on a 1024 x 768 screen: only what shows is turned, and
// nothing the size of the picture is made for a frame (it used to take
// half a second and 80 MiB a frame).
TEST(ImagePaint, ABigMirroredPictureTurnedEveryFrameCostsWhatShows) {
    TBrioItemFrame frame;
    frame.Colour.Resize(4096, 4096);
    for (int32_t y = 0; y < 4096; ++y)
        for (int32_t x = 0; x < 4096; ++x)
            frame.Colour.Row(y)[x] = static_cast<TPixel32>(x * 977 + y * 131) & 0x00FFFFFFu;
    frame.FullWidth = frame.FullHeight = 4096;
    TSurface32 screen(1024, 768);
    testing::TChildLimits limits;
    // The frame is 64 MiB: a copy of it, or a picture its size, made for a frame goes past this.
    limits.MaxResidentBytes = testing::OwnResidentBytes() + (96ll << 20);
    limits.MaxTime = std::chrono::milliseconds(15000);
    const testing::TChildResult result = testing::RunBounded(
        [&] {
            TShownFrame shown;
            for (int32_t i = 0; i < 30; ++i) {
                ShowFrame(shown, &frame, 255 + i);
                PaintImageFrame(screen.View(), screen.Bounds(), TRect::FromSize(-1536, -1664, 4096, 4096),
                                shown, {LevelCopy, TFlip::Horizontal, 1 + i});
            }
            return true;
        },
        limits);
    EXPECT_TRUE(result.Passed()) << result.Describe();
}

}  // namespace
}  // namespace tova
