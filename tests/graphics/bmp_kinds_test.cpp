// The kinds of Windows bitmaps beyond plain rows, each made byte by byte:
// run-length encoded palette pixels with every escape, 16-bit pixels (plain
// 5-5-5 and colour masks), 32-bit pixels in other channel orders, the longer
// headers with their masks; and the damaged forms of each.
#include <gtest/gtest.h>

#include <string>

#include "core/error.h"
#include "graphics/bmp_bytes.h"
#include "graphics/bmp_file.h"
#include "graphics/brio_image.h"
#include "graphics/brio_test_images.h"

namespace tova {
namespace {

using test::PixelsOf;
using testing::BmpBytes;
using testing::PixelRows;
using testing::TBmpSpec;
using testing::TRleCodes;
using TRows = test::TPixelRows;

TBrioFrame Read(const std::vector<uint8_t>& bytes) {
    TBrioFrame frame;
    ReadBmp(bytes, frame);
    return frame;
}

std::string Refusal(const std::vector<uint8_t>& bytes) {
    try {
        Read(bytes);
    } catch (const ETovaError& e) {
        return e.what();
    }
    return "read";
}

TEST(BmpKinds, RunLengthCodesFollowEveryEscape) {
    // RLE8, rows from the bottom: runs, a literal of odd length (padded),
    // a delta, a literal past the right edge (its last pixel dropped), and
    // an early end of the bitmap that leaves the top row at index 0.
    TRleCodes rle8(8);
    rle8.Run(3, 7).Literal({1, 2, 3}).EndOfLine();
    rle8.Run(2, 9).Delta(2, 1);
    rle8.Literal({4, 5, 6}).EndOfLine();
    rle8.Run(2, 1).EndOfBitmap();
    const std::vector<uint32_t> palette = {0x000000, 0x112233, 0x445566};
    const TBrioFrame eight = Read(
        BmpBytes({.Width = 6, .Height = 5, .Bpp = 8, .Compression = testing::kBmpRle8, .Colours = palette},
                 rle8.Bytes()));
    EXPECT_EQ(eight.Bpp, 8);
    EXPECT_EQ(eight.Palette[2], 0x445566u);
    EXPECT_EQ(PixelsOf(eight.Picture.Indices), (TRows{{0, 0, 0, 0, 0, 0},
                                                      {1, 1, 0, 0, 0, 0},
                                                      {0, 0, 0, 0, 4, 5},
                                                      {9, 9, 0, 0, 0, 0},
                                                      {7, 7, 7, 1, 2, 3}}));

    // RLE4: a run alternates the two indices of its byte; a literal of five
    // indices takes three bytes and a pad. The codes end with the last row,
    // without an end of bitmap.
    TRleCodes rle4(4);
    rle4.Run(2, 0x12).Literal({3, 4, 5, 6, 7}).EndOfLine();
    rle4.Run(7, 0xAB).EndOfLine();
    const TBrioFrame four = Read(
        BmpBytes({.Width = 7, .Height = 2, .Bpp = 4, .Compression = testing::kBmpRle4, .Colours = palette},
                 rle4.Bytes()));
    EXPECT_EQ(four.Bpp, 4);
    EXPECT_EQ(PixelsOf(four.Picture.Indices), (TRows{{10, 11, 10, 11, 10, 11, 10}, {1, 2, 3, 4, 5, 6, 7}}));

    // A delta past the top ends the bitmap too; through the image loader the
    // palette frame becomes colour, the skipped pixels palette entry 0.
    TRleCodes up(8);
    up.Run(1, 2).Delta(0, 9);
    TBrioFrameList list;
    TTpMemoryStream stream(BmpBytes({.Width = 2,
                                     .Height = 2,
                                     .Bpp = 8,
                                     .Compression = testing::kBmpRle8,
                                     .Colours = {0x0A0B0C, 0, 0x445566}},
                                    up.Bytes()));
    ASSERT_TRUE(list.LoadFromFileData("pic\\UP.BMP", stream));
    list.FinishLoad(false);
    EXPECT_EQ(PixelsOf(list.Frames[0]->Picture.Colour), (TRows{{0x0A0B0C, 0x0A0B0C}, {0x445566, 0x0A0B0C}}));
}

TEST(BmpKinds, SixteenBitPixelsWidenEachChannelByItsTopBits) {
    // Five bits abcde become abcdeabc, six bits abcdef become abcdefab.
    const TRows expected = {{0xFFFFFF, 0x000000}, {0x840808, 0x08FF84}};
    // Plain 16-bit pixels are 5-5-5 (the top bit unused).
    const TRows plain = {{0xFFFF, 0x0000}, {0x4021, 0x07F0}};
    EXPECT_EQ(
        PixelsOf(
            Read(BmpBytes({.Width = 2, .Height = 2, .Bpp = 16}, PixelRows(plain, 16, false))).Picture.Colour),
        expected);
    // 5-6-5 masks after an info header, in a DIB without a file header
    // whose table of 3 colours comes before the pixels.
    const TRows rgb565 = {{0xFFFF, 0x0000}, {0x8021, 0x0FF0}};
    const TBrioFrame masked = Read(BmpBytes({.Width = 2,
                                             .Height = 2,
                                             .Bpp = 16,
                                             .Compression = testing::kBmpMasks,
                                             .Colours = {1, 2, 3},
                                             .Masks = {0xF800, 0x07E0, 0x001F},
                                             .FileHeader = false},
                                            PixelRows(rgb565, 16, false)));
    EXPECT_EQ(masked.Bpp, 24);
    EXPECT_FALSE(masked.HasMask);
    EXPECT_EQ(PixelsOf(masked.Picture.Colour), (TRows{{0xFFFFFF, 0x000000}, {0x840408, 0x08FF84}}));
    // A version 5 header with 1-5-5-5 and its alpha mask, top-down: the
    // alpha bit becomes the mask, 0 or 255.
    const TRows argb = {{0xFFFF, 0x7FFF}, {0x8000, 0x0000}};
    const TBrioFrame alpha = Read(BmpBytes({.Width = 2,
                                            .Height = -2,
                                            .Bpp = 16,
                                            .Compression = testing::kBmpMasks,
                                            .HeaderSize = testing::kBmpV5,
                                            .Masks = {0x7C00, 0x03E0, 0x001F, 0x8000}},
                                           PixelRows(argb, 16, true)));
    ASSERT_TRUE(alpha.HasMask);
    EXPECT_EQ(PixelsOf(alpha.Mask), (TRows{{255, 0}, {255, 0}}));
    EXPECT_EQ(PixelsOf(alpha.Picture.Colour), (TRows{{0xFFFFFF, 0xFFFFFF}, {0, 0}}));
    // 4-4-4-4 in a version 4 header: four bits abcd become abcdabcd.
    const TBrioFrame nibbles = Read(BmpBytes({.Width = 1,
                                              .Height = 1,
                                              .Bpp = 16,
                                              .Compression = testing::kBmpMasks,
                                              .HeaderSize = testing::kBmpV4,
                                              .Masks = {0x0F00, 0x00F0, 0x000F, 0xF000}},
                                             PixelRows({{0x59AC}}, 16, false)));
    EXPECT_EQ(nibbles.Picture.Colour.Row(0)[0], 0x99AACCu);
    EXPECT_EQ(nibbles.Mask.Row(0)[0], 0x55);
}

TEST(BmpKinds, ThirtyTwoBitPixelsInOtherChannelOrders) {
    // Red in the low byte, blue in the third, the fourth byte free: it is
    // the mask, as in plain 32-bit pixels.
    const TBrioFrame rgbx = Read(BmpBytes({.Width = 2,
                                           .Height = 1,
                                           .Bpp = 32,
                                           .Compression = testing::kBmpMasks,
                                           .Masks = {0x0000FF, 0x00FF00, 0xFF0000}},
                                          PixelRows({{0x80332211, 0x00665544}}, 32, false)));
    EXPECT_EQ(PixelsOf(rgbx.Picture.Colour), (TRows{{0x112233, 0x445566}}));
    ASSERT_TRUE(rgbx.HasMask);
    EXPECT_EQ(PixelsOf(rgbx.Mask), (TRows{{0x80, 0}}));
    // The colours in the top three bytes and no alpha mask: no mask.
    const TBrioFrame high = Read(BmpBytes({.Width = 1,
                                           .Height = 1,
                                           .Bpp = 32,
                                           .Compression = testing::kBmpMasks,
                                           .HeaderSize = testing::kBmpV3,
                                           .Masks = {0xFF000000, 0x00FF0000, 0x0000FF00}},
                                          PixelRows({{0x112233FF}}, 32, false)));
    EXPECT_EQ(high.Picture.Colour.Row(0)[0], 0x112233u);
    EXPECT_FALSE(high.HasMask);
    // 10-10-10 keeps each channel's top 8 bits; 2 bits of alpha ab become abababab.
    const TBrioFrame deep =
        Read(BmpBytes({.Width = 1,
                       .Height = 1,
                       .Bpp = 32,
                       .Compression = testing::kBmpMasks,
                       .HeaderSize = testing::kBmpV5,
                       .Masks = {0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000}},
                      PixelRows({{0x80000000u | 0x3FCu << 20 | 0x004u << 10 | 0x203u}}, 32, false)));
    EXPECT_EQ(deep.Picture.Colour.Row(0)[0], 0xFF0180u);
    EXPECT_EQ(deep.Mask.Row(0)[0], 0xAA);
    // A version 4 header with plain pixels ignores its (empty) masks.
    const TBrioFrame v4 = Read(BmpBytes({.Width = 1, .Height = 1, .Bpp = 32, .HeaderSize = testing::kBmpV4},
                                        PixelRows({{0x40102030}}, 32, false)));
    EXPECT_EQ(v4.Picture.Colour.Row(0)[0], 0x102030u);
    EXPECT_EQ(v4.Mask.Row(0)[0], 0x40);
}

TEST(BmpKinds, DamagedRunLengthCodesAndMasksAreRefused) {
    const auto rle = [](int32_t height, uint16_t bpp, uint32_t compression, const TRleCodes& codes) {
        return BmpBytes(
            {.Width = 4, .Height = height, .Bpp = bpp, .Compression = compression, .Colours = {0}},
            codes.Bytes());
    };
    TRleCodes shortLiteral(8), noEnd(8), shortDelta(8), fine(8);
    shortLiteral.Literal({1, 2, 3, 4, 5});
    noEnd.Run(4, 1).EndOfLine();
    shortDelta.Run(1, 1).Delta(1, 0);
    const std::vector<uint8_t> literal = rle(2, 8, testing::kBmpRle8, shortLiteral);
    const std::vector<uint8_t> delta = rle(2, 8, testing::kBmpRle8, shortDelta);
    fine.Run(4, 1).EndOfBitmap();
    const std::vector<std::pair<std::vector<uint8_t>, std::string>> cases = {
        {std::vector<uint8_t>(literal.begin(), literal.end() - 3), "cut short"},
        {rle(2, 8, testing::kBmpRle8, noEnd), "cut short"},
        {std::vector<uint8_t>(delta.begin(), delta.end() - 2), "cut short"},
        {rle(-2, 8, testing::kBmpRle8, fine), "top-down"},
        {rle(2, 4, testing::kBmpRle8, fine), "RLE8 needs 8 bits"},
        {rle(2, 8, testing::kBmpRle4, fine), "RLE4 needs 4 bits"},
        {rle(2, 8, 4, fine), "compressed bitmaps are not supported"},
        {BmpBytes({.Width = 1, .Height = 1, .Bpp = 24, .Compression = testing::kBmpMasks}, {0, 0, 0, 0}),
         "colour masks need 16 or 32"},
        {BmpBytes({.Width = 1, .Height = 1, .Bpp = 16, .Compression = testing::kBmpMasks, .Masks = {0xF0F0}},
                  {0, 0, 0, 0}),
         "unsupported colour masks"},
        {BmpBytes(
             {.Width = 1, .Height = 1, .Bpp = 16, .Compression = testing::kBmpMasks, .Masks = {0x1F0000}},
             {0, 0, 0, 0}),
         "unsupported colour masks"},
        {BmpBytes({.Width = 3, .Height = 2, .Bpp = 16}, std::vector<uint8_t>(15)),
         "the pixel data is cut short"},
    };
    for (const auto& [bytes, why] : cases) {
        const std::string message = Refusal(bytes);
        EXPECT_NE(message.find("damaged bitmap: "), std::string::npos) << message;
        EXPECT_NE(message.find(why), std::string::npos) << message;
    }
    EXPECT_EQ(Refusal(rle(2, 8, testing::kBmpRle8, fine)), "read");

    // Codes of a few bytes may stand for a large picture: it is taken from
    // the budget before it is made.
    TImageBudget budget(1 << 20);
    TBrioFrame frame;
    EXPECT_THROW(
        ReadBmp(
            BmpBytes(
                {.Width = 2048, .Height = 2048, .Bpp = 8, .Compression = testing::kBmpRle8, .Colours = {0}},
                {0, 1}),
            frame, {.Budget = &budget}),
        ETovaError);
    EXPECT_EQ(budget.Used(), 0);
}

}  // namespace
}  // namespace tova
