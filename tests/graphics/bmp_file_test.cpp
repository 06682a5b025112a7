// Windows bitmaps: every depth reads back what was written, bottom-up and
// top-down; the fourth byte of 32-bit pixels is the mask; damage is refused.
#include "graphics/bmp_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "core/binary_io.h"
#include "core/error.h"
#include "graphics/brio_test_images.h"

namespace tova {
namespace {

TBrioFrame MakeFrame(int32_t bpp) {
    TBrioFrame frame;
    frame.Bpp = bpp;
    if (bpp <= 8) frame.Palette = test::Palette(bpp);
    test::FillPicture(frame.Picture, bpp, 13, 6, 4);
    return frame;
}

// The same bitmap stored top-down: a negative height and the rows reversed.
std::vector<uint8_t> TopDown(std::vector<uint8_t> bmp, size_t stride, int32_t height) {
    const uint32_t offset = LoadLE32(&bmp[10]);
    const int32_t negative = -height;
    std::memcpy(&bmp[22], &negative, 4);
    for (int32_t y = 0; y < height / 2; ++y)
        std::swap_ranges(bmp.begin() + offset + stride * y, bmp.begin() + offset + stride * (y + 1),
                         bmp.begin() + offset + stride * (height - 1 - y));
    return bmp;
}

TEST(BmpFile, EveryDepthReadsBackBottomUpAndTopDown) {
    for (int32_t bpp : {1, 4, 8, 24}) {
        const TBrioFrame frame = MakeFrame(bpp);
        const std::vector<uint8_t> bmp = WriteBmp(frame, false);
        for (const auto& bytes : {bmp, TopDown(bmp, (bpp * 13 + 31) / 32 * 4, 6)}) {
            TBrioFrame read;
            ReadBmp(bytes, read);
            EXPECT_EQ(read.Bpp, bpp);
            EXPECT_FALSE(read.HasMask);
            EXPECT_TRUE(test::SameSurface(read.Picture.Indices, frame.Picture.Indices)) << bpp;
            EXPECT_TRUE(test::SameSurface(read.Picture.Colour, frame.Picture.Colour)) << bpp;
            if (bpp <= 8) {
                EXPECT_EQ(read.Palette, frame.Palette);
            }
        }
    }
}

TEST(BmpFile, ThirtyTwoBitPixelsCarryTheMaskUnlessItIsAllZero) {
    TBrioFrame frame = MakeFrame(24);
    frame.HasMask = true;
    frame.Mask.Resize(13, 6);
    frame.Mask.Row(2)[3] = 200;
    TBrioFrame read;
    ReadBmp(WriteBmp(frame, true), read);
    EXPECT_EQ(read.Bpp, 24);
    ASSERT_TRUE(read.HasMask);
    EXPECT_TRUE(test::SameSurface(read.Mask, frame.Mask));
    EXPECT_TRUE(test::SameSurface(read.Picture.Colour, frame.Picture.Colour));
    // A plain 32-bit bitmap (fourth bytes all 0) is opaque, not invisible.
    frame.Mask.Row(2)[3] = 0;
    TBrioFrame plain;
    ReadBmp(WriteBmp(frame, true), plain);
    EXPECT_FALSE(plain.HasMask);
}

TEST(BmpFile, DamagedBitmapsAreRefused) {
    const std::vector<uint8_t> bmp = WriteBmp(MakeFrame(8), false);
    for (size_t cut : {size_t{0}, size_t{10}, size_t{30}, size_t{60}, bmp.size() - 1}) {
        TBrioFrame frame;
        EXPECT_THROW(ReadBmp(std::vector<uint8_t>(bmp.begin(), bmp.begin() + cut), frame), ETovaError) << cut;
    }
    auto patched = [&](size_t at, uint32_t v) {
        std::vector<uint8_t> b = bmp;
        std::memcpy(&b[at], &v, 4);
        return b;
    };
    for (const auto& bad : {patched(18, 100000), patched(22, 0x7FFFFFFF), patched(28, 2), patched(30, 4),
                            patched(10, 0xFFFFFFF0u)}) {
        TBrioFrame frame;
        EXPECT_THROW(ReadBmp(bad, frame), ETovaError);
    }
    // A bitmap of width 0 has no pixels to read: an empty picture, read
    // without touching row memory.
    TBrioFrame empty;
    ReadBmp(patched(18, 0), empty);
    EXPECT_EQ(empty.Picture.Indices.Width(), 0);
}

}  // namespace
}  // namespace tova
