// Crafted images of a few bytes that ask for far more memory or time than
// their bytes hold, loaded through the image cache in a child process
// watched for memory and time: each gives the damaged-image message once
// and the 8 x 8 frame, or, where the image is sound, loads at the cost of
// what it shows.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/error.h"
#include "graphics/brio_collection.h"
#include "graphics/crafted_images.h"
#include "graphics/image_codecs.h"
#include "graphics/memory_image_source.h"
#include "support/bounded_child.h"
#include "vfs/zlib_codec.h"

namespace tova {
namespace {

using test::CraftBrz;
using test::TCraftedImage;
using test::TCraftedLayer;
using TFiles = std::map<std::string, std::vector<uint8_t>>;
using TCheck = std::function<bool(const TBrioItem&, const std::vector<std::string>& reports)>;

constexpr int64_t kMiB = int64_t{1} << 20;

// Acquires name from the files in a child that may take `memory` bytes
// more than this process holds now; check says whether what it got is right.
testing::TChildResult LoadBounded(const TFiles& files, const std::string& name, int64_t memory,
                                  const TCheck& check,
                                  std::chrono::milliseconds time = std::chrono::seconds(20)) {
    testing::TChildLimits limits;
    limits.MaxResidentBytes = testing::OwnResidentBytes() + memory;
    limits.MaxTime = time;
    return testing::RunBounded(
        [&] {
            test::TMemorySource source;
            source.Files = files;
            TBrioCollection cache(source);
            std::vector<std::string> reports;
            cache.OnLoadError = [&](const std::string& m) { reports.push_back(m); };
            int user;
            const TBrioItem& item = cache.Acquire(&user, name, false, false);
            cache.Acquire(&user, name, false, false);
            return check(item, reports);
        },
        limits);
}

// The 8 x 8 frame and one message that names the file and says why.
TCheck RefusedFor(const std::string& name, const std::string& why) {
    return [=](const TBrioItem& item, const std::vector<std::string>& reports) {
        return item.Missing() && item.Width == 8 && reports.size() == 1 &&
               reports[0].find(name) != std::string::npos &&
               reports[0].find("damaged") != std::string::npos && reports[0].find(why) != std::string::npos;
    };
}

TEST(ImageBombs, LayersWithoutColourDataShareOnePictureAndTheBudgetHolds) {
    // Sixteen layers of 4096 x 4096 without colour data (a few hundred
    // bytes) cost one shared blank and the frame, not a picture each.
    const TCraftedImage empty{.Width = 4096, .Height = 4096, .Frames = {std::vector<TCraftedLayer>(16)}};
    const TFiles many = {{"empty.brz", CraftBrz(empty)}};
    ASSERT_LT(many.at("empty.brz").size(), 1000u);
    const auto loaded = [](const TBrioItem& item, const std::vector<std::string>& reports) {
        return !item.Missing() && item.Width == 4096 && item.Frames[0]->Colour.Row(4095)[4095] == 0 &&
               reports.empty();
    };
    const testing::TChildResult shared = LoadBounded(many, "empty.brz", 256 * kMiB, loaded);
    EXPECT_TRUE(shared.Passed()) << shared.Describe();

    // Two such layers of 16384 x 16384 would take 3 GiB; past the load
    // budget the image is refused before any of it is allocated.
    const TCraftedImage huge{.Width = 16384, .Height = 16384, .Frames = {std::vector<TCraftedLayer>(2)}};
    const TFiles big = {{"huge.brz", CraftBrz(huge)}};
    const testing::TChildResult refused =
        LoadBounded(big, "huge.brz", 64 * kMiB, RefusedFor("huge.brz", "512 MiB"));
    EXPECT_TRUE(refused.Passed()) << refused.Describe();
}

TEST(ImageBombs, ATiledLayerInflatesOnlyWhatItsDataCanGive) {
    // One 8192 x 8192 tile (its table entry raw) whose compressed data
    // gives a thousand bytes: the tile's rows are missing, which shows
    // before the inflate buffer or the picture (256 MiB each) is made.
    std::vector<uint8_t> plain = {0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0};
    plain.resize(1008);
    const TCraftedImage tiled{.Width = 8192,
                              .Height = 8192,
                              .TileWidth = 8192,
                              .TileHeight = 8192,
                              .Frames = {{TCraftedLayer{DeflateFast(plain), {}}}}};
    const TFiles files = {{"tiled.brz", CraftBrz(tiled)}};
    ASSERT_LT(files.at("tiled.brz").size(), 200u);
    const testing::TChildResult result =
        LoadBounded(files, "tiled.brz", 64 * kMiB, RefusedFor("tiled.brz", "tile data"));
    EXPECT_TRUE(result.Passed()) << result.Describe();
}

// A chunk of a PNG file: length, type, data, CRC.
void PutChunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& data) {
    const auto be32 = [&](uint32_t v) {
        for (int shift = 24; shift >= 0; shift -= 8)
            png.push_back(static_cast<uint8_t>(v >> shift));
    };
    be32(static_cast<uint32_t>(data.size()));
    std::vector<uint8_t> typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    png.insert(png.end(), typed.begin(), typed.end());
    be32(Crc32(typed));
}

TEST(ImageBombs, ATruncatedPngIsRefusedBeforeItsPictureIsMade) {
    // An 8192 x 8192 RGB PNG whose pixel data stops after a few bytes.
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(png, "IHDR", {0, 0, 0x20, 0, 0, 0, 0x20, 0, 8, 2, 0, 0, 0});
    PutChunk(png, "IDAT", DeflateFast(std::vector<uint8_t>(200)));
    const TFiles files = {{"cut.png", png}};
    const testing::TChildResult result =
        LoadBounded(files, "cut.png", 64 * kMiB, RefusedFor("cut.png", "too short"));
    EXPECT_TRUE(result.Passed()) << result.Describe();
}

TEST(ImageBombs, TheTextChunksOfAPngAreSkippedUnread) {
    // A 1 x 1 grey PNG with forty compressed text chunks of 7.9 MB each
    // (under 2 MB of file): the picture needs none of them, so none is
    // inflated or kept.
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(png, "IHDR", {0, 0, 0, 1, 0, 0, 0, 1, 8, 0, 0, 0, 0});
    std::vector<uint8_t> text = {'k', 0, 0};  // the keyword, its end, deflate
    const std::vector<uint8_t> packed = DeflateFast(std::vector<uint8_t>(7'900'000, 'a'));
    text.insert(text.end(), packed.begin(), packed.end());
    for (int i = 0; i < 40; ++i)
        PutChunk(png, "zTXt", text);
    PutChunk(png, "IDAT", DeflateFast(std::vector<uint8_t>{0, 0x80}));
    PutChunk(png, "IEND", {});
    ASSERT_LT(png.size(), size_t{2} << 20);
    const TFiles files = {{"text.png", png}};
    const auto loaded = [](const TBrioItem& item, const std::vector<std::string>& reports) {
        return !item.Missing() && item.Width == 1 && item.Frames[0]->Colour.Row(0)[0] == 0x808080 &&
               reports.empty();
    };
    const testing::TChildResult result =
        LoadBounded(files, "text.png", 64 * kMiB, loaded, std::chrono::seconds(10));
    EXPECT_TRUE(result.Passed()) << result.Describe();
}

TEST(ImageBombs, AJpegLayerOfThousandsOfScansStopsAtTheMostScans) {
    // A progressive 4096 x 4096 JPEG whose last scan is repeated until it
    // has 2000: 130 KB, and every scan is a pass over all the blocks.
    const TCraftedImage image{.Width = 4096,
                              .Height = 4096,
                              .Bpp = 24,
                              .Compression = TBrioCompression::Jpeg,
                              .Frames = {{TCraftedLayer{test::GreyJpeg(4096, 4096, true, 2000), {}}}}};
    const TFiles files = {{"scans.brz", CraftBrz(image)}};
    ASSERT_LT(files.at("scans.brz").size(), 256u * 1024);
    const testing::TChildResult result =
        LoadBounded(files, "scans.brz", 256 * kMiB, RefusedFor("scans.brz", "more than 100 scans"),
                    std::chrono::seconds(10));
    EXPECT_TRUE(result.Passed()) << result.Describe();
}

TEST(ImageBombs, AJpegOfSeveralScansCountsItsCoefficientsInTheBudget) {
    // 1024 x 1024: a 4 MiB picture; several scans keep 2 MiB of coefficients besides.
    const std::vector<uint8_t> baseline = test::GreyJpeg(1024, 1024, false);
    const std::vector<uint8_t> progressive = test::GreyJpeg(1024, 1024, true);
    TImageBudget tight(5 * kMiB);
    const TDecodedImage one = DecodeJpeg(baseline, {.Budget = &tight});
    EXPECT_EQ(one.Colour.Row(1023)[1023], 0x808080u);
    TImageBudget alsoTight(5 * kMiB);
    EXPECT_THROW(DecodeJpeg(progressive, {.Budget = &alsoTight}), ETovaError);
    TImageBudget roomy(7 * kMiB);
    const TDecodedImage several = DecodeJpeg(progressive, {.Budget = &roomy});
    EXPECT_EQ(several.Colour.Row(1023)[1023], 0x808080u);
    EXPECT_EQ(roomy.Used(), 4 * kMiB);  // the coefficients are given back, the picture stays
}

}  // namespace
}  // namespace tova
