// Cursor files built here byte by byte: a bitmap cursor with its mask and
// hot spot, a PNG cursor, an animated cursor with rates and a sequence, and
// damaged files that must fail cleanly.
#include "graphics/cursor_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/error.h"
#include "graphics/cursor_bytes.h"
#include "graphics/image_codecs.h"
#include "support/bounded_child.h"

namespace tova {
namespace {

using TBytes = std::vector<uint8_t>;
using testing::AnimatedCursor;
using testing::CursorFile;
using testing::Put16;
using testing::Put32;

// A 24-bit bitmap image of w x h: colour (x, y) -> 0xRRGGBB = x * 8 << 16 | y * 8,
// transparent where (x + y) % 3 == 0.
TBytes BitmapImage(int w, int h) {
    TBytes image;
    Put32(image, 40);
    Put32(image, static_cast<uint32_t>(w));
    Put32(image, static_cast<uint32_t>(2 * h));
    Put16(image, 1);
    Put16(image, 24);
    for (int i = 0; i < 6; ++i)
        Put32(image, 0);
    const int colourStride = (w * 24 + 31) / 32 * 4;
    const int maskStride = (w + 31) / 32 * 4;
    for (int y = h - 1; y >= 0; --y) {
        TBytes row(static_cast<size_t>(colourStride), 0);
        for (int x = 0; x < w; ++x) {
            row[3 * x] = static_cast<uint8_t>(y * 8);      // blue
            row[3 * x + 2] = static_cast<uint8_t>(x * 8);  // red
        }
        image.insert(image.end(), row.begin(), row.end());
    }
    for (int y = h - 1; y >= 0; --y) {
        TBytes row(static_cast<size_t>(maskStride), 0);
        for (int x = 0; x < w; ++x)
            if ((x + y) % 3 == 0) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        image.insert(image.end(), row.begin(), row.end());
    }
    return image;
}

TEST(CursorFile, BitmapCursorKeepsColoursMaskAndHotSpot) {
    const TCursorAnimation cursor = ReadCursorFile(CursorFile(BitmapImage(20, 12), 20, 5, 7));
    ASSERT_EQ(cursor.FrameCount(), 1);
    const TCursorImage image = cursor.DecodeFrame(0);
    ASSERT_EQ(image.Colour.Width(), 20);
    ASSERT_EQ(image.Colour.Height(), 12);
    EXPECT_EQ(image.HotX, 5);
    EXPECT_EQ(image.HotY, 7);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 20; ++x) {
            EXPECT_EQ(image.Colour.Row(y)[x],
                      static_cast<uint32_t>(x * 8) << 16 | static_cast<uint32_t>(y * 8));
            EXPECT_EQ(image.Alpha.Row(y)[x], (x + y) % 3 == 0 ? 0 : 255) << x << "," << y;
        }
}

TEST(CursorFile, PngCursorAndAnimatedCursor) {
    TSurface32 colour(3, 2);
    TSurface8 alpha(3, 2);
    colour.Row(1)[2] = 0x123456;
    alpha.Row(1)[2] = 200;
    const TConstView8 alphaView = alpha.View();
    const TBytes png = EncodePng(colour.View(), &alphaView);
    const TBytes pngCursor = CursorFile(png, 3, 1, 1);
    const TCursorAnimation still = ReadCursorFile(pngCursor);
    EXPECT_EQ(still.DecodeFrame(0).Colour.Row(1)[2], 0x123456u);
    EXPECT_EQ(still.DecodeFrame(0).Alpha.Row(1)[2], 200);
    EXPECT_EQ(still.Sequence, std::vector<int32_t>{0});

    const TBytes bitmapCursor = CursorFile(BitmapImage(8, 8), 8, 0, 0);
    const TCursorAnimation animated =
        ReadCursorFile(AnimatedCursor({pngCursor, bitmapCursor}, {1, 0, 1}, {5, 6, 7}, 2));
    ASSERT_EQ(animated.FrameCount(), 2);
    EXPECT_EQ(animated.DecodeFrame(1).Colour.Width(), 8);
    EXPECT_EQ(animated.Sequence, (std::vector<int32_t>{1, 0, 1}));
    EXPECT_EQ(animated.Jiffies, (std::vector<int32_t>{5, 6, 7}));
    // Without rates every step takes the header's rate.
    EXPECT_EQ(ReadCursorFile(AnimatedCursor({bitmapCursor}, {0}, {}, 1)).Jiffies, std::vector<int32_t>{10});
}

TEST(CursorFile, DamagedFilesFailCleanly) {
    const TBytes good = CursorFile(BitmapImage(16, 16), 16, 3, 3);
    std::vector<TBytes> bad;
    for (size_t cut : {0ul, 5ul, 21ul, 30ul, 62ul, good.size() - 70})
        bad.emplace_back(good.begin(), good.begin() + cut);
    TBytes huge = good;
    huge[22 + 8] = 0xFF;  // height 0x..FF doubled
    bad.push_back(huge);
    TBytes lying = good;
    lying[4] = 0xFF;  // 255 directory entries
    bad.push_back(lying);
    bad.push_back(AnimatedCursor({good}, {0, 3}, {}, 1));  // a step names frame 3
    bad.push_back(AnimatedCursor({good}, {0}, {}, 2));     // two frames said, one given
    bad.push_back(AnimatedCursor({}, {0}, {}, 0));         // none at all
    TBytes riff = AnimatedCursor({good}, {0}, {}, 1);
    riff[4] = 0xFF;  // a RIFF size beyond the file
    bad.push_back(riff);
    TBytes tiny = riff;
    tiny[4] = 2;  // a RIFF size too small for its own form type
    tiny[5] = tiny[6] = tiny[7] = 0;
    bad.push_back(tiny);
    for (size_t i = 0; i < bad.size(); ++i)
        EXPECT_THROW(ReadCursorFile(bad[i]), ETovaError) << i;
}

// A PNG of w x h pixels of one colour: a few hundred bytes, however large.
TBytes FlatPng(int w, int h) {
    TSurface32 colour(w, h);
    for (int y = 0; y < h; ++y)
        std::fill_n(colour.Row(y), w, 0x204060u);
    return EncodePng(colour.View(), nullptr);
}

TEST(CursorFile, AnimationsHoldAtMost256FramesAndDecodeEachWhenItShows) {
    const TBytes frame = CursorFile(FlatPng(256, 256), 0, 1, 1);
    std::vector<uint32_t> sequence(4096);
    for (uint32_t i = 0; i < sequence.size(); ++i)
        sequence[i] = i;
    // 4096 frames of 256 x 256 in 3 MB, which decoded at once took 1.3 GiB.
    const TBytes many = AnimatedCursor(std::vector<TBytes>(4096, frame), sequence, {}, 4096);
    EXPECT_LT(many.size(), 4u << 20);
    testing::TChildLimits limits;
    limits.MaxResidentBytes = testing::OwnResidentBytes() + (64 << 20);
    const testing::TChildResult refused = testing::RunBounded(
        [&] {
            try {
                ReadCursorFile(many);
            } catch (const ETovaError& e) {
                return std::string(e.what()).find("more than 256 frames") != std::string::npos;
            }
            return false;
        },
        limits);
    EXPECT_TRUE(refused.Passed()) << refused.Describe();
    // 256 frames are read for their steps and headers; each picture is
    // decoded when it is asked for, so a damaged one shows only then.
    std::vector<TBytes> frames(256, frame);
    TBytes damaged = FlatPng(256, 256);
    damaged.resize(damaged.size() - 20);  // the pixel data cut short
    frames[200] = CursorFile(damaged, 0, 1, 1);
    sequence.resize(256);
    const TCursorAnimation cursor = ReadCursorFile(AnimatedCursor(frames, sequence, {}, 256));
    ASSERT_EQ(cursor.FrameCount(), 256);
    EXPECT_EQ(cursor.Sequence.size(), 256u);
    for (int32_t i = 0; i < 256; ++i) {
        if (i == 200) {
            EXPECT_THROW(cursor.DecodeFrame(i), ETovaError);
            continue;
        }
        const TCursorImage image = cursor.DecodeFrame(i);
        ASSERT_EQ(image.Colour.Width(), 256) << i;
        ASSERT_EQ(image.Colour.Row(255)[255], 0x204060u) << i;
        ASSERT_EQ(image.HotX, 1) << i;
    }
}

TEST(CursorFile, EachSideOfAPngCursorIsChecked) {
    // 16384 x 4 has no more pixels than 256 x 256, but is no cursor.
    for (const auto& [w, h] : {std::pair{16384, 4}, {4, 300}, {257, 1}})
        EXPECT_THROW(ReadCursorFile(CursorFile(FlatPng(w, h), 0, 0, 0)), ETovaError) << w << "x" << h;
    EXPECT_EQ(ReadCursorFile(CursorFile(FlatPng(256, 256), 0, 0, 0)).DecodeFrame(0).Colour.Height(), 256);
}

}  // namespace
}  // namespace tova
