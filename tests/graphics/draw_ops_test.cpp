// The drawing operations: random geometry (negative, huge, partly outside)
// against a per-pixel model and against guard borders around every surface;
// the blend arithmetic at its stated points; flips, tiles, stretch, rotation,
// shapes, overlapping source and target.
#include "graphics/draw_ops.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <random>

namespace tova {
namespace {

constexpr TPixel32 Guard32 = 0xDEADBEEF;
constexpr uint8_t Guard8 = 0xA5;

// A surface with a guard border of 16 pixels around the view under test.
template <typename Pixel>
struct TGuarded {
    TSurface<Pixel> Whole;
    int32_t Width, Height;
    Pixel GuardValue;
    TGuarded(int32_t width, int32_t height, Pixel guard)
        : Whole(width + 32, height + 32), Width(width), Height(height), GuardValue(guard) {
        for (int32_t y = 0; y < Whole.Height(); ++y)
            for (int32_t x = 0; x < Whole.Width(); ++x)
                Whole.Row(y)[x] = guard;
    }
    TSurfaceView<Pixel> View() { return {Whole.Row(16) + 16, Width, Height, Whole.Stride()}; }
    bool GuardIntact() const {
        for (int32_t y = 0; y < Whole.Height(); ++y)
            for (int32_t x = 0; x < Whole.Width(); ++x) {
                bool inside = x >= 16 && x < 16 + Width && y >= 16 && y < 16 + Height;
                if (!inside && Whole.Row(y)[x] != GuardValue) return false;
            }
        return true;
    }
};

uint32_t Ch(TPixel32 p, int shift) {
    return (p >> shift) & 0xFF;
}

TPixel32 PerChannel(TPixel32 a, TPixel32 b, uint32_t (*fn)(uint32_t, uint32_t, uint32_t), uint32_t k) {
    TPixel32 r = 0;
    for (int s = 0; s < 32; s += 8)
        r |= fn(Ch(a, s), Ch(b, s), k) << s;
    return r;
}

uint32_t MixModel(uint32_t o, uint32_t n, uint32_t k) {
    return k == 0 ? o : k == 255 ? n : (k * n + (255 - k) * o) / 256;
}
uint32_t AddModel(uint32_t a, uint32_t b, uint32_t) {
    return std::min(255u, a + b);
}

// What Draw must leave at one target pixel, computed from first principles.
TPixel32 DrawModelPixel(TPixel32 old, TPixel32 src, std::optional<uint8_t> mask, const TDrawOptions& o) {
    uint32_t m = mask ? *mask : 255;
    if (!mask && o.TransparentColor) m = src == *o.TransparentColor ? 0 : 255;
    if (o.Level > 256) {
        uint32_t add = static_cast<uint32_t>(std::min(o.Level - 256, 255));
        src = PerChannel(src, add * 0x010101u, AddModel, 0);
        return PerChannel(old, src, MixModel, m);
    }
    uint32_t level = static_cast<uint32_t>(std::min(o.Level, 255));
    uint32_t k = level == 255 ? m : (mask || o.TransparentColor ? (m * level + 255) / 256 : level);
    return PerChannel(old, src, MixModel, k);
}

TEST(DrawOps, RandomGeometryMatchesThePixelModelAndStaysInside) {
    std::mt19937 random(7);
    auto coord = [&]() -> int32_t {
        switch (random() % 16) {
            case 0:
                return INT32_MIN + static_cast<int32_t>(random() % 10);
            case 1:
                return INT32_MAX - static_cast<int32_t>(random() % 10);
            default:
                return static_cast<int32_t>(random() % 60) - 20;
        }
    };
    int changed = 0;  // rounds that drew at least one pixel
    for (int round = 0; round < 3000; ++round) {
        TGuarded<TPixel32> target(1 + random() % 40, 1 + random() % 30, Guard32);
        TGuarded<TPixel32> source(1 + random() % 30, 1 + random() % 20, Guard32);
        TGuarded<uint8_t> mask(5 + random() % 30, 5 + random() % 20, Guard8);
        for (int32_t y = 0; y < target.Height; ++y)
            for (int32_t x = 0; x < target.Width; ++x)
                target.View().Row(y)[x] = random() & 0xFFFFFF;
        for (int32_t y = 0; y < source.Height; ++y)
            for (int32_t x = 0; x < source.Width; ++x)
                source.View().Row(y)[x] = random() % 3 ? random() & 0xFFFFFF : 0x10;
        for (int32_t y = 0; y < mask.Height; ++y)
            for (int32_t x = 0; x < mask.Width; ++x)
                mask.View().Row(y)[x] = static_cast<uint8_t>(random() % 3 ? random() : 255);
        TRect clip{coord(), coord(), coord(), coord()};
        TRect sourceRect{coord(), coord(), coord(), coord()};
        if (random() % 4 != 0)
            sourceRect = TRect::FromSize(random() % 10 - 3, random() % 10 - 3, random() % 30, random() % 30);
        if (random() % 2 == 0)
            clip = TRect::FromSize(static_cast<int32_t>(random() % 60) - 20,
                                   static_cast<int32_t>(random() % 60) - 20, random() % 50, random() % 50);
        if (random() % 4 != 0) clip = {-5, -5, 100, 100};
        int32_t x = random() % 4 ? static_cast<int32_t>(random() % 30) - 10 : coord();
        int32_t y = random() % 4 ? static_cast<int32_t>(random() % 30) - 10 : coord();
        TConstView8 maskView = mask.View();
        TDrawOptions o;
        o.Level = static_cast<int32_t>(random() % 520);
        o.Flip = static_cast<TFlip>(random() % 4);
        if (random() % 3 == 0)
            o.Mask = &maskView;
        else if (random() % 2 == 0)
            o.TransparentColor = 0x10;
        TSurface32 before(target.Width, target.Height);
        Copy(before.View(), before.Bounds(), 0, 0, target.View(), target.View().Bounds());
        Draw(target.View(), clip, x, y, source.View(), sourceRect, o);
        ASSERT_TRUE(target.GuardIntact()) << "round " << round;
        ASSERT_TRUE(source.GuardIntact() && mask.GuardIntact());
        bool drew = false;
        int64_t w = int64_t{sourceRect.Right} - sourceRect.Left,
                h = int64_t{sourceRect.Bottom} - sourceRect.Top;
        for (int32_t ty = 0; ty < target.Height; ++ty)
            for (int32_t tx = 0; tx < target.Width; ++tx) {
                TPixel32 old = before.Row(ty)[tx], want = old;
                int64_t i = int64_t{tx} - x, j = int64_t{ty} - y;
                bool inClip = clip.Contains(tx, ty);
                if (inClip && i >= 0 && i < w && j >= 0 && j < h && o.Level > 0) {
                    int64_t sx =
                        HasFlip(o.Flip, TFlip::Horizontal) ? sourceRect.Right - 1 - i : sourceRect.Left + i;
                    int64_t sy =
                        HasFlip(o.Flip, TFlip::Vertical) ? sourceRect.Bottom - 1 - j : sourceRect.Top + j;
                    bool readable = sx >= 0 && sy >= 0 && sx < source.Width && sy < source.Height &&
                                    (!o.Mask || (sx < mask.Width && sy < mask.Height));
                    if (readable) {
                        std::optional<uint8_t> m;
                        if (o.Mask) m = maskView.Row(static_cast<int32_t>(sy))[sx];
                        want = DrawModelPixel(old, source.View().Row(static_cast<int32_t>(sy))[sx], m, o);
                    }
                }
                ASSERT_EQ(target.View().Row(ty)[tx], want) << "round " << round << " at " << tx << "," << ty;
                drew = drew || want != old;
            }
        changed += drew;
    }
    EXPECT_GT(changed, 300);
}

TEST(DrawOps, EveryOperationStaysInsideItsSurfaces) {
    std::mt19937 random(11);
    auto coord = [&]() -> int32_t {
        switch (random() % 5) {
            case 0:
                return INT32_MIN + static_cast<int32_t>(random() % 4);
            case 1:
                return INT32_MAX - static_cast<int32_t>(random() % 4);
            default:
                return static_cast<int32_t>(random() % 80) - 30;
        }
    };
    auto rect = [&]() { return TRect{coord(), coord(), coord(), coord()}; };
    for (int round = 0; round < 800; ++round) {
        TGuarded<TPixel32> target(1 + random() % 40, 1 + random() % 30, Guard32);
        TGuarded<uint8_t> target8(target.Width, target.Height, Guard8);
        TGuarded<TPixel32> source(1 + random() % 20, 1 + random() % 20, Guard32);
        TGuarded<uint8_t> mask(1 + random() % 20, 1 + random() % 20, Guard8);
        TConstView8 maskView = mask.View();
        TDrawOptions o;
        o.Level = static_cast<int32_t>(random() % 400);
        o.Flip = static_cast<TFlip>(random() % 4);
        if (random() % 2) o.Mask = &maskView;
        TRect clip = random() % 2 ? rect() : TRect{-100, -100, 100, 100};
        int32_t x = coord(), y = coord();
        Fill(target.View(), clip, rect(), 0x123456);
        Fill(target8.View(), clip, rect(), 7);
        Copy(target8.View(), clip, x, y, mask.View(), rect(), o.Flip);
        AddBlend(target.View(), clip, x, y, source.View(), rect(), o.Level);
        FillThroughMask(target.View(), clip, x, y, mask.View(), rect(), 0xFF00FF, o.Level);
        CompositeCoverage(target.View(), target8.View(), clip, x, y, mask.View(), rect(), 0x00FF00);
        Lighten(target.View(), clip, rect(), 0x101010);
        Darken(target.View(), clip, rect(), 0x101010);
        CopyLightened(target.View(), clip, x, y, source.View(), rect(), 0x202020);
        CopyDarkened(target.View(), clip, x, y, source.View(), rect(), 0x202020);
        Mix(target.View(), clip, source.View(), target.View(), o.Level);
        MixThroughMask(target.View(), clip, target.View(), source.View(), mask.View(),
                       random() % 2 ? TMaskMode::Blend : TMaskMode::Select);
        Stretch(target.View(), clip, rect(), source.View(), rect(), o);
        Stretch(target8.View(), clip, rect(), mask.View(), rect());
        TRect small = TRect::FromSize(coord() / 4, coord() / 4, static_cast<int32_t>(random() % 100),
                                      static_cast<int32_t>(random() % 100));
        DrawTiled(target.View(), clip, small, source.View(), coord(), coord(), o);
        DrawTiled(target8.View(), clip, small, mask.View(), coord(), coord());
        DrawRotated(target.View(), clip, coord() / 2, coord() / 2, source.View(),
                    {static_cast<double>(random() % 628) / 100.0, static_cast<int32_t>(random() % 600)}, o);
        FillEllipse(target8.View(), clip, rect(), 200);
        FillPie(target8.View(), clip, coord(), coord(), random() % 60, random() % 7,
                static_cast<double>(random() % 13) - 6, 100);
        ASSERT_TRUE(target.GuardIntact() && target8.GuardIntact()) << "round " << round;
        ASSERT_TRUE(source.GuardIntact() && mask.GuardIntact()) << "round " << round;
    }
}

TEST(DrawOps, BlendArithmeticAtItsStatedPoints) {
    TSurface32 target(1, 1), source(1, 1);
    auto drawAt = [&](TPixel32 old, TPixel32 src, int32_t level, std::optional<uint8_t> mask = {}) {
        target.Row(0)[0] = old;
        source.Row(0)[0] = src;
        TSurface8 m(1, 1);
        TConstView8 mv = m.View();
        TDrawOptions o;
        o.Level = level;
        if (mask) {
            m.Row(0)[0] = *mask;
            o.Mask = &mv;
        }
        Draw(target.View(), target.Bounds(), 0, 0, source.View(), source.Bounds(), o);
        return target.Row(0)[0];
    };
    EXPECT_EQ(drawAt(0x646464, 0xC8C8C8, 0), 0x646464u);
    EXPECT_EQ(drawAt(0x646464, 0xC8C8C8, 255), 0xC8C8C8u);
    EXPECT_EQ(drawAt(0x646464, 0xC8C8C8, 256), 0xC8C8C8u);
    EXPECT_EQ(drawAt(0x646464, 0xC8C8C8, 256 + 40), 0xF0F0F0u);
    EXPECT_EQ(drawAt(0x646464, 0xC8C8C8, 256 + 100), 0xFFFFFFu);
    // (128 * 200 + 127 * 100) / 256 = 149
    EXPECT_EQ(drawAt(0x646464, 0xC8C8C8, 128), 0x959595u);
    EXPECT_EQ(drawAt(0x646464, 0xC8C8C8, 255, 128), 0x959595u);
    EXPECT_EQ(drawAt(0x646464, 0xC8FF01, 255, 255), 0xC8FF01u);
    EXPECT_EQ(drawAt(0x64FF01, 0xC8C8C8, 255, 0), 0x64FF01u);
    // Mask 255 at level 128 weighs 128; mask 0 at any level keeps the target.
    EXPECT_EQ(drawAt(0x646464, 0xC8C8C8, 128, 255), 0x959595u);
    EXPECT_EQ(drawAt(0x646464, 0xC8C8C8, 300, 0), 0x646464u);

    // Coverage: the first coverage of 128 sets the colour, the second mixes
    // it with weight 128 * 255 / 191 = 170 where the stored coverage becomes
    // 128 + 128 * 127 / 255 = 191.
    TSurface32 colour(1, 1);
    TSurface8 stored(1, 1), coverage(1, 1);
    coverage.Row(0)[0] = 128;
    CompositeCoverage(colour.View(), stored.View(), colour.Bounds(), 0, 0, coverage.View(), coverage.Bounds(),
                      0xC8);
    EXPECT_EQ(colour.Row(0)[0], 0xC8u);
    EXPECT_EQ(stored.Row(0)[0], 128);
    CompositeCoverage(colour.View(), stored.View(), colour.Bounds(), 0, 0, coverage.View(), coverage.Bounds(),
                      0x64);
    EXPECT_EQ(stored.Row(0)[0], 191);
    EXPECT_EQ(colour.Row(0)[0], (170u * 0x64 + 85u * 0xC8) / 256);
}

TEST(DrawOps, TilesStartAtTheOffsetAndFlipFromTheOppositeEdge) {
    TSurface32 frame(3, 2);
    for (int32_t y = 0; y < 2; ++y)
        for (int32_t x = 0; x < 3; ++x)
            frame.Row(y)[x] = static_cast<TPixel32>(10 * y + x);
    TSurface32 target(9, 6);
    DrawTiled(target.View(), target.Bounds(), {1, 1, 8, 6}, frame.View(), 1, 4);
    EXPECT_EQ(target.Row(0)[0], 0u);  // outside the rectangle
    for (int32_t y = 1; y < 6; ++y)
        for (int32_t x = 1; x < 8; ++x)
            EXPECT_EQ(target.Row(y)[x], static_cast<TPixel32>(10 * ((y - 1 + 0) % 2) + (x - 1 + 1) % 3))
                << x << "," << y;
    TDrawOptions flipped;
    flipped.Flip = TFlip::Horizontal;
    TSurface32 mirrored(9, 6);
    DrawTiled(mirrored.View(), mirrored.Bounds(), {1, 1, 8, 6}, frame.View(), 1, 4, flipped);
    for (int32_t y = 1; y < 6; ++y)
        for (int32_t x = 1; x < 8; ++x)
            EXPECT_EQ(mirrored.Row(y)[x], target.Row(y)[8 - x]) << x << "," << y;
}

TEST(DrawOps, WideTilingEqualsDrawingEveryCopy) {
    std::mt19937 random(5);
    for (int round = 0; round < 60; ++round) {
        int32_t w = 1 + static_cast<int32_t>(random() % 7), h = 1 + static_cast<int32_t>(random() % 5);
        TSurface32 frame(w, h);
        TSurface8 mask(w - static_cast<int32_t>(random() % w), h);
        for (int32_t y = 0; y < h; ++y) {
            for (int32_t x = 0; x < w; ++x)
                frame.Row(y)[x] = random() % 4 ? random() & 0xFFFFFF : 0x10;
            for (int32_t x = 0; x < mask.Width(); ++x)
                mask.Row(y)[x] = static_cast<uint8_t>(random());
        }
        TConstView8 maskView = mask.View();
        TDrawOptions o;
        o.Level = static_cast<int32_t>(random() % 400);
        o.Flip = static_cast<TFlip>(random() % 4);
        if (random() % 2)
            o.Mask = &maskView;
        else
            o.TransparentColor = 0x10;
        TRect rect = TRect::FromSize(
            static_cast<int32_t>(random() % 10) - 5, static_cast<int32_t>(random() % 10) - 5,
            40 + static_cast<int32_t>(random() % 30), 10 + static_cast<int32_t>(random() % 20));
        TRect clip =
            TRect::FromSize(static_cast<int32_t>(random() % 8), static_cast<int32_t>(random() % 8), 60, 30);
        int32_t u = static_cast<int32_t>(random() % 40) - 20, v = static_cast<int32_t>(random() % 40) - 20;
        TSurface32 tiled(64, 32), expected(64, 32);
        for (int32_t y = 0; y < 32; ++y)
            for (int32_t x = 0; x < 64; ++x)
                tiled.Row(y)[x] = expected.Row(y)[x] = random() & 0xFFFFFF;
        DrawTiled(tiled.View(), clip, rect, frame.View(), u, v, o);
        // Every copy drawn on its own: the first starts at (u mod w, v mod h),
        // flipped copies are laid from the far edge.
        TRect window = rect.Intersect(clip);
        int32_t pu = ((u % w) + w) % w, pv = ((v % h) + h) % h;
        int32_t x0 = HasFlip(o.Flip, TFlip::Horizontal) ? rect.Right + pu - w : rect.Left - pu;
        int32_t y0 = HasFlip(o.Flip, TFlip::Vertical) ? rect.Bottom + pv - h : rect.Top - pv;
        while (x0 > rect.Left)
            x0 -= w;
        while (y0 > rect.Top)
            y0 -= h;
        for (int32_t y = y0; y < rect.Bottom; y += h)
            for (int32_t x = x0; x < rect.Right; x += w)
                Draw(expected.View(), window, x, y, frame.View(), frame.Bounds(), o);
        ASSERT_EQ(0, std::memcmp(tiled.Data(), expected.Data(), sizeof(TPixel32) * 32 * tiled.Stride()))
            << round;
    }
}

TEST(DrawOps, StretchRotateAndOverlappingCopies) {
    TSurface32 source(2, 1);
    source.Row(0)[0] = 1;
    source.Row(0)[1] = 2;
    TSurface32 target(5, 2);
    Stretch(target.View(), target.Bounds(), {0, 0, 4, 2}, source.View(), source.Bounds());
    EXPECT_EQ((std::vector<TPixel32>(target.Row(1), target.Row(1) + 5)),
              (std::vector<TPixel32>{1, 1, 2, 2, 0}));
    TDrawOptions half;
    half.Level = 128;
    half.Flip = TFlip::Horizontal;
    Stretch(target.View(), target.Bounds(), {0, 0, 4, 1}, source.View(), source.Bounds(), half);
    EXPECT_EQ(target.Row(0)[0], 1u);  // (128 * 2 + 127 * 1) / 256

    // Angle 0 and zoom 100 % is a copy centred on the point; a quarter turn
    // clockwise puts the left column on top.
    TSurface32 frame(4, 2);
    for (int32_t y = 0; y < 2; ++y)
        for (int32_t x = 0; x < 4; ++x)
            frame.Row(y)[x] = static_cast<TPixel32>(1 + 10 * y + x);
    TSurface32 straight(8, 8), copied(8, 8);
    DrawRotated(straight.View(), straight.Bounds(), 4, 4, frame.View(), {});
    Copy(copied.View(), copied.Bounds(), 2, 3, frame.View(), frame.Bounds());
    EXPECT_EQ(0, std::memcmp(straight.Data(), copied.Data(), sizeof(TPixel32) * 8 * copied.Stride()));
    TSurface32 turned(8, 8);
    DrawRotated(turned.View(), turned.Bounds(), 4, 4, frame.View(), {M_PI / 2, 256});
    EXPECT_EQ(turned.Row(2)[4], 1u);   // top-left goes to the top right
    EXPECT_EQ(turned.Row(2)[3], 11u);  // bottom-left beside it
    EXPECT_EQ(turned.Row(5)[3], 14u);

    // Scrolling a surface onto itself reads the pixels as they were.
    TSurface32 screen(6, 6), expected(6, 6), original(6, 6);
    for (int32_t y = 0; y < 6; ++y)
        for (int32_t x = 0; x < 6; ++x)
            screen.Row(y)[x] = static_cast<TPixel32>(y * 6 + x);
    original = screen;
    expected = screen;
    Copy(expected.View(), expected.Bounds(), 1, 2, original.View(), original.Bounds(), TFlip::Both);
    Copy(screen.View(), screen.Bounds(), 1, 2, screen.View(), screen.Bounds(), TFlip::Both);
    EXPECT_EQ(0, std::memcmp(screen.Data(), expected.Data(), sizeof(TPixel32) * 6 * screen.Stride()));
}

TEST(DrawOps, EllipsesAndPies) {
    TSurface8 mask(40, 40);
    FillEllipse(mask.View(), mask.Bounds(), {10, 10, 30, 30}, 255);
    int count = 0;
    for (int32_t y = 0; y < 40; ++y)
        for (int32_t x = 0; x < 40; ++x) {
            count += mask.Row(y)[x] == 255;
            EXPECT_EQ(mask.Row(y)[x], mask.Row(39 - y)[x]);
            EXPECT_EQ(mask.Row(y)[x], mask.Row(y)[39 - x]);
        }
    EXPECT_NEAR(count, M_PI * 100, 12);
    EXPECT_EQ(mask.Row(20)[10], 255);
    EXPECT_EQ(mask.Row(10)[10], 0);

    // A full turn is the disc; a quarter from twelve o'clock clockwise fills
    // the upper right quarter only.
    TSurface8 disc(40, 40), pie(40, 40);
    FillPie(disc.View(), disc.Bounds(), 20, 20, 10, 0, 2 * M_PI, 255);
    EXPECT_EQ(0, std::memcmp(disc.Data(), mask.Data(), static_cast<size_t>(40 * mask.Stride())));
    FillPie(pie.View(), pie.Bounds(), 20, 20, 10, -M_PI / 2, M_PI / 2, 255);
    int quarter = 0;
    for (int32_t y = 0; y < 40; ++y)
        for (int32_t x = 0; x < 40; ++x)
            if (pie.Row(y)[x]) {
                ++quarter;
                EXPECT_TRUE(x >= 20 && y < 20) << x << "," << y;
            }
    EXPECT_EQ(quarter, count / 4);
    // Three quarters the other way round leave exactly that quarter empty.
    TSurface8 rest(40, 40);
    FillPie(rest.View(), rest.Bounds(), 20, 20, 10, -M_PI / 2, -1.5 * M_PI, 255);
    for (int32_t y = 0; y < 40; ++y)
        for (int32_t x = 0; x < 40; ++x)
            if (x >= 20 && y < 20)
                EXPECT_EQ(rest.Row(y)[x], 0) << x << "," << y;
            else
                EXPECT_EQ(rest.Row(y)[x], disc.Row(y)[x]) << x << "," << y;
}

}  // namespace
}  // namespace tova
