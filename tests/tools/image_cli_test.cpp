// tova img through the built binary: encode then decode gives the input
// pixels exactly in every layout, frames of several layers compose by the
// loading rules, images inside archives decode, and exit codes.
#include <gtest/gtest.h>

#include "tova_runner.h"

#include "graphics/brio_compose.h"
#include "graphics/image_codecs.h"
#include "sdk/images/image_files_io.h"
#include "support/temp_dir.h"

namespace tova {
namespace {

using testing::Quote;
using testing::Tova;
using testing::TTempDir;

// A 37 x 21 picture of at most 256 colours, repeated 8 x 8 blocks, and
// transparent and half-transparent corners.
TDecodedImage Picture(uint32_t seed) {
    TDecodedImage p;
    p.Colour.Resize(37, 21);
    p.Alpha.Resize(37, 21);
    p.HasAlpha = true;
    for (int32_t y = 0; y < 21; ++y)
        for (int32_t x = 0; x < 37; ++x) {
            const uint32_t v = static_cast<uint32_t>((x % 8) * 8 + (y % 8)) + seed + (x > 30 ? y * 3u : 0u);
            p.Colour.Row(y)[x] = (v * 0x9E3779B1u) & 0x00FFFFFFu & 0x00F0F0F0u;
            p.Alpha.Row(y)[x] = x < 4 && y < 4 ? 0 : (x > 33 ? 128 : 255);
        }
    return p;
}

void WritePng(const std::string& path, const TDecodedImage& p) {
    const TConstView8 alpha = p.Alpha.View();
    sdk::WriteHostBytes(path, EncodePng(p.Colour.View(), p.HasAlpha ? &alpha : nullptr));
}

bool SamePixels(const TDecodedImage& a, const TDecodedImage& b) {
    if (a.Colour.Width() != b.Colour.Width() || a.Colour.Height() != b.Colour.Height()) return false;
    for (int32_t y = 0; y < a.Colour.Height(); ++y)
        for (int32_t x = 0; x < a.Colour.Width(); ++x) {
            if (a.Colour.Row(y)[x] != b.Colour.Row(y)[x]) return false;
            const uint8_t aa = a.HasAlpha ? a.Alpha.Row(y)[x] : 255,
                          ba = b.HasAlpha ? b.Alpha.Row(y)[x] : 255;
            if (aa != ba) return false;
        }
    return true;
}

TEST(ImageCli, EncodeThenDecodeGivesTheInputPixelsInEveryLayout) {
    TTempDir dir;
    const TDecodedImage first = Picture(0), second = Picture(5);
    WritePng(dir / "a.png", first);
    WritePng(dir / "b.png", second);
    std::vector<std::string> variants;
    for (const char* bpp : {"8", "24", "32"}) {
        for (int version = 100; version <= 106; ++version)
            variants.push_back(std::string("--bpp ") + bpp + " --version " + std::to_string(version));
        for (const char* extra :
             {"--tile 8x8", "--tile 16x5 --compress none", "--key 12345", "--key -7 --tile 8x8"})
            variants.push_back(std::string("--bpp ") + bpp + " " + extra);
    }
    for (const std::string& options : variants) {
        const std::string key =
            options.find("--key") != std::string::npos
                ? options.substr(options.find("--key"),
                                 options.find(' ', options.find("--key") + 6) - options.find("--key"))
                : "";
        ASSERT_EQ(Tova("img encode " + Quote(dir / "o.brz") + " " + Quote(dir / "a.png") + " " +
                       Quote(dir / "b.png") + " " + options)
                      .exitCode,
                  0)
            << options;
        for (int frame = 0; frame < 2; ++frame) {
            ASSERT_EQ(Tova("img decode " + Quote(dir / "o.brz") + " " + Quote(dir / "o.png") + " --frame " +
                           std::to_string(frame) + " " + key)
                          .exitCode,
                      0)
                << options;
            EXPECT_TRUE(SamePixels(DecodePng(sdk::ReadHostBytes(dir / "o.png")), frame ? second : first))
                << options << " frame " << frame;
        }
    }
}

TEST(ImageCli, DescriptionsMakeFramesOfSeveralLayers) {
    TTempDir dir;
    TDecodedImage base = Picture(1);
    base.HasAlpha = false;
    WritePng(dir / "base.png", base);
    TDecodedImage top = Picture(2);
    top.HasAlpha = false;
    WritePng(dir / "top.png", top);
    dir.WriteFile("d.json", R"({"version": 106, "background": 255, "tile": [8, 8], "frames": [
        {"name": "\u30C6\u30B9\u30C8", "delay": 70, "layers": [
            {"name": "base", "source": "base.png"},
            {"name": "hidden", "source": "top.png", "visible": false},
            {"name": "top", "source": "top.png", "opacity": 100}]}]})");
    ASSERT_EQ(Tova("img encode " + Quote(dir / "o.brz") + " --desc " + Quote(dir / "d.json")).exitCode, 0);
    const auto info = Tova("img info " + Quote(dir / "o.brz"));
    EXPECT_EQ(info.exitCode, 0);
    EXPECT_NE(info.out.find(R"("name": "テスト", "width": 37, "height": 21, "bpp": 32, "delay": 70)"),
              std::string::npos)
        << info.out;
    EXPECT_NE(
        info.out.find(
            R"({"name": "hidden", "visible": false, "opacity": 255, "transparent_color": -1, "alpha_on": false, "has_alpha": false})"),
        std::string::npos);
    EXPECT_NE(info.out.find(R"("tile": [8, 8])"), std::string::npos);
    ASSERT_EQ(Tova("img decode " + Quote(dir / "o.brz") + " " + Quote(dir / "o.png")).exitCode, 0);
    const TDecodedImage out = DecodePng(sdk::ReadHostBytes(dir / "o.png"));
    for (int32_t y = 0; y < 21; ++y)
        for (int32_t x = 0; x < 37; ++x)
            ASSERT_EQ(out.Colour.Row(y)[x], BlendPixel(base.Colour.Row(y)[x], top.Colour.Row(y)[x], 100))
                << x << "," << y;
}

TEST(ImageCli, ImagesInsideArchivesAndMasksFromTransparentIndices) {
    TTempDir dir;
    TDecodedImage p = Picture(3);
    p.HasAlpha = false;
    WritePng(dir / "a.png", p);
    dir.WriteFile("d.json",
                  R"({"bpp": 8, "frames": [{"transparent_index": 0, "layers": [{"source": "a.png"}]}]})");
    std::filesystem::create_directories(dir / "data/pic");
    ASSERT_EQ(
        Tova("img encode " + Quote(dir / "data/pic/a.brz") + " --desc " + Quote(dir / "d.json")).exitCode, 0);
    ASSERT_EQ(Tova("pack " + Quote(dir / "game.dat") + " " + Quote(dir / "data")).exitCode, 0);
    ASSERT_EQ(Tova("img decode 'pic\\a.brz' " + Quote(dir / "o.png") + " --mask --archive " +
                   Quote(dir / "game.dat"))
                  .exitCode,
              0);
    const TDecodedImage out = DecodePng(sdk::ReadHostBytes(dir / "o.png"));
    ASSERT_TRUE(out.HasAlpha);
    // Palette index 0 is the first colour met: the top-left pixel's.
    EXPECT_EQ(out.Alpha.Row(0)[0], 0);
    EXPECT_EQ(out.Colour.Row(0)[0], p.Colour.Row(0)[0]);
    EXPECT_EQ(out.Alpha.Row(0)[1], 255);
}

TEST(ImageCli, BadDataAndBadCommandLines) {
    TTempDir dir;
    WritePng(dir / "a.png", Picture(0));
    dir.WriteFile("cut.brz", "Brio106\x28\0\0\0");
    dir.WriteFile("bad.json", "{\"frames\": [}");
    const std::string a = Quote(dir / "a.png"), o = Quote(dir / "o.brz");
    EXPECT_EQ(Tova("img info " + Quote(dir / "cut.brz")).exitCode, 1);
    EXPECT_EQ(Tova("img decode " + Quote(dir / "missing.brz") + " " + Quote(dir / "x.png")).exitCode, 1);
    EXPECT_EQ(Tova("img encode " + o + " --desc " + Quote(dir / "bad.json")).exitCode, 1);
    EXPECT_EQ(Tova("img encode " + o + " " + a + " --key 0").exitCode, 1);
    EXPECT_EQ(Tova("img encode " + o + " " + a + " --version 101 --tile 8x8").exitCode, 1);
    ASSERT_EQ(Tova("img encode " + o + " " + a + " --key 9").exitCode, 0);
    EXPECT_EQ(Tova("img info " + o).exitCode, 1);  // scrambled, no key
    EXPECT_EQ(Tova("img decode " + o + " " + Quote(dir / "x.png") + " --key 9 --frame 1").exitCode, 1);
    EXPECT_EQ(Tova("img").exitCode, 2);
    EXPECT_EQ(Tova("img encode " + o).exitCode, 2);
    EXPECT_EQ(Tova("img encode " + o + " " + a + " --compress lzma").exitCode, 2);
    EXPECT_EQ(Tova("img encode " + o + " " + a + " --tile 8").exitCode, 2);
    EXPECT_EQ(Tova("img encode " + o + " " + a + " --version 99").exitCode, 2);
    EXPECT_EQ(Tova("img encode " + o + " " + a + " --bpp 16").exitCode, 2);
    EXPECT_EQ(Tova("img decode " + o).exitCode, 2);
}

}  // namespace
}  // namespace tova
