// The tova command as users and scripts run it: output formats and exit codes.
#include <gtest/gtest.h>

#include "tova_runner.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "support/temp_dir.h"
#include "sdk/archive_tools.h"
#include "vfs/big_stream.h"
#include "vfs/file_collection.h"

namespace tova {
namespace {

using testing::TTempDir;

using testing::Quote;
using testing::Tova;
using TResult = testing::TToolResult;

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class TovaCli : public ::testing::Test {
protected:
    TovaCli() {
        src_.WriteFile("b.txt", std::string(100, 'b'));
        src_.WriteFile("a/テスト.txt", "japanese name");
        src_.WriteFile("bgm/title.ogg", "not really ogg");
    }
    TTempDir src_, out_;
};

TEST_F(TovaCli, PackAndListInDirectoryOrder) {
    const std::string archive = out_ / "game.dat";
    ASSERT_EQ(Tova("pack " + Quote(archive) + " " + Quote(src_.Path())).exitCode, 0);
    const TResult list = Tova("list " + Quote(archive));
    ASSERT_EQ(list.exitCode, 0);
    // Sorted bytewise: "a\..." < "b.txt" < "bgm\...".
    std::istringstream lines(list.out);
    std::string line;
    std::vector<std::string> rows;
    while (std::getline(lines, line)) rows.push_back(line);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_TRUE(rows[0].starts_with("a\\テスト.txt\t")) << rows[0];
    EXPECT_TRUE(rows[1].starts_with("b.txt\t")) << rows[1];
    EXPECT_EQ(rows[1].substr(rows[1].find('\t', 6)), "\tzlib\t" + rows[1].substr(rows[1].size() - 8));
    EXPECT_TRUE(rows[2].starts_with("bgm\\title.ogg\t14\tstored\t")) << rows[2];
    EXPECT_EQ(Tova("cat " + Quote(archive) + " 'A\\テスト.TXT'").out, "japanese name");
    EXPECT_EQ(Tova("verify " + Quote(archive)).exitCode, 0);
}

TEST_F(TovaCli, EverySourceKindReadsBack) {
    const std::string exe = out_ / "player.bin";
    std::ofstream(exe, std::ios::binary) << std::string(5000, 'M');
    const std::vector<std::pair<std::string, std::string>> packs{
        {"v0.dat", "--version 0"},
        {"v100.dat", "--version 100"},
        {"v101.dat", "--version 101"},
        {"ext.dat", "--ext"},
        {"game.exe", "--append-to " + Quote(exe)},
        {"split.dat", "--part-size 50"}};
    for (const auto& [name, options] : packs) {
        const std::string archive = out_ / name;
        ASSERT_EQ(Tova("pack " + options + " " + Quote(archive) + " " + Quote(src_.Path())).exitCode, 0) << name;
        const std::string partSize = name == "split.dat" ? " --part-size 50" : "";
        EXPECT_EQ(Tova("cat" + partSize + " " + Quote(archive) + " 'bgm\\title.ogg'").out, "not really ogg") << name;
        EXPECT_EQ(Tova("verify" + partSize + " " + Quote(archive)).exitCode, 0) << name;
    }
    EXPECT_TRUE(std::filesystem::exists(out_ / "ext.ext"));
    EXPECT_TRUE(std::filesystem::exists(out_ / "split.001"));
    EXPECT_EQ(Slurp(out_ / "game.exe").substr(0, 5000), std::string(5000, 'M'));
    EXPECT_EQ(Slurp(out_ / "game.exe").substr(std::filesystem::file_size(out_ / "game.exe") - 6), std::string("\x88\x13\0\0tz", 6));
}

TEST_F(TovaCli, ExtractWritesEveryEntryBelowTheFolder) {
    const std::string archive = out_ / "game.dat";
    ASSERT_EQ(Tova("pack " + Quote(archive) + " " + Quote(src_.Path())).exitCode, 0);
    ASSERT_EQ(Tova("extract " + Quote(archive) + " " + Quote(out_ / "x")).exitCode, 0);
    EXPECT_EQ(Slurp(out_ / "x/a/テスト.txt"), "japanese name");
    EXPECT_EQ(Slurp(out_ / "x/b.txt"), std::string(100, 'b'));
}

TEST_F(TovaCli, UnsafeNamesAreRefusedBeforeAnythingIsWritten) {
    for (const std::string name : {"..\\evil.txt", "a\\..\\..\\evil.txt", "\\abs.txt", "C:evil.txt", "a\\\\b.txt"}) {
        TVrFileCollection collection;
        collection.AddMemoryFile("good.txt")->Data->WriteBuffer("g", 1);
        collection.AddMemoryFile(name)->Data->WriteBuffer("e", 1);
        TTpBigMemoryStream bytes;
        collection.SaveToStream(bytes);
        bytes.SaveToFile(out_ / "bad.dat");
        EXPECT_EQ(Tova("extract " + Quote(out_ / "bad.dat") + " " + Quote(out_ / "x/y")).exitCode, 1) << name;
        EXPECT_FALSE(std::filesystem::exists(out_ / "x")) << name;
        EXPECT_TRUE(sdk::UnsafeNameReason(name).has_value()) << name;
    }
    EXPECT_FALSE(sdk::UnsafeNameReason("a\\b\\.\\c.txt").has_value());
    // A trail byte 0x5C is no separator: "表" followed by a name is one component.
    EXPECT_FALSE(sdk::UnsafeNameReason("\x95\x5C..").has_value());
}

TEST_F(TovaCli, VerifyListsBadEntriesAndFails) {
    const std::string archive = out_ / "game.dat";
    ASSERT_EQ(Tova("pack " + Quote(archive) + " " + Quote(src_.Path())).exitCode, 0);
    std::string bytes = Slurp(archive);
    bytes[bytes.size() - 3] ^= 0x20;  // inside the last entry, bgm\title.ogg, stored
    std::ofstream(archive, std::ios::binary) << bytes;
    const TResult verify = Tova("verify " + Quote(archive));
    EXPECT_EQ(verify.exitCode, 1);
    EXPECT_TRUE(verify.out.starts_with("bgm\\title.ogg: CRC ")) << verify.out;
}

TEST_F(TovaCli, ExitCodesTellUsageFromBadData) {
    EXPECT_EQ(Tova("").exitCode, 2);
    EXPECT_EQ(Tova("frobnicate").exitCode, 2);
    EXPECT_EQ(Tova("list").exitCode, 2);
    EXPECT_EQ(Tova("pack --version 7 a b").exitCode, 2);
    EXPECT_EQ(Tova("list --part-size x a").exitCode, 2);
    EXPECT_EQ(Tova("list " + Quote(out_ / "missing.dat") + " 2>/dev/null").exitCode, 1);
    std::ofstream(out_ / "junk.dat", std::ios::binary) << "this is no archive at all";
    EXPECT_EQ(Tova("list " + Quote(out_ / "junk.dat") + " 2>/dev/null").exitCode, 1);
    EXPECT_EQ(Tova("cat " + Quote(out_ / "junk.dat") + " x 2>/dev/null").exitCode, 1);
}

}  // namespace
}  // namespace tova
