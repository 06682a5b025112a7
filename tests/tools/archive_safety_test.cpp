// tova extract and tova pack on hostile input: links planted in the target or
// the source, entries that clash with each other, folder names code page 932
// cannot spell, damaged entries and archives that inflate without end.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "sdk/archive_extract.h"
#include "sdk/archive_tools.h"
#include "support/bounded_child.h"
#include "support/temp_dir.h"
#include "support/zero_archive.h"
#include "tova_runner.h"
#include "vfs/big_stream.h"
#include "vfs/file_collection.h"

namespace tova {
namespace {

namespace fs = std::filesystem;
using testing::Quote;
using testing::Tova;
using testing::TTempDir;

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class ArchiveSafety : public ::testing::Test {
protected:
    // An archive of in-memory entries (name, content), in this order.
    std::string Archive(const std::vector<std::pair<std::string, std::string>>& entries) {
        TVrFileCollection collection;
        for (const auto& [name, content] : entries)
            collection.AddMemoryFile(name)->Data->WriteBuffer(content.data(),
                                                              static_cast<int64_t>(content.size()));
        TTpBigMemoryStream bytes;
        collection.SaveToStream(bytes);
        const std::string path = work_ / ("test" + std::to_string(++archives_) + ".dat");
        bytes.SaveToFile(path);
        return path;
    }
    int Extract(const std::string& archive, const std::string& target, const std::string& options = "") {
        return Tova("extract " + options + " " + Quote(archive) + " " + Quote(target) + " 2>/dev/null")
            .exitCode;
    }
    TTempDir work_;
    int archives_ = 0;
};

TEST_F(ArchiveSafety, LinksInTheTargetAreNeverFollowed) {
    const std::string archive = Archive({{"a.txt", "first"}, {"link\\p", "through a folder link"}});
    const std::string outside = work_ / "outside";
    fs::create_directories(outside);
    fs::create_directories(work_ / "o");
    fs::create_directory_symlink("../outside", work_ / "o/link");
    EXPECT_EQ(Extract(archive, work_ / "o"), 1);
    EXPECT_TRUE(fs::is_empty(outside));
    EXPECT_FALSE(fs::exists(work_ / "o/a.txt")) << "refused before anything is written";

    // A link standing where a file goes, to an existing file or to nothing.
    const std::string second =
        Archive({{"a.txt", "first"}, {"victim", "overwritten?"}, {"dangling", "created?"}});
    std::ofstream(outside + "/victim") << "keep";
    fs::create_directories(work_ / "p");
    fs::create_symlink(outside + "/victim", work_ / "p/victim");
    fs::create_symlink(outside + "/new", work_ / "p/dangling");
    EXPECT_EQ(Extract(second, work_ / "p"), 1);
    EXPECT_EQ(Slurp(outside + "/victim"), "keep");
    EXPECT_FALSE(fs::exists(outside + "/new"));
    EXPECT_FALSE(fs::exists(work_ / "p/a.txt"));

    // Regular files from an earlier extraction are replaced as before.
    fs::create_directories(work_ / "q");
    std::ofstream(work_ / "q/a.txt") << "old";
    EXPECT_EQ(Extract(archive, work_ / "q"), 0);
    EXPECT_EQ(Slurp(work_ / "q/a.txt"), "first");
    EXPECT_EQ(Slurp(work_ / "q/link/p"), "through a folder link");
}

TEST_F(ArchiveSafety, EntriesThatClashAreRefusedBeforeWriting) {
    for (const auto& entries : std::vector<std::vector<std::pair<std::string, std::string>>>{
             {{"a.txt", "a"}, {"d", "file"}, {"d\\e", "below the file"}},
             {{"a.txt", "a"}, {"d\\e", "below"}, {"D\\x", "x"}, {"d", "file over the folder"}},
             {{"a.txt", "a"}, {"b\\.\\c", "one"}, {"b\\c", "the same path"}}}) {
        const std::string target = work_ / "x";
        EXPECT_EQ(Extract(Archive(entries), target), 1) << entries.back().first;
        EXPECT_FALSE(fs::exists(target + "/a.txt")) << entries.back().first;
    }
    // The target itself holding a file where the archive needs a folder.
    fs::create_directories(work_ / "y");
    std::ofstream(work_ / "y/d") << "a file";
    EXPECT_EQ(Extract(Archive({{"a.txt", "a"}, {"d\\e", "e"}}), work_ / "y"), 1);
    EXPECT_FALSE(fs::exists(work_ / "y/a.txt"));
}

TEST_F(ArchiveSafety, HostNamesAreNeverSpelledLossily) {
    // The target keeps its real name, even one code page 932 cannot spell.
    const std::string archive = Archive({{"dir\\a.txt", "content"}});
    ASSERT_EQ(Extract(archive, work_ / "outé"), 0);
    EXPECT_EQ(Slurp(work_ / "outé/dir/a.txt"), "content");
    EXPECT_FALSE(fs::exists(work_ / "out?"));
    // A name that is not code page 932 has no host spelling.
    EXPECT_EQ(Extract(Archive({{"a.txt", "a"}, {"bad\x80name", "b"}}), work_ / "z"), 1);
    EXPECT_FALSE(fs::exists(work_ / "z/a.txt"));
}

TEST_F(ArchiveSafety, BadCrcIsReportedAndItsFileNotLeft) {
    const std::string archive =
        Archive({{"good.txt", std::string(100, 'g')}, {"bad.txt", std::string(100, 'b')}});
    std::string bytes = Slurp(archive);
    bytes[bytes.size() - 3] ^= 0x20;  // inside bad.txt's deflated data
    std::ofstream(archive, std::ios::binary) << bytes;
    EXPECT_EQ(Extract(archive, work_ / "x"), 1);
    EXPECT_EQ(Slurp(work_ / "x/good.txt"), std::string(100, 'g'));
    EXPECT_FALSE(fs::exists(work_ / "x/bad.txt"));
}

TEST_F(ArchiveSafety, SizeBudgetStopsABomb) {
    const std::string archive = Archive(
        {{"a.txt", "small"}, {"bomb1", std::string(4 << 20, '\0')}, {"bomb2", std::string(4 << 20, '\0')}});
    EXPECT_EQ(Extract(archive, work_ / "x", "--max-size 5000000"), 1);
    EXPECT_EQ(Slurp(work_ / "x/a.txt"), "small");
    EXPECT_FALSE(fs::exists(work_ / "x/bomb2"));
    EXPECT_EQ(Extract(archive, work_ / "y", "--max-size 9000000"), 0);
    EXPECT_EQ(fs::file_size(work_ / "y/bomb2"), 4u << 20);

    // A file that does not compress is stored as it is; the budget holds for it too.
    fs::create_directories(work_ / "src");
    std::string noise(1 << 20, '\0');
    uint32_t state = 12345;
    for (char& c : noise)
        c = static_cast<char>((state = state * 1103515245u + 12345u) >> 24);
    std::ofstream(work_ / "src/noise.bin", std::ios::binary) << noise;
    const std::string stored = work_ / "stored.dat";
    ASSERT_EQ(Tova("pack " + Quote(stored) + " " + Quote(work_ / "src") + " 2>/dev/null").exitCode, 0);
    EXPECT_EQ(Extract(stored, work_ / "z", "--max-size 500000"), 1);
    EXPECT_FALSE(fs::exists(work_ / "z/noise.bin"));
    EXPECT_EQ(Extract(stored, work_ / "w", "--max-size 2000000"), 0);
    EXPECT_EQ(Slurp(work_ / "w/noise.bin"), noise);
}

TEST_F(ArchiveSafety, PackingStoresLinksAsLinks) {
    const std::string src = work_ / "src";
    fs::create_directories(src + "/d");
    std::ofstream(src + "/a.txt") << "a";
    std::ofstream(work_ / "secret") << "outside";
    fs::create_symlink(work_ / "secret", src + "/h");
    fs::create_symlink("../a.txt", src + "/d/l");
    const std::string archive = work_ / "out.dat";
    ASSERT_EQ(Tova("pack " + Quote(archive) + " " + Quote(src) + " 2>/dev/null").exitCode, 0);
    EXPECT_EQ(Tova("list " + Quote(archive)).out.find(".."), std::string::npos);
    EXPECT_EQ(Tova("cat " + Quote(archive) + " h 2>/dev/null").exitCode, 1);

    ASSERT_EQ(Tova("pack --follow-links " + Quote(archive) + " " + Quote(src)).exitCode, 0);
    EXPECT_EQ(Tova("cat " + Quote(archive) + " h").out, "outside");
    EXPECT_EQ(Tova("cat " + Quote(archive) + " 'd\\l'").out, "a");
}

// One deflated entry larger than any reader may hold in memory (the player's
// in-memory reads stop at 256 MiB): extract, verify and cat all take it,
// piece by piece, with memory that does not grow with the entry.
TEST_F(ArchiveSafety, AnEntryTooLargeToHoldStreamsThroughEveryReader) {
    constexpr int64_t kSize = int64_t{320} << 20;
    const std::string archive = work_ / "big.dat";
    testing::WriteZeroArchive(archive, "big.bin", kSize);
    ASSERT_LT(fs::file_size(archive), 1u << 20) << "the archive stays small on disk";
    const testing::TChildLimits limits{int64_t{128} << 20, std::chrono::milliseconds(60000)};
    const auto bounded = [&](const std::function<bool(TVrFileCollection&)>& body) {
        return testing::RunBounded([&] { return body(*sdk::OpenToolArchive(archive, kBigFilePartSize)); },
                                   limits);
    };

    const std::string target = work_ / "x";
    const auto extracted = bounded([&](TVrFileCollection& collection) {
        std::ostringstream err;
        return sdk::ExtractArchive(collection, target, {}, err) == 0;
    });
    EXPECT_TRUE(extracted.Passed()) << extracted.Describe();
    ASSERT_EQ(fs::file_size(target + "/big.bin"), static_cast<uintmax_t>(kSize));
    std::ifstream in(target + "/big.bin", std::ios::binary);
    std::vector<char> piece(1 << 20);
    bool allZero = true;
    while (in.read(piece.data(), static_cast<std::streamsize>(piece.size())) || in.gcount() > 0)
        allZero =
            allZero && std::all_of(piece.begin(), piece.begin() + in.gcount(), [](char c) { return c == 0; });
    EXPECT_TRUE(allZero);
    fs::remove_all(target);

    const auto verified = bounded([](TVrFileCollection& collection) {
        std::ostringstream out;
        return sdk::VerifyArchive(collection, out) == 0 && out.str().empty();
    });
    EXPECT_TRUE(verified.Passed()) << verified.Describe();
    EXPECT_EQ(Tova("cat " + Quote(archive) + " big.bin | wc -c").out, std::to_string(kSize) + "\n");
}

}  // namespace
}  // namespace tova
