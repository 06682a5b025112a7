// Layered images: every layout the writer makes reads back to the same
// pixels; frames compose from their layers by the loading rules; damaged
// files give clear errors.
#include "graphics/brio_image.h"

#include <gtest/gtest.h>

#include <tuple>

#include "core/binary_io.h"
#include "core/error.h"
#include "core/random.h"
#include "graphics/brio_compose.h"
#include "graphics/brio_planes.h"
#include "graphics/brio_test_images.h"
#include "graphics/image_codecs.h"

namespace tova {
namespace {

using test::FillAlpha;
using test::FillPicture;
using test::SameSurface;

// Two frames of two layers each; the second frame repeats the first's first
// layer so that tiles may refer into another frame.
TBrioFrameList MakeList(int32_t bpp, uint32_t key) {
    TBrioFrameList list(key);
    list.BackgroundColor = 0x00203040;
    for (int f = 0; f < 2; ++f) {
        TBrioFrame& frame = list.AddFrame();
        frame.Name = f == 0 ? "\x83\x65\x83\x58\x83\x67" : "frame 2";  // a code page 932 name
        frame.Delay = 40 + f;
        frame.Bpp = bpp;
        if (bpp <= 8) frame.Palette = test::Palette(bpp);
        for (int l = 0; l < 2; ++l) {
            TBrioLayer& layer = frame.AddLayer();
            layer.Name = "layer " + std::to_string(l);
            FillPicture(layer.Picture, bpp, 37, 21, l == 0 ? 1 : 10 + f);
            if (l == 1) {
                FillAlpha(layer, 37, 21, 5 + f);
                layer.AlphaOn = true;
            }
        }
        frame.RectsA = {{1, 2, 3, 4}};
    }
    return list;
}

using TRoundTrip =
    std::tuple<int /*version*/, int /*bpp*/, bool /*tiled*/, uint32_t /*key*/, TBrioCompression>;

class BrioRoundTrip : public ::testing::TestWithParam<TRoundTrip> {};

TEST_P(BrioRoundTrip, GivesBackEveryLayerAndTheComposedFrames) {
    const auto [version, bpp, tiled, key, compression] = GetParam();
    TBrioFrameList original = MakeList(bpp, key);
    TBrioWriteOptions options;
    options.Version = version;
    options.Compression = compression;
    if (tiled) options.TileWidth = 16, options.TileHeight = 8;
    const std::vector<uint8_t> bytes = test::Save(original, options);

    TBrioFrameList read(key);
    test::Load(read, bytes);
    ASSERT_EQ(read.Count(), 2);
    EXPECT_EQ(read.Version, version);
    EXPECT_EQ(read.Scrambled, key != 0);
    for (int f = 0; f < 2; ++f) {
        TBrioFrame& a = *original.Frames[f];
        TBrioFrame& b = *read.Frames[f];
        EXPECT_EQ(b.Name, a.Name);
        EXPECT_EQ(b.Delay, a.Delay);
        EXPECT_EQ(b.Palette, a.Palette);
        EXPECT_EQ(b.RectsA.size(), version >= brio::kRectLists ? 1u : 0u);
        ASSERT_EQ(b.Layers.size(), 2u);
        for (int l = 0; l < 2; ++l) {
            const TBrioLayer& la = *a.Layers[l];
            const TBrioLayer& lb = *b.Layers[l];
            EXPECT_EQ(lb.Name, la.Name);
            EXPECT_EQ(lb.HasAlpha, la.HasAlpha);
            EXPECT_EQ(lb.AlphaOn, la.AlphaOn);
            EXPECT_TRUE(SameSurface(la.Pixels().Indices, lb.Pixels().Indices));
            EXPECT_TRUE(SameSurface(la.Pixels().Colour, lb.Pixels().Colour))
                << "frame " << f << " layer " << l;
            EXPECT_TRUE(SameSurface(la.Alpha, lb.Alpha));
        }
        ComposeBrioFrame(a, 37, 21, original.BackgroundColor, false, original.Budget);
        EXPECT_TRUE(SameSurface(a.Picture.Colour, b.Picture.Colour));
        EXPECT_TRUE(SameSurface(a.Picture.Indices, b.Picture.Indices));
    }
    // Tiles are shared: the second frame's first layer refers to the first frame's.
    if (tiled && bpp == 32 && compression == TBrioCompression::None) {
        TBrioWriteOptions plain = options;
        plain.TileWidth = plain.TileHeight = 0;
        EXPECT_LT(bytes.size() * 10, test::Save(original, plain).size() * 8);
    }
}

std::vector<TRoundTrip> RoundTrips() {
    std::vector<TRoundTrip> cases;
    for (int bpp : {1, 4, 8, 24, 32}) {
        for (int version : {100, 101, 102})
            cases.emplace_back(version, bpp, false, 0u, TBrioCompression::Zlib);
        for (int version : {103, 104, 105, 106})
            for (bool tiled : {false, true})
                for (uint32_t key : {0u, 0x9E3779B9u})
                    for (TBrioCompression c : {TBrioCompression::Zlib, TBrioCompression::None})
                        cases.emplace_back(version, bpp, tiled, key, c);
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(AllLayouts, BrioRoundTrip, ::testing::ValuesIn(RoundTrips()));

TEST(BrioImage, EmptyLayersRoundTripAtEveryDepth) {
    // A layer may be zero pixels wide or high; its rows hold no memory.
    for (int32_t bpp : {1, 8, 32})
        for (auto [w, h] : {std::pair{0, 5}, std::pair{5, 0}}) {
            TBrioFrameList list(0);
            TBrioFrame& frame = list.AddFrame();
            frame.Bpp = bpp;
            if (bpp <= 8) frame.Palette = test::Palette(bpp);
            FillPicture(frame.AddLayer().Picture, bpp, w, h, 1);
            TBrioFrameList read(0);
            test::Load(read, test::Save(list));
            ASSERT_EQ(read.Count(), 1);
            const TBrioLayer& layer = *read.Frames[0]->Layers.at(0);
            EXPECT_TRUE(SameSurface(frame.Layers[0]->Pixels().Indices, layer.Pixels().Indices)) << bpp;
            EXPECT_TRUE(SameSurface(frame.Layers[0]->Pixels().Colour, layer.Pixels().Colour)) << bpp;
        }
}

TEST(BrioImage, JpegColourKeepsTheSizeAndAlphaExactly) {
    TBrioFrameList list = MakeList(24, 0);
    TSurface32& smooth = list.Frames[0]->Layers[1]->Picture.Colour;
    for (int32_t y = 0; y < 21; ++y)
        for (int32_t x = 0; x < 37; ++x)
            smooth.Row(y)[x] = static_cast<uint32_t>(x * 5 + (y * 9 << 8) + (128 << 16));
    TBrioWriteOptions options;
    options.Compression = TBrioCompression::Jpeg;
    options.JpegQuality = 95;
    options.TileWidth = options.TileHeight = 16;  // JPEG images keep plain alpha rows
    TBrioFrameList read;
    test::Load(read, test::Save(list, options));
    ASSERT_EQ(read.Count(), 2);
    EXPECT_EQ(read.Compression, TBrioCompression::Jpeg);
    const TBrioLayer& layer = *read.Frames[0]->Layers[1];
    EXPECT_TRUE(SameSurface(layer.Alpha, list.Frames[0]->Layers[1]->Alpha));
    EXPECT_EQ(layer.Pixels().Colour.Width(), 37);
    // The JPEG colour is close to the original.
    int64_t error = 0;
    for (int32_t y = 0; y < 21; ++y)
        for (int32_t x = 0; x < 37; ++x) {
            const TPixel32 a = layer.Pixels().Colour.Row(y)[x],
                           b = list.Frames[0]->Layers[1]->Picture.Colour.Row(y)[x];
            error += std::abs(static_cast<int>(a & 0xFF) - static_cast<int>(b & 0xFF));
        }
    EXPECT_LT(error / (37 * 21), 6);
}

TEST(BrioImage, ComposesLayersByTheLoadingRules) {
    TBrioFrame frame;
    frame.Bpp = 32;
    auto solid = [&](TBrioLayer& layer, TPixel32 colour) {
        layer.Picture.Resize(32, 2, 1);
        layer.Picture.Colour.Row(0)[0] = colour;
        layer.Picture.Colour.Row(0)[1] = 0x0000FF;
    };
    TBrioLayer& hidden = frame.AddLayer();
    solid(hidden, 0x111111);
    hidden.Visible = false;
    TBrioLayer& base = frame.AddLayer();  // first visible: its alpha is the mask; it is blended, not copied
    solid(base, 0x102030);
    base.HasAlpha = base.AlphaOn = true;
    base.Alpha.Resize(2, 1);
    base.Alpha.Row(0)[0] = 128;
    base.Alpha.Row(0)[1] = 0;
    TBrioLayer& keyed = frame.AddLayer();  // half opacity, blue (0xFF0000 as a Windows colour) skipped
    solid(keyed, 0xFFFFFF);
    keyed.TransparentColor = 0xFF0000;
    keyed.Opacity = 128;
    TImageBudget budget;
    ComposeBrioFrame(frame, 2, 1, 0x000000FF, false, budget);  // red background
    ASSERT_TRUE(frame.HasMask);
    EXPECT_EQ(frame.Mask.Row(0)[0], 128);
    const TPixel32 afterBase = BlendPixel(0xFF0000, 0x102030, 128);
    EXPECT_EQ(frame.Picture.Colour.Row(0)[0], BlendPixel(afterBase, 0xFFFFFF, 128));
    EXPECT_EQ(frame.Picture.Colour.Row(0)[1], 0xFF0000u);  // alpha 0, then the key colour skipped

    // With the header flag the first visible layer is copied despite its transparent colour.
    TBrioFrame flagged;
    flagged.Bpp = 24;
    TBrioLayer& first = flagged.AddLayer();
    solid(first, 0x445566);
    first.TransparentColor = 0xFF0000;
    ComposeBrioFrame(flagged, 2, 1, 0, true, budget);
    EXPECT_EQ(flagged.Picture.Colour.Row(0)[1], 0x0000FFu);
    ComposeBrioFrame(flagged, 2, 1, 0, false, budget);
    EXPECT_EQ(flagged.Picture.Colour.Row(0)[1], 0u);
    EXPECT_EQ(BlendPixel(1, 0xFFFFFF, 255), 0xFFFFFFu);
    EXPECT_EQ(BlendPixel(0x123456, 0xFFFFFF, 0), 0x123456u);
}

TEST(BrioImage, PaletteFramesGetMasksAndTransparentColours) {
    TBrioFrameList list = MakeList(8, 0);
    list.Frames[0]->TransparentIndex = list.Frames[0]->Layers[0]->Picture.Indices.Row(0)[0];
    TBrioFrameList read;
    test::Load(read, test::Save(list));
    read.FinishLoad(true);
    const TBrioFrame& frame = *read.Frames[0];
    EXPECT_FALSE(frame.Picture.IsPalette());
    ASSERT_TRUE(frame.TransparentColor.has_value());
    EXPECT_EQ(*frame.TransparentColor, frame.Palette[static_cast<size_t>(frame.TransparentIndex)]);
    ASSERT_TRUE(frame.HasMask);
    EXPECT_EQ(frame.Mask.Row(0)[0], 0);
}

TEST(BrioImage, ScrambledImagesNeedTheirKey) {
    TBrioFrameList list = MakeList(24, 4242);
    const std::vector<uint8_t> bytes = test::Save(list);
    TBrioFrameList noKey;
    try {
        test::Load(noKey, bytes);
        FAIL() << "read without a key";
    } catch (const ETovaError& e) {
        EXPECT_EQ(e.Message(), SysText("識別コードを設定してください"));
    }
    // Another key reads, but not the same picture; the same key twice gives the same.
    TBrioFrameList wrong(4243), right1(4242), right2(4242);
    test::Load(wrong, bytes);
    test::Load(right1, bytes);
    test::Load(right2, bytes);
    EXPECT_FALSE(SameSurface(wrong.Frames[0]->Picture.Colour, right1.Frames[0]->Picture.Colour));
    EXPECT_TRUE(SameSurface(right2.Frames[0]->Picture.Colour, right1.Frames[0]->Picture.Colour));
    EXPECT_EQ(right1.Compression, TBrioCompression::None);  // scrambled images are stored uncompressed
}

TEST(BrioImage, ScrambleOrderIsTheGeneratorsDrawWithoutReplacement) {
    for (uint32_t key : {1u, 0x9E3779B9u, 77u}) {
        for (int n : {1, 2, 7, 1000}) {
            TTpRandom random(key);
            random.SetPool(n);
            std::vector<int> drawn;
            for (int i = 0; i < n; ++i)
                drawn.push_back(random.Draw());
            EXPECT_EQ(BrioScrambleOrder(key, n), drawn) << key << " " << n;
        }
    }
}

TEST(BrioImage, AFileWithoutMagicIsVersionZero) {
    TTpMemoryStream s;
    WriteI32(s, 1);  // frame count
    WriteU8(s, 1);
    WriteString(s, "f");
    for (int32_t v : {-1, 100})
        WriteI32(s, v);
    WriteU8(s, 0);
    for (int32_t v : {0, 1, 2, 1, 24})
        WriteI32(s, v);  // skipped, layers, width, height, bpp
    for (int32_t v : {0, 0})
        WriteI32(s, v);
    WriteU8(s, 1);
    for (int32_t v : {-1, 255})
        WriteI32(s, v);
    WriteString(s, "L");
    const std::vector<uint8_t> rows = DeflateFast(std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 0, 0});
    WriteI32(s, static_cast<int32_t>(rows.size()));
    s.WriteBuffer(rows);
    TBrioFrameList list;
    test::Load(list, s.Bytes());
    EXPECT_EQ(list.Version, 0);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Frames[0]->Picture.Colour.Row(0)[1], 0x060504u);
}

// Damaged files: every cut, lying counts and references, and a bomb.
TEST(BrioImage, DamagedFilesGiveClearErrors) {
    TBrioWriteOptions tiled;
    tiled.TileWidth = 16, tiled.TileHeight = 8;
    for (const TBrioWriteOptions& options : {TBrioWriteOptions{}, tiled}) {
        const std::vector<uint8_t> bytes = test::Save(MakeList(8, 0), options);
        for (size_t cut = 0; cut < bytes.size(); cut += 7) {
            TBrioFrameList list;
            std::vector<uint8_t> part(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(cut));
            EXPECT_THROW(test::Load(list, part), ETovaError) << cut;
        }
    }
    auto expectError = [](std::vector<uint8_t> bytes, const char* what) {
        TBrioFrameList list;
        try {
            test::Load(list, bytes);
            ADD_FAILURE() << "no error for " << what;
        } catch (const ETovaError& e) {
            EXPECT_NE(std::string(e.what()).find("damaged"), std::string::npos) << e.what();
        }
    };
    TBrioFrameList one = MakeList(32, 0);
    one.Frames.resize(1);
    const std::vector<uint8_t> good = test::Save(one);
    constexpr size_t kHeader = 7 + 4;  // magic, header length
    auto patched = [&](size_t at, int32_t v) {
        std::vector<uint8_t> b = good;
        for (int i = 0; i < 4; ++i)
            b[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i));
        return b;
    };
    expectError(patched(kHeader + 16, 1 << 30), "a frame count");
    const size_t frame = kHeader + 40;
    const size_t name = 4 + one.Frames[0]->Name.size();
    expectError(patched(frame + name + 13, 1 << 20), "a layer count");
    expectError(patched(frame + name + 17, 20000), "a width");
    expectError(patched(frame + name + 21, -3), "a height");
    expectError(patched(frame + name + 25, 16), "a depth");

    // A one-layer 32 x 8 image; its colour block is the one whose size
    // field counts exactly up to the empty alpha block and the rectangle lists.
    auto single = [](const TBrioWriteOptions& options) {
        TBrioFrameList list;
        TBrioFrame& f = list.AddFrame();
        f.Bpp = 32;
        FillPicture(f.AddLayer().Picture, 32, 32, 8, 3);
        return test::Save(list, options);
    };
    auto colourBlock = [](const std::vector<uint8_t>& b) {
        for (size_t p = 0; p + 4 <= b.size(); ++p)
            if (LoadLE32(&b[p]) == b.size() - p - 4 - 4 - 8) return p;
        return size_t{0};
    };
    {
        const std::vector<uint8_t> b = single({});
        const size_t at = colourBlock(b);
        ASSERT_NE(at, 0u);
        std::vector<uint8_t> bomb(b.begin(), b.begin() + static_cast<ptrdiff_t>(at));
        const std::vector<uint8_t> big = DeflateFast(std::vector<uint8_t>(1 << 24));
        TTpMemoryStream s(bomb);
        s.Seek(0, TSeekOrigin::End);
        WriteI32(s, static_cast<int32_t>(big.size()));
        s.WriteBuffer(big);
        for (int i = 0; i < 3; ++i)
            WriteI32(s, 0);
        expectError(s.Bytes(), "a decompression bomb");
    }
    TBrioWriteOptions raw;
    raw.Compression = TBrioCompression::None;
    raw.TileWidth = 16, raw.TileHeight = 8;
    const std::vector<uint8_t> b = single(raw);
    const size_t table = colourBlock(b) + 4;
    ASSERT_EQ(LoadLE32(&b[table]), 0xFFFFFFFFu);  // tile 0 is raw
    auto withEntry = [&](int32_t a, int32_t r) {
        std::vector<uint8_t> out = b;
        for (int i = 0; i < 4; ++i) {
            out[table + i] = static_cast<uint8_t>(static_cast<uint32_t>(a) >> (8 * i));
            out[table + 4 + i] = static_cast<uint8_t>(static_cast<uint32_t>(r) >> (8 * i));
        }
        return out;
    };
    expectError(withEntry(-2, 1), "a forward tile reference");
    expectError(withEntry(-2, -7), "a negative tile reference");
    expectError(withEntry(3, 0), "a reference into a missing frame");
    expectError(withEntry(0, 0), "a reference to the layer itself");
    expectError(withEntry(-3, 0), "an unknown tile kind");
}

}  // namespace
}  // namespace tova
