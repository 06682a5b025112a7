#include "platform/file_system.h"

#include "core/error.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <optional>

#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace tova {
namespace {

namespace fs = std::filesystem;
using testing::TTempDir;

// "テスト" and "表" (whose trail byte is 0x5C, the backslash) in code page 932.
const std::string kTestCp932 = "\x83\x65\x83\x58\x83\x67";
const std::string kTestUtf8 = "\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88";
const std::string kHyouCp932 = "\x95\x5C";
const std::string kHyouUtf8 = "\xE8\xA1\xA8";

void SetMtime(const std::string& hostPath, time_t seconds, long nanoseconds = 0) {
    const timespec times[2] = {{seconds, nanoseconds}, {seconds, nanoseconds}};
    ASSERT_EQ(utimensat(AT_FDCWD, hostPath.c_str(), times, 0), 0);
}

timespec Mtime(const std::string& hostPath) {
    struct stat st {};
    stat(hostPath.c_str(), &st);
    return st.st_mtim;
}

using tova::testing::TScopedEnv;

TEST(PathNames, DelimitersRespectDoubleByteCharacters) {
    EXPECT_TRUE(IsPathDelimiter('\\'));
    EXPECT_TRUE(IsPathDelimiter('/'));
    EXPECT_FALSE(IsPathDelimiter(':'));
    EXPECT_EQ(IncludeTrailingDelimiter(""), "");
    EXPECT_EQ(IncludeTrailingDelimiter("data"), "data\\");
    EXPECT_EQ(IncludeTrailingDelimiter("data/"), "data/");
    EXPECT_EQ(IncludeTrailingDelimiter("data\\"), "data\\");
    EXPECT_EQ(IncludeTrailingDelimiter(kHyouCp932), kHyouCp932 + "\\");

    EXPECT_EQ(ToHostPath("a\\b/c"), "a/b/c");
    EXPECT_EQ(ToHostPath(kHyouCp932 + "\\" + kTestCp932), kHyouUtf8 + "/" + kTestUtf8);
    EXPECT_EQ(FromHostPath(kHyouUtf8 + "/" + kTestUtf8), kHyouCp932 + "/" + kTestCp932);
    // A folder code page 932 cannot spell is refused, never turned into "out?".
    EXPECT_THROW(FromHostPath("/data/out\xC3\xA9/game"), ETovaError);
}

TEST(FindHostPath, MatchesEveryComponentIgnoringAsciiCase) {
    TTempDir dir;
    dir.WriteFile("Data/Sub/File.TXT");
    const std::string expected = dir / "Data/Sub/File.TXT";
    EXPECT_EQ(FindHostPath(dir.Path() + "\\DATA\\sub\\file.txt"), expected);
    EXPECT_EQ(FindHostPath(dir.Path() + "/data//SUB\\\\FILE.txt"), expected);
    EXPECT_EQ(FindHostPath(dir.Path() + "\\data\\sub\\"), dir / "Data/Sub/");
    EXPECT_EQ(FindHostPath(dir.Path() + "\\data\\sub\\..\\SUB\\file.txt"), dir / "Data/Sub/../Sub/File.TXT");
    EXPECT_EQ(FindHostPath(dir.Path() + "\\data\\missing\\file.txt"), std::nullopt);
    EXPECT_EQ(FindHostPath(dir.Path() + "\\data\\sub\\file.txt\\more"), std::nullopt);
    EXPECT_EQ(FindHostPath(""), std::nullopt);

    // The exact name wins over another spelling; only ASCII letters fold:
    // full-width "ａ" and "Ａ" stay different characters.
    dir.WriteFile("Data/file.txt");
    dir.WriteFile("Data/FILE.TXT");
    EXPECT_EQ(FindHostPath(dir.Path() + "/Data/FILE.TXT"), dir / "Data/FILE.TXT");
    EXPECT_EQ(FindHostPath(dir.Path() + "/Data/File.txt"), dir / "Data/FILE.TXT");  // smallest of the two
    dir.WriteFile("\xEF\xBD\x81.txt");                                              // "ａ.txt"
    EXPECT_TRUE(FindHostPath(dir.Path() + "/\x82\x81.TXT").has_value());
    EXPECT_EQ(FindHostPath(dir.Path() + "/\x82\x60.txt"), std::nullopt);  // "Ａ.txt"
}

TEST(FindHostPath, MatchesCodePage932Names) {
    TTempDir dir;
    dir.WriteFile(kHyouUtf8 + "/" + kTestUtf8 + ".Dat");
    EXPECT_EQ(FindHostPath(dir.Path() + "\\" + kHyouCp932 + "\\" + kTestCp932 + ".DAT"),
              dir / (kHyouUtf8 + "/" + kTestUtf8 + ".Dat"));
    EXPECT_TRUE(FileExists(dir.Path() + "\\" + kHyouCp932 + "\\" + kTestCp932 + ".dat"));
}

TEST(FindHostPath, RelativePathsStartAtTheCurrentDirectory) {
    TTempDir dir;
    dir.WriteFile("Game/Start.TXT");
    const fs::path previous = fs::current_path();
    fs::current_path(dir.Path());
    const auto found = FindHostPath("GAME\\start.txt");
    const std::string created = HostPathForCreate("game\\New\\x.dat");
    fs::current_path(previous);
    EXPECT_EQ(found, "Game/Start.TXT");
    EXPECT_EQ(created, "Game/New/x.dat");
}

TEST(FindHostPath, SeesFilesAddedAfterTheDirectoryWasListed) {
    TTempDir dir;
    dir.WriteFile("Old/keep.txt");
    dir.WriteFile("Fresh/keep.txt");
    const std::string program = dir.Path() + "\\OLD\\ADDED.TXT";

    // A directory last changed long ago: its new modification time is what
    // tells that the listing is out of date.
    SetMtime(dir / "Old", 1000000000);
    EXPECT_EQ(FindHostPath(program), std::nullopt);
    dir.WriteFile("Old/added.txt");
    EXPECT_EQ(FindHostPath(program), dir / "Old/added.txt");

    // A change that the file system stamps with the same time as the listing
    // (a coarse clock): the listing was read too close to that stamp to be
    // trusted, so a miss reads the directory again.
    EXPECT_EQ(FindHostPath(dir.Path() + "\\FRESH\\ADDED.TXT"), std::nullopt);
    const timespec stamp = Mtime(dir / "Fresh");
    dir.WriteFile("Fresh/added.txt");
    SetMtime(dir / "Fresh", stamp.tv_sec, stamp.tv_nsec);
    EXPECT_EQ(FindHostPath(dir.Path() + "\\FRESH\\ADDED.TXT"), dir / "Fresh/added.txt");

    // A removed file is no longer reported, even while the listing is cached.
    fs::remove(dir / "Fresh/added.txt");
    SetMtime(dir / "Fresh", stamp.tv_sec, stamp.tv_nsec);
    EXPECT_EQ(FindHostPath(dir.Path() + "\\FRESH\\ADDED.TXT"), std::nullopt);
}

TEST(HostPathForCreate, KeepsExistingDirectoriesAndAppendsTheRestAsWritten) {
    TTempDir dir;
    dir.WriteFile("Save/Slot.DAT");
    EXPECT_EQ(HostPathForCreate(dir.Path() + "\\SAVE\\new.dat"), dir / "Save/new.dat");
    EXPECT_EQ(HostPathForCreate(dir.Path() + "\\save\\Deep\\Er\\" + kTestCp932),
              dir / ("Save/Deep/Er/" + kTestUtf8));
    // An existing file in another letter case is the file meant (as on the
    // data's home system), not a second one beside it.
    EXPECT_EQ(HostPathForCreate(dir.Path() + "\\save\\slot.dat"), dir / "Save/Slot.DAT");
}

TEST(FileSystem, QueriesAndChanges) {
    TTempDir dir;
    dir.WriteFile("Data/a.bin", "12345");
    dir.WriteFile("Data/Sub/b.bin");
    fs::create_symlink("a.bin", dir / "Data/link.bin");
    fs::create_symlink("Sub", dir / "Data/SubLink");
    const std::string data = dir.Path() + "\\DATA\\";

    EXPECT_TRUE(FileExists(data + "A.BIN"));
    EXPECT_FALSE(FileExists(data + "SUB"));
    EXPECT_TRUE(DirectoryExists(data + "sub"));
    EXPECT_FALSE(DirectoryExists(data + "a.bin"));
    EXPECT_EQ(FileSize(data + "A.bin"), 5);
    EXPECT_EQ(FileSize(data + "sub"), std::nullopt);

    auto files = ListDirectoryFiles(data);
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"a.bin", "link.bin"}));
    EXPECT_TRUE(ListDirectoryFiles(data + "nothing").empty());

    dir.WriteFile("Data/target.bin", "old");
    EXPECT_TRUE(RenameFileAt(data + "A.BIN", data + "TARGET.BIN"));
    EXPECT_FALSE(FileExists(data + "a.bin"));
    EXPECT_EQ(FileSize(data + "target.bin"), 5);
    EXPECT_FALSE(RenameFileAt(data + "a.bin", data + "c.bin"));

    EXPECT_TRUE(DeleteFileAt(data + "Target.Bin"));
    EXPECT_FALSE(DeleteFileAt(data + "target.bin"));

    EXPECT_TRUE(ForceDirectories(data + "SUB\\x\\y"));
    EXPECT_TRUE(fs::is_directory(dir / "Data/Sub/x/y"));
    EXPECT_TRUE(ForceDirectories(data + "sub"));

    const std::string readOnly = dir / "Data/Sub/b.bin";
    fs::permissions(readOnly, fs::perms::owner_read);
    ClearReadOnly(data + "SUB\\B.BIN");
    EXPECT_TRUE((fs::status(readOnly).permissions() & fs::perms::owner_write) != fs::perms::none);
}

TEST(DosTime, PacksLocalDateAndTime) {
    TScopedEnv tz("TZ", "UTC");
    // 2001-02-03 04:05:06: date (21 << 9 | 2 << 5 | 3), time (4 << 11 | 5 << 5 | 6 / 2).
    EXPECT_EQ(UnixTimeToDos(981173106), 0x2A4320A3u);
    EXPECT_EQ(UnixTimeToDos(981173107), 0x2A4320A3u);   // two-second steps
    EXPECT_EQ(UnixTimeToDos(0), 0x00210000u);           // before 1980: 1980-01-01
    EXPECT_EQ(UnixTimeToDos(4354819200), 0xFF9FBF7Du);  // 2108: the last time DOS can hold

    TTempDir dir;
    dir.WriteFile("f.txt");
    SetMtime(dir / "f.txt", 981173106);
    EXPECT_EQ(FileAgeDos(dir.Path() + "\\F.TXT"), 0x2A4320A3u);
    EXPECT_EQ(FileAgeDos(dir.Path() + "\\none.txt"), 0u);

    TScopedEnv tokyo("TZ", "JST-9");
    EXPECT_EQ(UnixTimeToDos(981173106), 0x2A4368A3u);  // 13:05:06 local
}

TEST(CdRoots, KeepsOpticalFileSystemsAndDecodesEscapes) {
    const std::string table =
        "/dev/sda1 / ext4 rw,relatime 0 0\n"
        "/dev/sr0 /media/cdrom iso9660 ro,nosuid 0 0\n"
        "/dev/sr1 /media/My\\040Disc udf ro 0 0\n"
        "/dev/loop0 /mnt/" +
        kTestUtf8 +
        " iso9660 ro 0 0\n"
        "broken line\n"
        "tmpfs /tmp tmpfs rw 0 0";
    EXPECT_EQ(ParseCdRoots(table),
              (std::vector<std::string>{"/media/cdrom/", "/media/My Disc/", "/mnt/" + kTestCp932 + "/"}));
    EXPECT_TRUE(ParseCdRoots("").empty());
}

TEST(TempDirectory, UsesTmpDirWhenItExists) {
    TTempDir dir;
    {
        TScopedEnv env("TMPDIR", dir.Path().c_str());
        EXPECT_EQ(TempDirectory(), dir.Path() + "/");
    }
    TScopedEnv missing("TMPDIR", (dir / "missing").c_str());
    EXPECT_EQ(TempDirectory(), "/tmp/");
}

}  // namespace
}  // namespace tova
