#include <gtest/gtest.h>

#include <fstream>

#include "core/error.h"
#include "support/temp_dir.h"
#include "vfs/big_stream.h"
#include "vfs/pe_builder.h"
#include "vfs/resource_locator.h"

namespace tova {
namespace {

using testing::TPeBuilder;
using testing::TPeImageBytes;
using testing::TTempDir;

std::vector<uint8_t> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> ReadLocation(const TResourceLocation& location) {
    TTpBigResourceStream stream(location, "", "");
    std::vector<uint8_t> bytes(static_cast<size_t>(location.size));
    stream.ReadBuffer(bytes.data(), location.size);
    return bytes;
}

class PeResourceTest : public ::testing::Test {
protected:
    PeResourceTest() {
        builder_.Add(u"BINTYPE", u"DUMMY", Bytes("archive bytes...vf"));
        builder_.Add(u"DATA", u"MADEWITH", Bytes("logo"));
        builder_.Add(u"#10", u"#101", Bytes("numbered"));
        builder_.Add(u"DATA", u"\u30B2\u30FC\u30E0", Bytes("japanese"));  // katakana "ge-mu"
        image_ = builder_.Build();
    }

    std::string Save(const std::vector<uint8_t>& bytes, const std::string& name = "game.exe") {
        const std::string path = dir_ / name;
        WriteBytes(path, bytes);
        return path;
    }

    TTempDir dir_;
    TPeBuilder builder_;
    TPeImageBytes image_;
};

TEST_F(PeResourceTest, FindsResourcesByNameWithoutRegardToCase) {
    const std::string path = Save(image_.bytes);
    const auto dummy = FindPeResource(path, "dummy", "BinType");
    ASSERT_TRUE(dummy);
    EXPECT_EQ(dummy->fileName, path);
    EXPECT_EQ(dummy->memory, nullptr);
    EXPECT_EQ(ReadLocation(*dummy), Bytes("archive bytes...vf"));
    const auto logo = FindPeResource(path, "MADEWITH", "DATA");
    ASSERT_TRUE(logo);
    EXPECT_EQ(ReadLocation(*logo), Bytes("logo"));
    const auto japanese = FindPeResource(path, SysText("ゲーム"), "data");
    ASSERT_TRUE(japanese);
    EXPECT_EQ(ReadLocation(*japanese), Bytes("japanese"));

    EXPECT_FALSE(FindPeResource(path, "MISSING", "DATA"));
    EXPECT_FALSE(FindPeResource(path, "DUMMY", "DATA"));
    EXPECT_FALSE(FindPeResource(path, "DUMMY", "NOTYPE"));
}

TEST_F(PeResourceTest, FindsNumericIdsByHashNumber) {
    const std::string path = Save(image_.bytes);
    const auto numbered = FindPeResource(path, "#101", "#10");
    ASSERT_TRUE(numbered);
    EXPECT_EQ(ReadLocation(*numbered), Bytes("numbered"));
    // Without '#' a number is a name, and ids never match names.
    EXPECT_FALSE(FindPeResource(path, "101", "#10"));
    EXPECT_FALSE(FindPeResource(path, "#102", "#10"));
    EXPECT_FALSE(FindPeResource(path, "#101", "#70000"));
}

TEST_F(PeResourceTest, ReadsPe32PlusImages) {
    const std::string path = Save(builder_.Build(true).bytes);
    const auto dummy = FindPeResource(path, "DUMMY", "BINTYPE");
    ASSERT_TRUE(dummy);
    EXPECT_EQ(ReadLocation(*dummy), Bytes("archive bytes...vf"));
}

TEST_F(PeResourceTest, FilesThatAreNoPeOrHaveNoResourcesGiveNothing) {
    EXPECT_FALSE(FindPeResource(dir_ / "missing.exe", "DUMMY", "BINTYPE"));
    EXPECT_FALSE(FindPeResource(Save(Bytes("just some text, not an image"), "a.exe"), "DUMMY", "BINTYPE"));
    EXPECT_FALSE(FindPeResource(Save({}, "empty.exe"), "DUMMY", "BINTYPE"));

    auto dosOnly = image_.bytes;
    TPeBuilder::Put32(dosOnly, 0x3C, 0x7FFFFFF0);  // the PE header would be far past the end
    EXPECT_FALSE(FindPeResource(Save(dosOnly, "dos.exe"), "DUMMY", "BINTYPE"));

    auto noTable = image_.bytes;
    TPeBuilder::Put32(noTable, image_.optionalHeaderAt + 96 + 16, 0);
    EXPECT_FALSE(FindPeResource(Save(noTable, "notable.exe"), "DUMMY", "BINTYPE"));

    auto fewDirectories = image_.bytes;
    TPeBuilder::Put32(fewDirectories, image_.optionalHeaderAt + 92, 2);
    EXPECT_FALSE(FindPeResource(Save(fewDirectories, "few.exe"), "DUMMY", "BINTYPE"));
}

TEST_F(PeResourceTest, DamagedDirectoriesThrowNamingTheFile) {
    auto expectDamaged = [&](std::vector<uint8_t> bytes, const char* what) {
        const std::string path = Save(bytes, "damaged.exe");
        try {
            FindPeResource(path, "DUMMY", "BINTYPE");
            ADD_FAILURE() << what << ": no error";
        } catch (const ETovaError& e) {
            EXPECT_NE(std::string(e.what()).find("damaged.exe"), std::string::npos) << what;
        }
    };
    const size_t root = image_.resourceAt;
    auto manyEntries = image_.bytes;
    TPeBuilder::Put16(manyEntries, root + 14, 0xFFFF);
    expectDamaged(manyEntries, "entry count past the end");

    auto badSubdirectory = image_.bytes;
    for (size_t i = 0; i < 3; ++i)
        TPeBuilder::Put32(badSubdirectory, root + 16 + 8 * i + 4, 0x8FFFFFF0);
    expectDamaged(badSubdirectory, "subdirectory offset past the end");

    auto badName = image_.bytes;
    for (size_t i = 0; i < 2; ++i)
        TPeBuilder::Put32(badName, root + 16 + 8 * i, 0x80FFFFF0);
    expectDamaged(badName, "name offset past the end");

    auto badData = image_.bytes;
    for (size_t i = 0; i < 4; ++i)
        TPeBuilder::Put32(badData, image_.dataEntriesAt + 16 * i + 4, 0x7FFFFFFF);
    expectDamaged(badData, "data size past the end");

    auto dataOutsideSections = image_.bytes;
    for (size_t i = 0; i < 4; ++i)
        TPeBuilder::Put32(dataOutsideSections, image_.dataEntriesAt + 16 * i, 0x10);
    expectDamaged(dataOutsideSections, "data RVA in no section");

    auto cut = image_.bytes;
    cut.resize(image_.resourceAt + 20);
    expectDamaged(cut, "file cut inside the directory");
}

TEST_F(PeResourceTest, DirectoryLoopsEndWithoutHanging) {
    // Every subdirectory offset points back at the root table.
    auto loop = image_.bytes;
    const size_t root = image_.resourceAt;
    for (size_t i = 0; i < 3; ++i)
        TPeBuilder::Put32(loop, root + 16 + 8 * i + 4, 0x80000000u);
    const std::string path = Save(loop);
    try {
        EXPECT_FALSE(FindPeResource(path, "BINTYPE", "BINTYPE"));
    } catch (const ETovaError&) {
    }
}

TEST_F(PeResourceTest, EveryTruncationAndByteFlipIsHandledCleanly) {
    // Run under the sanitizers this proves no read strays out of bounds.
    auto probe = [&](const std::vector<uint8_t>& bytes) {
        const std::string path = Save(bytes, "probe.exe");
        try {
            FindPeResource(path, "DUMMY", "BINTYPE");
        } catch (const ETovaError&) {
        }
    };
    for (size_t size = 0; size < image_.bytes.size(); size += 7)
        probe(
            std::vector<uint8_t>(image_.bytes.begin(), image_.bytes.begin() + static_cast<ptrdiff_t>(size)));
    for (size_t at = 0; at < image_.bytes.size(); ++at) {
        if (at >= 0x40 + 24 + 224 + 40 && at < image_.resourceAt) continue;  // padding
        auto flipped = image_.bytes;
        flipped[at] ^= 0xFF;
        probe(flipped);
    }
}

TEST(TResourceLocatorTest, OwnModuleUsesTheEmbeddedTable) {
    static const uint8_t logo[] = {'v', 'f', 1, 2};
    TResourceLocator locator;
    EXPECT_TRUE(locator.IsOwnModule(""));
    EXPECT_FALSE(locator.IsOwnModule("game.exe"));
    locator.SetOwnModuleName("TovaPlayer.exe");
    EXPECT_TRUE(locator.IsOwnModule("tovaplayer.EXE"));
    EXPECT_FALSE(locator.IsOwnModule(""));
    EXPECT_FALSE(locator.IsOwnModule("other.exe"));

    locator.AddEmbedded("MadeWith", "data", logo);
    const auto found = locator.Find("TOVAPLAYER.exe", "madewith", "DATA");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->memory, logo);
    EXPECT_EQ(found->size, 4);
    EXPECT_FALSE(locator.Find("TovaPlayer.exe", "DUMMY", "BINTYPE"));
    EXPECT_FALSE(locator.Find("nowhere/missing.exe", "MADEWITH", "DATA"));
}

TEST_F(PeResourceTest, LocatorReadsOtherModulesAsPeFiles) {
    const std::string path = Save(image_.bytes);
    TResourceLocator locator;
    locator.SetOwnModuleName("TovaPlayer");
    const auto found = locator.Find(path, "DUMMY", "BINTYPE");
    ASSERT_TRUE(found);
    EXPECT_EQ(ReadLocation(*found), Bytes("archive bytes...vf"));
}

}  // namespace
}  // namespace tova
