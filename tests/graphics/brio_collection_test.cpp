// The image cache: sharing by key, freeing with the last user, the frame of
// a missing or damaged image, trimming, masks, reloading, and drawing frames.
#include "graphics/brio_collection.h"

#include <gtest/gtest.h>

#include "core/error.h"
#include "graphics/bmp_file.h"
#include "graphics/brio_test_images.h"
#include "graphics/image_codecs.h"
#include "graphics/memory_image_source.h"

namespace tova {
namespace {

using test::TMemorySource;

// A 6 x 4 picture, transparent (alpha 0) outside the 2 x 2 block at (3, 1).
std::vector<uint8_t> SpritePng() {
    TSurface32 colour(6, 4);
    TSurface8 alpha(6, 4);
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 6; ++x) {
            colour.Row(y)[x] = 0x010101u * static_cast<uint32_t>(10 * y + x);
            alpha.Row(y)[x] = (x >= 3 && x < 5 && y >= 1 && y < 3) ? 255 : 0;
        }
    const TConstView8 a = alpha.View();
    return EncodePng(colour.View(), &a);
}

TEST(BrioCollection, SharesItemsByKeyAndFreesThemWithTheLastUser) {
    TMemorySource source;
    source.Files["pic\\a.png"] = SpritePng();
    TBrioCollection cache(source);
    int u1, u2;
    TBrioItem& a = cache.Acquire(&u1, "pic\\a.png", false, false);
    TBrioItem& b = cache.Acquire(&u2, "PIC\\A.PNG", false, false);
    EXPECT_EQ(&a, &b);
    EXPECT_EQ(source.Loads, 1);
    TBrioItem& masked = cache.Acquire(&u1, "pic\\a.png", false, true);
    EXPECT_NE(&masked, &a);
    EXPECT_EQ(masked.Key(), "pic\\a.png?m");
    cache.Acquire(&u1, "pic\\a.png", false, false);  // no duplicate user
    EXPECT_EQ(a.Users().size(), 2u);
    cache.Release(&a, &u1);
    EXPECT_EQ(cache.Count(), 2);
    cache.Release(&a, &u2);
    EXPECT_EQ(cache.Count(), 1);
    cache.Acquire(&u1, "pic\\a.png", false, false);
    EXPECT_EQ(source.Loads, 3);  // loaded again after it was freed
}

TEST(BrioCollection, PngTransparencyBecomesTheMaskAndTrimmingCrops) {
    TMemorySource source;
    source.Files["a.png"] = SpritePng();
    TBrioCollection cache(source);
    int user;
    TBrioItem& plain = cache.Acquire(&user, "a.png", false, false);
    ASSERT_EQ(plain.Frames.size(), 1u);
    EXPECT_EQ(plain.Width, 6);
    EXPECT_TRUE(plain.Frames[0]->HasMask);
    EXPECT_EQ(plain.Frames[0]->Mask.Row(0)[0], 0);  // transparent in the file, transparent here
    EXPECT_EQ(plain.Frames[0]->Mask.Row(1)[3], 255);

    TBrioItem& trimmed = cache.Acquire(&user, "a.png", true, true);
    EXPECT_EQ(trimmed.Key(), "a.png?m?t");
    const TBrioItemFrame& f = *trimmed.Frames[0];
    EXPECT_EQ(f.Colour.Width(), 2);
    EXPECT_EQ(f.Colour.Height(), 2);
    EXPECT_EQ(f.OffsetX, 3);
    EXPECT_EQ(f.OffsetY, 1);
    EXPECT_EQ(f.Colour.Row(0)[0], 0x010101u * 13);
    EXPECT_EQ(trimmed.Width, 6);

    // Drawn at (10, 20) the content lands at its offset; flipped, mirrored.
    TSurface32 screen(20, 30);
    trimmed.Draw(screen.View(), screen.Bounds(), 10, 20, 0, LevelCopy);
    EXPECT_EQ(screen.Row(21)[13], 0x010101u * 13);
    EXPECT_EQ(screen.Row(20)[10], 0u);
    TSurface32 flipped(20, 30);
    trimmed.Draw(flipped.View(), flipped.Bounds(), 10, 20, 0, LevelCopy, TFlip::Horizontal);
    EXPECT_EQ(flipped.Row(21)[12], 0x010101u * 13);  // 6 - 3 - 2 = 1 from the left, flipped content
}

TEST(BrioCollection, MissingAndDamagedImagesGiveTheEightByEightFrameAndOneReport) {
    TMemorySource source;
    source.Files["bad.brz"] = {'B', 'r', 'i', 'o', '1', '0', '6', 40, 0, 0, 0, 1, 2};
    TBrioCollection cache(source);
    std::vector<std::string> reports;
    cache.OnLoadError = [&](const std::string& m) { reports.push_back(m); };
    int user;
    for (const char* name : {"none.brz", "bad.brz"}) {
        TBrioItem& item = cache.Acquire(&user, name, false, true);
        EXPECT_TRUE(item.Missing());
        ASSERT_EQ(item.Frames.size(), 1u);
        const TBrioItemFrame& f = *item.Frames[0];
        EXPECT_EQ(f.Colour.Width(), 8);
        EXPECT_EQ(f.Colour.Row(7)[7], 0u);
        EXPECT_EQ(f.TransparentColor, std::optional<TPixel32>(0));
        EXPECT_TRUE(f.HasMask);
        EXPECT_EQ(f.Mask.Row(0)[0], 0);
    }
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0], "image none.brz: ファイルがありません");
    EXPECT_NE(reports[1].find("bad.brz"), std::string::npos);
    cache.Reload(true);
    cache.Acquire(&user, "bad.brz", false, false);
    EXPECT_EQ(reports.size(), 2u);  // reported once only
}

TEST(BrioCollection, ScrambledImagesUseTheProjectKeyAndReloadKeepsUsers) {
    TBrioFrameList list(77);
    TBrioFrame& frame = list.AddFrame();
    frame.Bpp = 8;
    frame.Palette = test::Palette(8);
    frame.TransparentIndex = 3;
    frame.Delay = 0;
    test::FillPicture(frame.AddLayer().Picture, 8, 9, 5, 2);
    frame.Layers[0]->Picture.Indices.Row(0)[0] = 3;
    TMemorySource source;
    source.Files["s.brz"] = test::Save(list);
    TBrioCollection cache(source);
    int user;
    TBrioItem& item = cache.Acquire(&user, "s.brz", false, true);
    EXPECT_TRUE(item.Missing());  // no key yet: reported and drawn as missing
    cache.SetImageKey(77);
    cache.Reload(false);
    ASSERT_FALSE(item.Missing());
    const TBrioItemFrame& f = *item.Frames[0];
    EXPECT_EQ(f.Delay, 1);  // a stored 0 becomes 1
    EXPECT_EQ(item.Duration, 1);
    EXPECT_EQ(f.Mask.Row(0)[0], 0);
    EXPECT_EQ(f.Colour.Row(0)[1], frame.Palette[frame.Layers[0]->Picture.Indices.Row(0)[1]]);
    EXPECT_EQ(f.TransparentColor, std::optional<TPixel32>(frame.Palette[3]));
    cache.SetDepthConversion(true);
    EXPECT_TRUE(cache.DepthConversion());
    EXPECT_EQ(item.Users().size(), 1u);
    EXPECT_EQ(source.Loads, 3);
}

TEST(BrioCollection, KeysSplitIntoNameAndFlags) {
    EXPECT_EQ(BrioItemKey("a", true, true), "a?m?t");
    const TBrioKeyParts both = SplitBrioItemKey("dir\\a.brz?m?t");
    EXPECT_EQ(both.Name, "dir\\a.brz");
    EXPECT_TRUE(both.Mask && both.Trim);
    const TBrioKeyParts trim = SplitBrioItemKey("a?t");
    EXPECT_TRUE(trim.Trim && !trim.Mask);
    EXPECT_EQ(trim.Name, "a");
}

TEST(BrioCollection, TiledDrawingStartsAtTheOffset) {
    TBrioFrameList list;
    TBrioFrame& frame = list.AddFrame();
    frame.Bpp = 24;
    frame.AddLayer().Picture.Resize(24, 2, 2);
    TSurface32& c = frame.Layers[0]->Picture.Colour;
    c.Row(0)[0] = 1, c.Row(0)[1] = 2, c.Row(1)[0] = 3, c.Row(1)[1] = 4;
    TMemorySource source;
    source.Files["t.brz"] = test::Save(list);
    TBrioCollection cache(source);
    int user;
    TBrioItem& item = cache.Acquire(&user, "t.brz", false, false);
    TSurface32 screen(5, 3);
    item.DrawTiled(screen.View(), screen.Bounds(), {0, 0, 5, 3}, 0, 1, 0);
    EXPECT_EQ(screen.Row(0)[0], 2u);
    EXPECT_EQ(screen.Row(0)[1], 1u);
    EXPECT_EQ(screen.Row(2)[4], 2u);
    EXPECT_EQ(screen.Row(1)[2], 4u);
}

}  // namespace
}  // namespace tova
