#include "vfs/file_collection.h"

#include <gtest/gtest.h>

#include "archive_fixture.h"
#include "core/binary_io.h"
#include "core/error.h"
#include "core/random.h"
#include "platform/file_stream.h"
#include "support/temp_dir.h"
#include "vfs/zlib_codec.h"

namespace tova {
namespace {

using testing::ArchiveBytes;
using testing::ReadAll;
using testing::TEntries;
using testing::TTempDir;
using testing::WriteBytes;

const TEntries kEntries{{"bgm\\title.ogg", "ogg data"},
                        {"image\\\x95\x5C.png", std::string(3000, 'p')},
                        {"empty.txt", ""},
                        {"script\\start.tsb", "commands"}};

class ArchiveVersions : public ::testing::TestWithParam<int> {};

TEST_P(ArchiveVersions, EveryVersionRoundTrips) {
    const int version = GetParam();
    TTempDir dir;
    WriteBytes(dir / "game.dat", ArchiveBytes(kEntries, version));
    TVrFileCollection archive;
    archive.Open(FromHostPath(dir / "game.dat"));
    EXPECT_EQ(archive.Version, version);
    ASSERT_EQ(archive.Count(), 5);  // the entries and the sentinel
    EXPECT_EQ(archive.Item(4)->GetName(), kEofEntryName);
    for (const auto& [name, content] : kEntries)
        EXPECT_EQ(ReadAll(archive, name), content) << name;
    // Lookup ignores case; separators are part of the name.
    EXPECT_EQ(ReadAll(archive, "BGM\\TITLE.OGG"), "ogg data");
    EXPECT_EQ(archive.IndexOf("bgm/title.ogg"), -1);
    if (version > 100) {
        const TVrFile& png = *archive.Find("image\\\x95\x5C.png");
        EXPECT_FALSE(png.Stored);
        TTpMemoryStream raw;
        archive.ArchiveStream->SetPosition(png.Offset);
        archive.ArchiveStream->CopyTo(raw, png.Size);
        EXPECT_EQ(png.Crc, Crc32(raw.Bytes()));
    }
}

INSTANTIATE_TEST_SUITE_P(Archive, ArchiveVersions, ::testing::Values(0, 100, 101, 102));

TEST(Archive, NamesAndOffsetsAreScrambledFromVersion100On) {
    const std::vector<uint8_t> plain = ArchiveBytes({{"abc", "x"}}, 0);
    const std::vector<uint8_t> scrambled = ArchiveBytes({{"abc", "x"}}, 100);
    // Version 0: count, then the name as it is.
    EXPECT_EQ(std::string(plain.begin() + 8, plain.begin() + 11), "abc");
    // Version 100: "vf", 100, count, length, then the name combined with the generator.
    ASSERT_EQ(std::string(scrambled.begin(), scrambled.begin() + 2), "vf");
    TTpRandom random(TTpRandom::kArchiveSeed);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(scrambled[14 + static_cast<size_t>(i)], static_cast<uint8_t>("abc"[i] ^ random.Next()));
    // The first offset (the directory size, 25) combined with the first value.
    TTpRandom offsets(TTpRandom::kArchiveSeed);
    EXPECT_EQ(static_cast<int32_t>(LoadLE32(&scrambled[17])), 25 ^ offsets.Next());
}

TEST(Archive, AnExecutableCarriesItsArchiveBeforeATrailer) {
    TTempDir dir;
    std::vector<uint8_t> exe(1000, 0xCC);
    const std::vector<uint8_t> archive = ArchiveBytes(kEntries);
    exe.insert(exe.end(), archive.begin(), archive.end());
    exe.insert(exe.end(), {0xE8, 0x03, 0x00, 0x00, uint8_t{'t'}, uint8_t{'z'}});
    WriteBytes(dir / "Game.EXE", exe);
    TVrFileCollection collection;
    collection.Open(FromHostPath(dir / "Game.EXE"));
    EXPECT_EQ(ReadAll(collection, "script\\start.tsb"), "commands");
    EXPECT_GE(collection.Find("bgm\\title.ogg")->Offset, 1000);
    // A player for this system has no extension: its ELF header tells.
    std::vector<uint8_t> elf = exe;
    std::copy_n(
        "\x7F"
        "ELF",
        4, elf.begin());
    WriteBytes(dir / "tovaplayer", elf);
    collection.Open(FromHostPath(dir / "tovaplayer"));
    EXPECT_EQ(ReadAll(collection, "bgm\\title.ogg"), "ogg data");
    // Without the trailer an executable has no archive.
    WriteBytes(dir / "plain.exe", std::vector<uint8_t>(100, 0));
    collection.Open(FromHostPath(dir / "plain.exe"));
    EXPECT_EQ(collection.Count(), 0);
}

TEST(Archive, ADataFileWithAnExtDirectory) {
    TTempDir dir;
    int64_t tablesEnd = 0;
    const std::vector<uint8_t> whole = ArchiveBytes(kEntries, 102, true, &tablesEnd);
    WriteBytes(dir / "game.ext", std::vector<uint8_t>(whole.begin(), whole.begin() + tablesEnd));
    WriteBytes(dir / "game.dat", std::vector<uint8_t>(whole.begin() + tablesEnd, whole.end()));
    TVrFileCollection collection;
    collection.Open(FromHostPath(dir / "game.dat"));
    for (const auto& [name, content] : kEntries)
        EXPECT_EQ(ReadAll(collection, name), content);
    EXPECT_EQ(collection.Find("bgm\\title.ogg")->Offset, 0);
}

TEST(Archive, SplitPartsFormOneByteSequence) {
    TTempDir dir;
    const std::string path = FromHostPath(dir / "game.dat");
    {
        TVrFileCollection source;
        for (const auto& [name, content] : kEntries) {
            TVrFile* entry = source.AddMemoryFile(name);
            entry->Data->WriteBuffer(content.data(), static_cast<int64_t>(content.size()));
        }
        TTpBigFileStream out(path, fmCreate, 64);
        source.SaveToStream(out);
    }
    EXPECT_TRUE(FileExists(FromHostPath(dir / "game.001")));
    EXPECT_TRUE(FileExists(FromHostPath(dir / "game.002")));
    TVrFileCollection collection(64);
    collection.Open(path);
    for (const auto& [name, content] : kEntries)
        EXPECT_EQ(ReadAll(collection, name), content);
    const auto range = collection.OpenRange("bgm\\title.ogg");
    ASSERT_TRUE(range);
}

// Reads of a file archive come from its mapping and size their output from
// what the entry gave before: a stale size must not show, nor a failed read
// leave half an entry in the caller's stream.
TEST(Archive, RepeatedReadsIntoOneStreamStayExact) {
    TTempDir dir;
    const std::string path = FromHostPath(dir / "game.dat");
    const std::string big(70000, 'q');
    WriteBytes(dir / "game.dat", ArchiveBytes({{"a.txt", "first entry"}, {"b.txt", big}}));
    TVrFileCollection collection;
    collection.Open(path);
    TTpMemoryStream out;
    out.WriteBuffer("old content", 11);
    for (int round = 0; round < 2; ++round) {
        for (const auto& [name, content] : TEntries{{"b.txt", big}, {"a.txt", "first entry"}}) {
            collection.ReadArchived(out, *collection.Find(name));
            EXPECT_EQ(out.GetPosition(), 0);
            EXPECT_EQ(ReadAll(out), content);
        }
    }
    EXPECT_EQ(collection.Find("b.txt")->PlainSizeHint, big.size());
    for (uint32_t wrong : {1u, 1u << 20}) {
        collection.Find("b.txt")->PlainSizeHint = wrong;
        collection.ReadArchived(out, *collection.Find("b.txt"));
        EXPECT_EQ(ReadAll(out), big);
    }

    // The same bytes with the deflate data of b.txt damaged.
    std::vector<uint8_t> bytes = ArchiveBytes({{"a.txt", "first entry"}, {"b.txt", big}});
    TVrFileCollection probe;
    TTpBigMemoryStream memory(bytes);
    probe.ReadDirectory(memory);
    const TVrFile& damaged = *probe.Find("b.txt");
    for (int64_t i = 2; i < damaged.Size - 4; ++i)
        bytes[static_cast<size_t>(damaged.Offset + i)] ^= 0x5A;
    WriteBytes(dir / "bad.dat", bytes);
    TVrFileCollection bad;
    bad.Open(FromHostPath(dir / "bad.dat"));
    out.WriteBuffer("old content", 11);
    for (uint32_t hint : {0u, static_cast<uint32_t>(big.size())}) {
        bad.Find("b.txt")->PlainSizeHint = hint;
        EXPECT_THROW(bad.ReadArchived(out, *bad.Find("b.txt")), ETovaError);
        EXPECT_EQ(out.GetSize(), 0);
    }
}

TEST(Archive, RangesExposeTheStoredBytes) {
    TTempDir dir;
    WriteBytes(dir / "game.dat", ArchiveBytes(kEntries));
    TVrFileCollection collection;
    collection.Open(FromHostPath(dir / "game.dat"));
    // A memory entry of 8 bytes is deflated when written: the range gives the zlib stream.
    const auto range = collection.OpenRange("bgm\\title.ogg");
    ASSERT_TRUE(range);
    const std::string stored = ReadAll(*range);
    const std::vector<uint8_t> plain =
        InflateBytes(std::span(reinterpret_cast<const uint8_t*>(stored.data()), stored.size()));
    EXPECT_EQ(std::string(plain.begin(), plain.end()), "ogg data");
    // An entry of size 0 is an empty range, not the rest of the archive.
    EXPECT_EQ(collection.OpenRange(std::string(kEofEntryName))->GetSize(), 0);
    EXPECT_EQ(collection.OpenRange("missing"), nullptr);
}

TEST(Archive, TheSentinelIsNeitherListedNorWritten) {
    TTempDir dir;
    WriteBytes(dir / "game.dat", ArchiveBytes(kEntries));
    TVrFileCollection collection;
    collection.Open(FromHostPath(dir / "game.dat"));
    EXPECT_EQ(ReadAll(collection, std::string(kEofEntryName)), "");
    std::vector<std::string> root;
    collection.ListDir("", root);
    EXPECT_EQ(root, (std::vector<std::string>{"empty.txt"}));
    std::vector<std::string> bgm{"BGM\\TITLE.OGG"};  // already listed, in another case
    collection.ListDir("BGM\\", bgm);
    EXPECT_EQ(bgm.size(), 1u);
    // Writing the collection that was read gives the same entries, once each.
    TTpBigMemoryStream copy;
    collection.BaseDir.clear();  // no loose files: every entry comes from the archive
    collection.SaveToStream(copy);
    copy.SetPosition(0);
    TVrFileCollection again;
    again.ArchiveStream = std::make_unique<TTpBigMemoryStream>(copy.Memory().Bytes());
    again.ReadDirectory(*again.ArchiveStream);
    ASSERT_EQ(again.Count(), 5);
    for (const auto& [name, content] : kEntries)
        EXPECT_EQ(ReadAll(again, name), content);
}

TEST(Archive, ReadEntryFallsBackToLooseFilesInTheArchiveFolder) {
    TTempDir dir;
    WriteBytes(dir / "game.dat", ArchiveBytes(kEntries));
    dir.WriteFile("Loose.TXT", "loose");
    TVrFileCollection collection;
    collection.Open(FromHostPath(dir / "game.dat"));
    EXPECT_EQ(ReadAll(collection, "loose.txt"), "loose");
    try {
        ReadAll(collection, "nothing.txt");
        FAIL();
    } catch (const ETovaError& e) {
        EXPECT_STREQ(e.what(), "nothing.txt:ファイルがありません");
    }
}

TEST(ExtractDir, SplitsAtTheLastBackslash) {
    EXPECT_EQ(ExtractDir("bgm\\title.ogg"), "bgm\\");
    EXPECT_EQ(ExtractDir("a\\b\\c"), "a\\b\\");
    EXPECT_EQ(ExtractDir("title.ogg"), "");
    EXPECT_EQ(ExtractDir("\x95\x5C.png"), "");  // the trail byte 0x5C is no delimiter
    EXPECT_EQ(ExtractDir("C:file"), "C:");
    EXPECT_EQ(ExtractDir("a/b"), "");
}

}  // namespace
}  // namespace tova
