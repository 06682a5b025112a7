// PNG decoding gives the samples the file stores, whatever its gamma and
// depth: 16-bit samples by their top byte, palettes and grey expanded,
// transparency (alpha channels and tRNS of every colour type) as alpha,
// interlaced passes put together.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "core/error.h"
#include "graphics/brio_test_images.h"
#include "graphics/image_codecs.h"
#include "graphics/png_bytes.h"

namespace tova {
namespace {

using test::PixelsOf;
using testing::PngBytes;
using testing::TPngSpec;
using TRows = test::TPixelRows;

TEST(PngCodec, SamplesComeOutAsStoredWhateverTheGamma) {
    // Linear samples (gAMA 1.0) and a grey of gamma 2.0 are not brightened.
    const TDecodedImage linear =
        DecodePng(PngBytes({.Width = 3, .Height = 1, .Gamma = 1.0}, {{1, 2, 3, 128, 64, 32, 255, 254, 0}}));
    EXPECT_FALSE(linear.HasAlpha);
    EXPECT_EQ(PixelsOf(linear.Colour), (TRows{{0x010203, 0x804020, 0xFFFE00}}));
    const TDecodedImage grey = DecodePng(
        PngBytes({.Width = 2, .Height = 1, .ColourType = PNG_COLOR_TYPE_GRAY, .Gamma = 0.5}, {{1, 200}}));
    EXPECT_EQ(PixelsOf(grey.Colour), (TRows{{0x010101, 0xC8C8C8}}));

    // 16-bit samples keep their top byte (0x12FF is 0x12, not rounded up),
    // alpha too.
    const TDecodedImage deep =
        DecodePng(PngBytes({.Width = 1, .Height = 1, .BitDepth = 16, .ColourType = PNG_COLOR_TYPE_RGB_ALPHA},
                           {{0x12, 0xFF, 0x34, 0x00, 0x56, 0x80, 0x80, 0xFF}}));
    ASSERT_TRUE(deep.HasAlpha);
    EXPECT_EQ(deep.Colour.Row(0)[0], 0x123456u);
    EXPECT_EQ(deep.Alpha.Row(0)[0], 0x80);

    // Grey of 2 bits spreads over 0 .. 255; grey with alpha keeps both.
    const TDecodedImage twoBits = DecodePng(
        PngBytes({.Width = 4, .Height = 1, .BitDepth = 2, .ColourType = PNG_COLOR_TYPE_GRAY}, {{0x1B}}));
    EXPECT_EQ(PixelsOf(twoBits.Colour), (TRows{{0x000000, 0x555555, 0xAAAAAA, 0xFFFFFF}}));
    const TDecodedImage greyAlpha = DecodePng(
        PngBytes({.Width = 2, .Height = 1, .ColourType = PNG_COLOR_TYPE_GRAY_ALPHA}, {{10, 20, 250, 0}}));
    ASSERT_TRUE(greyAlpha.HasAlpha);
    EXPECT_EQ(PixelsOf(greyAlpha.Colour), (TRows{{0x0A0A0A, 0xFAFAFA}}));
    EXPECT_EQ(PixelsOf(greyAlpha.Alpha), (TRows{{20, 0}}));
}

TEST(PngCodec, TransparencyOfEveryColourTypeBecomesAlpha) {
    // A 4-bit palette whose tRNS covers the first two entries.
    const TDecodedImage palette = DecodePng(PngBytes({.Width = 4,
                                                      .Height = 1,
                                                      .BitDepth = 4,
                                                      .ColourType = PNG_COLOR_TYPE_PALETTE,
                                                      .Palette = {{1, 2, 3}, {40, 50, 60}, {200, 100, 0}},
                                                      .PaletteAlpha = {0, 128}},
                                                     {{0x01, 0x21}}));
    ASSERT_TRUE(palette.HasAlpha);
    EXPECT_EQ(PixelsOf(palette.Colour), (TRows{{0x010203, 0x28323C, 0xC86400, 0x28323C}}));
    EXPECT_EQ(PixelsOf(palette.Alpha), (TRows{{0, 128, 255, 128}}));

    // RGB with a transparent colour.
    png_color_16 colour{};
    colour.red = 1;
    colour.green = 2;
    colour.blue = 3;
    const TDecodedImage rgb =
        DecodePng(PngBytes({.Width = 2, .Height = 1, .Transparent = colour}, {{1, 2, 3, 1, 2, 4}}));
    ASSERT_TRUE(rgb.HasAlpha);
    EXPECT_EQ(PixelsOf(rgb.Colour), (TRows{{0x010203, 0x010204}}));
    EXPECT_EQ(PixelsOf(rgb.Alpha), (TRows{{0, 255}}));

    // 16-bit grey: the transparent grey is matched on all 16 bits, before
    // the samples are cut to 8.
    png_color_16 grey{};
    grey.gray = 0x1234;
    const TDecodedImage deep = DecodePng(PngBytes(
        {.Width = 2, .Height = 1, .BitDepth = 16, .ColourType = PNG_COLOR_TYPE_GRAY, .Transparent = grey},
        {{0x12, 0x34, 0x12, 0x35}}));
    EXPECT_EQ(PixelsOf(deep.Colour), (TRows{{0x121212, 0x121212}}));
    EXPECT_EQ(PixelsOf(deep.Alpha), (TRows{{0, 255}}));
}

TEST(PngCodec, InterlacedPassesComeTogether) {
    // 13 x 7 pixels, each different, in the seven passes.
    std::vector<std::vector<uint8_t>> rows;
    TRows expected;
    for (uint32_t y = 0; y < 7; ++y) {
        rows.emplace_back();
        expected.emplace_back();
        for (uint32_t x = 0; x < 13; ++x) {
            const uint32_t pixel = test::Hash(y * 13 + x) & 0xFFFFFFu;
            rows.back().insert(rows.back().end(),
                               {static_cast<uint8_t>(pixel >> 16), static_cast<uint8_t>(pixel >> 8),
                                static_cast<uint8_t>(pixel)});
            expected.back().push_back(pixel);
        }
    }
    const std::vector<uint8_t> interlaced = PngBytes({.Width = 13, .Height = 7, .Interlaced = true}, rows);
    ASSERT_EQ(interlaced[28], PNG_INTERLACE_ADAM7);
    EXPECT_EQ(PixelsOf(DecodePng(interlaced).Colour), expected);
}

TEST(PngCodec, DamagedFilesAreRefusedWithLibpngsReason) {
    std::vector<std::vector<uint8_t>> rows(64, std::vector<uint8_t>(64 * 3));
    for (size_t y = 0; y < rows.size(); ++y)
        for (size_t i = 0; i < rows[y].size(); ++i)
            rows[y][i] = static_cast<uint8_t>(test::Hash(static_cast<uint32_t>(y * 1000 + i)));
    const std::vector<uint8_t> png = PngBytes({.Width = 64, .Height = 64}, rows);
    std::vector<uint8_t> flipped = png;
    flipped[png.size() / 2] ^= 0xFF;
    const std::vector<std::pair<std::vector<uint8_t>, std::string>> cases = {
        {std::vector<uint8_t>(png.begin(), png.begin() + static_cast<ptrdiff_t>(png.size() / 2)),
         "cut short"},
        {flipped, "CRC"},
        {std::vector<uint8_t>(png.begin() + 1, png.end()), "Not a PNG file"},
    };
    for (const auto& [bytes, why] : cases) {
        try {
            DecodePng(bytes);
            ADD_FAILURE() << why;
        } catch (const ETovaError& e) {
            const std::string message = e.what();
            EXPECT_EQ(message.rfind("damaged PNG data: ", 0), 0u) << message;
            EXPECT_NE(message.find(why), std::string::npos) << message;
        }
    }
}

}  // namespace
}  // namespace tova
