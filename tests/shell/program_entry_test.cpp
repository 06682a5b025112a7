// The program entry: the instance key, the single-instance guard across
// processes, the CD-ROM refusal and the player run end to end.
#include "shell/program_entry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/encoding.h"
#include "core/error.h"
#include "engine/game_data.h"
#include "platform/executable_path.h"
#include "platform/instance_lock.h"
#include "support/read_only_folder.h"
#include "tools/tova_runner.h"

namespace tova {
namespace {

using testing::MakeSetting;
using testing::TTempDir;

TEST(InstanceKey, DerivedFromTheFolder) {
    EXPECT_EQ(InstanceKey("c:\\Games\\Tova"), "c:-Games-Tova-");
    EXPECT_EQ(InstanceKey("c:\\Games\\Tova\\"), "c:-Games-Tova-");
    // The trail byte 0x5C of "ソ" is not a delimiter.
    EXPECT_EQ(InstanceKey(Utf8ToCp932("\\ソ")), "-" + Utf8ToCp932("ソ") + "-");
    EXPECT_EQ(InstanceKey(Utf8ToCp932("\\ソ\\")), "-" + Utf8ToCp932("ソ") + "-");
    // A '-' of the folder is no delimiter: two folders, two keys, two lock files.
    EXPECT_EQ(InstanceKey("\\a-b\\c"), "-a%2Db-c-");
    EXPECT_EQ(InstanceKey("\\a\\b-c"), "-a-b%2Dc-");
    EXPECT_EQ(InstanceKey("\\a%2Db\\c"), "-a%252Db-c-");
    EXPECT_NE(InstanceLockFileName(InstanceKey("\\a-b\\c")), InstanceLockFileName(InstanceKey("\\a\\b-c")));
}

TEST(InstanceKey, OneFolderNamedInDifferentWaysGivesOneKey) {
    TTempDir dir;
    const std::string plain = InstanceKey(InstanceFolder(FromHostPath(dir.Path())));
    EXPECT_EQ(InstanceKey(InstanceFolder(FromHostPath(dir.Path() + "/"))), plain);
    EXPECT_EQ(InstanceKey(InstanceFolder(FromHostPath(dir.Path() + "/./sub/.."))), plain);
    EXPECT_TRUE(plain.starts_with("-")) << plain;
    EXPECT_EQ(plain.find('/'), std::string::npos) << plain;
    EXPECT_NE(InstanceKey(InstanceFolder(FromHostPath(dir / "other"))), plain);
    // On a file system that tells case apart, "lk" and "LK" are two games.
    EXPECT_NE(InstanceKey(InstanceFolder(FromHostPath(dir / "lk"))),
              InstanceKey(InstanceFolder(FromHostPath(dir / "LK"))));
}

TEST(InstanceLock, FileNamesAreSafe) {
    EXPECT_EQ(InstanceLockFileName("-HOME-A B-"), "tovaplayer--HOME-A%20B-.lock");
    EXPECT_EQ(InstanceLockFileName("\x83\\/"), "tovaplayer-%83%5C%2F.lock");
    EXPECT_EQ(InstanceLockFileName("-a%2Db-"), "tovaplayer--a%2Db-.lock");
    const std::string longName = InstanceLockFileName(std::string(4000, 'A'));
    EXPECT_LE(longName.size(), 255u);
    EXPECT_NE(longName, InstanceLockFileName(std::string(3999, 'A') + "B"));
}

// Whether a fresh process can take the lock while this one holds it or not.
bool ChildCanLock(const std::string& key, const std::string& folder) {
    const pid_t child = fork();
    if (child == 0) {
        const bool taken = TInstanceLock::TryAcquire(key, folder) != nullptr;
        _exit(taken ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(InstanceLock, OneHolderPerKeyAcrossProcesses) {
    TTempDir runtime;
    {
        const auto lock = TInstanceLock::TryAcquire("-DATA-A-", runtime.Path());
        ASSERT_NE(lock, nullptr);
        EXPECT_FALSE(ChildCanLock("-DATA-A-", runtime.Path()));
        EXPECT_TRUE(ChildCanLock("-DATA-B-", runtime.Path()));
    }
    // Released with its holder, though the file stays.
    EXPECT_TRUE(ChildCanLock("-DATA-A-", runtime.Path()));
    EXPECT_THROW(TInstanceLock::TryAcquire("-X-", runtime / "missing"), ETovaError);
}

TEST(InstanceLock, RemovedByItsHolderAndNeverOpenedThroughALink) {
    TTempDir runtime;
    const std::string lockPath = runtime / InstanceLockFileName("-DATA-");
    {
        const auto lock = TInstanceLock::TryAcquire("-DATA-", runtime.Path());
        ASSERT_NE(lock, nullptr);
        EXPECT_EQ(lock->Path(), lockPath);
        EXPECT_TRUE(std::filesystem::is_regular_file(lockPath));
    }
    EXPECT_FALSE(std::filesystem::exists(lockPath));

    // A link planted where the lock goes: its target is never made.
    std::filesystem::create_symlink(runtime / "planted-target", lockPath);
    EXPECT_THROW(TInstanceLock::TryAcquire("-DATA-", runtime.Path()), ETovaError);
    EXPECT_FALSE(std::filesystem::exists(runtime / "planted-target"));
}

// Points the system temporary folder at a folder of the test while it lives.
class PrivateLockFolder : public ::testing::Test {
protected:
    PrivateLockFolder() : old_(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "") {
        setenv("TMPDIR", temp_.Path().c_str(), 1);
    }
    ~PrivateLockFolder() override {
        if (old_.empty())
            unsetenv("TMPDIR");
        else
            setenv("TMPDIR", old_.c_str(), 1);
    }
    std::string Folder() const { return temp_ / ("tovaplayer-" + std::to_string(geteuid())); }

    TTempDir temp_;
    std::string old_;
};

TEST_F(PrivateLockFolder, MadeForTheUserAlone) {
    EXPECT_EQ(PrivateRuntimeDirectory(), Folder() + "/");
    const auto status = std::filesystem::status(Folder());
    EXPECT_EQ(status.permissions() & std::filesystem::perms::all, std::filesystem::perms::owner_all);
    const auto lock = TInstanceLock::TryAcquire("-DATA-", PrivateRuntimeDirectory());
    EXPECT_NE(lock, nullptr);
}

TEST_F(PrivateLockFolder, AFolderOthersControlIsRefused) {
    // Open to everyone.
    std::filesystem::create_directory(Folder());
    std::filesystem::permissions(Folder(), std::filesystem::perms::all);
    EXPECT_THROW(PrivateRuntimeDirectory(), ETovaError);
    // A link to a folder elsewhere.
    std::filesystem::remove(Folder());
    std::filesystem::create_directory(temp_ / "elsewhere");
    std::filesystem::create_directory_symlink(temp_ / "elsewhere", Folder());
    EXPECT_THROW(PrivateRuntimeDirectory(), ETovaError);
    // Another user's folder (only root can make one for the test).
    std::filesystem::remove(Folder());
    std::filesystem::create_directory(Folder());
    std::filesystem::permissions(Folder(), std::filesystem::perms::owner_all);
    if (geteuid() != 0 || chown(Folder().c_str(), 4242, 4242) != 0) GTEST_SKIP() << "needs root to chown";
    EXPECT_THROW(PrivateRuntimeDirectory(), ETovaError);
}

TEST(MountType, LongestMountPointWins) {
    const std::string mounts =
        "/dev/sda1 / ext4 rw 0 0\n"
        "/dev/sr0 /media/cd\\040rom iso9660 ro 0 0\n"
        "/dev/sr1 /media/dvd udf ro 0 0\n"
        "tmpfs /media/dvd/cache tmpfs rw 0 0\n"
        "garbage\n";
    EXPECT_EQ(MountTypeOf("/media/cd rom/player", mounts), "iso9660");
    EXPECT_EQ(MountTypeOf("/media/cd rom", mounts), "iso9660");
    EXPECT_EQ(MountTypeOf("/media/cd rom2/player", mounts), "ext4");
    EXPECT_EQ(MountTypeOf("/media/dvd/game/player", mounts), "udf");
    EXPECT_EQ(MountTypeOf("/media/dvd/cache/player", mounts), "tmpfs");
    EXPECT_EQ(MountTypeOf("/home/player", mounts), "ext4");
    EXPECT_TRUE(IsCdRomFileSystem("udf"));
    EXPECT_FALSE(IsCdRomFileSystem("ext4"));
}

TEST(PlayerArguments, OwnOptionsAreTakenOut) {
    const TPlayerArguments arguments = SplitPlayerArguments({"--headless", "/config", "データ"});
    EXPECT_TRUE(arguments.Headless);
    EXPECT_EQ(arguments.Parameters, (std::vector<std::string>{"/config", Utf8ToCp932("データ")}));
    EXPECT_THROW(SplitPlayerArguments({"--full-screen"}), ETovaError);
}

TEST(PlayerArguments, ValuesAfterEqualsAndMistypedOptions) {
    const TPlayerArguments arguments =
        SplitPlayerArguments({"--frames=5", "--frame-ms", "20", "--seed=7", "-h"});
    EXPECT_EQ(arguments.Frames, 5);
    EXPECT_EQ(arguments.FrameMs, 20);
    EXPECT_EQ(arguments.Seed, 7u);
    EXPECT_TRUE(arguments.Help);
    EXPECT_TRUE(SplitPlayerArguments({"--version"}).Version);
    // A mistyped option is an error, not a data folder; a frame of 0 ms would never end a wait.
    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {"-x"}, {"--H-"}, {"--headless=1"}, {"--frame-ms", "0"}, {"--frame-ms=0"}, {"--frames=-1"}})
        EXPECT_THROW(SplitPlayerArguments(bad), ETovaError) << bad.front();
}

TEST(PlayerArguments, ScreenOptions) {
    const TPlayerArguments arguments =
        SplitPlayerArguments({"--screenshot=-", "--screenshot-at", "3:a.png",
                              "--screenshot-at=10:dir/b:c.png", "--input", "in.txt", "--dump-screen=s.json"});
    EXPECT_EQ(arguments.Screenshot, "-");
    // Only the first colon ends the frame number.
    EXPECT_EQ(arguments.ScreenshotsAt,
              (std::vector<std::pair<int64_t, std::string>>{{3, "a.png"}, {10, "dir/b:c.png"}}));
    EXPECT_EQ(arguments.InputFile, "in.txt");
    EXPECT_EQ(arguments.DumpScreen, "s.json");
    for (const char* bad : {"0:a.png", "x:a.png", "a.png", "3:", "-1:a.png"})
        EXPECT_THROW(SplitPlayerArguments({"--screenshot-at", bad}), ETovaError) << bad;
}

using TRun = testing::TToolResult;

// Runs the player binary with the arguments (already shell-quoted) and the
// runtime folder; standard error goes to the test log.
TRun Player(const std::string& arguments, const std::string& runtimeDir) {
    // Saves that leave the data folder go below the runtime folder, not into the user's home.
    return testing::RunCaptured("XDG_RUNTIME_DIR='" + runtimeDir + "' XDG_DATA_HOME='" + runtimeDir +
                                "/data' " + testing::BinaryPath("src/shell/tovaplayer") + " " + arguments);
}

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class PlayerRun : public ::testing::Test {
protected:
    PlayerRun() {
        for (const TTempDir* dir : {&first_, &second_}) {
            testing::WriteSettingsFile(*dir / "tova.tpb", MakeSetting("ゲーム"));
            dir->WriteFile("start.tsc", "page");
        }
    }
    static std::string Quote(const std::string& path) { return "'" + path + "'"; }

    TTempDir runtime_, first_, second_;
};

TEST_F(PlayerRun, StartsAndWritesTheStatusRecord) {
    // Every message goes to standard error: standard output carries only
    // what an option asks for there.
    // A link where save.dat's temporary file once went, to a file of the
    // user's: neither the writability probe nor the write opens it.
    second_.WriteFile("precious", "the user's own bytes");
    std::filesystem::create_symlink(second_ / "precious", first_ / "save.dat.$$$");
    const TRun run = Player("--headless --until-idle " + Quote(first_.Path()), runtime_.Path());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "");
    const TRun messages =
        Player("--headless --until-idle " + Quote(first_.Path()) + " 2>&1 >/dev/null", runtime_.Path());
    EXPECT_EQ(messages.out, "tovaplayer: ゲーム started at start.tsc\n");
    const auto entries = testing::ReadArchiveFile(first_ / "save.dat");
    EXPECT_TRUE(entries.at("STATUSSAVEDATA").starts_with("Status103"));
    EXPECT_EQ(FileText(second_ / "precious"), "the user's own bytes");
    EXPECT_TRUE(std::filesystem::is_symlink(first_ / "save.dat.$$$"));
}

TEST_F(PlayerRun, ASecondPlayerOnTheSameDataSaysSoAndEnds) {
    const auto held =
        TInstanceLock::TryAcquire(InstanceKey(InstanceFolder(FromHostPath(first_.Path()))), runtime_.Path());
    ASSERT_NE(held, nullptr);
    const TRun same = Player("--headless " + Quote(first_.Path() + "/") + " 2>&1", runtime_.Path());
    EXPECT_EQ(same.exitCode, 3);
    EXPECT_EQ(same.out, "tovaplayer: a player is already running on " + first_.Path() + "/\n");
    EXPECT_FALSE(std::filesystem::exists(first_ / "save.dat"));

    const TRun other = Player("--headless --until-idle " + Quote(second_.Path()) + " 2>&1", runtime_.Path());
    EXPECT_EQ(other.exitCode, 0);
    EXPECT_EQ(other.out, "tovaplayer: ゲーム started at start.tsc\n");
}

TEST_F(PlayerRun, ExitCodes) {
    EXPECT_EQ(Player("--headless " + Quote(first_ / "missing"), runtime_.Path()).exitCode, 1);
    EXPECT_EQ(Player("--no-such-option", runtime_.Path()).exitCode, 2);
    const TRun config = Player("/CONFIG", runtime_.Path());
    EXPECT_EQ(config.exitCode, 0);
    EXPECT_EQ(config.out, "");
    first_.WriteFile("tova.tpb", std::string("\x73\0\0\0", 4));
    EXPECT_EQ(Player("--headless --until-idle " + Quote(first_.Path()), runtime_.Path()).exitCode, 1);
}

TEST_F(PlayerRun, AMalformedInputScriptNamesItsLineAndThePlayerDoesNotStart) {
    first_.WriteFile("input.txt", "# clicks\n1 move 10 10\n\n2 down sideways\n");
    const TRun run =
        Player("--headless --input " + Quote(first_ / "input.txt") + " " + Quote(first_.Path()) + " 2>&1",
               runtime_.Path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("input.txt:4: 'sideways' is no mouse button"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("started"), std::string::npos) << run.out;
    EXPECT_FALSE(std::filesystem::exists(first_ / "save.dat"));

    const TRun missing =
        Player("--headless --input " + Quote(first_ / "none.txt") + " " + Quote(first_.Path()) + " 2>&1",
               runtime_.Path());
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.out.find("cannot read the input script"), std::string::npos) << missing.out;

    // What is no script file is refused at once: a device that never ends, a
    // folder, a pipe nobody writes to, a file too large for any script.
    ASSERT_EQ(::mkfifo((first_ / "pipe").c_str(), 0600), 0);
    first_.WriteFile("huge.txt");
    std::filesystem::resize_file(first_ / "huge.txt", (int64_t{64} << 20) + 1);
    for (const auto& [input, why] : std::vector<std::pair<std::string, std::string>>{
             {"/dev/zero", "is not a regular file"},
             {first_ / "pipe", "is not a regular file"},
             {first_.Path(), "is a folder"},
             {first_ / "huge.txt", "is larger than 67108864 bytes"}}) {
        const TRun refused = Player(
            "--headless --input " + Quote(input) + " " + Quote(first_.Path()) + " 2>&1", runtime_.Path());
        EXPECT_EQ(refused.exitCode, 1) << input;
        EXPECT_NE(refused.out.find(why), std::string::npos) << refused.out;
        EXPECT_EQ(refused.out.find("started"), std::string::npos) << refused.out;
    }
}

// The files beside path whose names start with path + ".damaged-".
std::vector<std::string> DamagedCopies(const std::string& path) {
    std::vector<std::string> found;
    const std::filesystem::path file(path);
    for (const auto& entry : std::filesystem::directory_iterator(file.parent_path()))
        if (entry.path().filename().string().starts_with(file.filename().string() + ".damaged-"))
            found.push_back(entry.path());
    return found;
}

TEST_F(PlayerRun, ADamagedSaveFileIsKeptAsideAndTheGameStartsAfresh) {
    std::string valid;
    {
        testing::WriteArchiveFile(second_ / "save.dat",
                                  {{"STATUSSAVEDATA", "Status103"}, {"a", std::string(300, 'x')}});
        valid = FileText(second_ / "save.dat");
    }
    std::string random(200, '\0');
    for (size_t i = 0; i < random.size(); ++i)
        random[i] = static_cast<char>((i * 7919 + 13) % 251);
    for (const std::string& damaged : {std::string(), valid.substr(0, valid.size() / 2), random}) {
        first_.WriteFile("save.dat", damaged);
        const TRun run = Player("--headless --until-idle " + Quote(first_.Path()) + " 2>&1", runtime_.Path());
        EXPECT_EQ(run.exitCode, 0) << run.out;
        EXPECT_NE(run.out.find("started at start.tsc"), std::string::npos) << run.out;
        const std::vector<std::string> kept = DamagedCopies(first_ / "save.dat");
        ASSERT_EQ(kept.size(), 1u) << run.out;
        EXPECT_EQ(FileText(kept[0]), damaged);
        EXPECT_NE(run.out.find("it was kept as " + kept[0]), std::string::npos) << run.out;
        // A fresh status record was written in its place.
        EXPECT_TRUE(
            testing::ReadArchiveFile(first_ / "save.dat").at("STATUSSAVEDATA").starts_with("Status103"));
        std::filesystem::remove(kept[0]);
    }
}

TEST_F(PlayerRun, ADamagedSavedGameIsSetAsideAndTheOthersStay) {
    const std::string good = std::string("\x8b\0\0\0\x04\0\0\0good", 12);
    testing::WriteArchiveFile(first_ / "save.dat",
                              {{"GAMESAVEDATA1", good}, {"GAMESAVEDATA2", std::string("\x8b\0", 2)}});
    const TRun run = Player("--headless --until-idle " + Quote(first_.Path()) + " 2>&1", runtime_.Path());
    EXPECT_EQ(run.exitCode, 0) << run.out;
    const auto entries = testing::ReadArchiveFile(first_ / "save.dat");
    EXPECT_EQ(entries.at("GAMESAVEDATA1"), good);
    EXPECT_EQ(entries.count("GAMESAVEDATA2"), 0u);
    std::string aside;
    for (const auto& [name, content] : entries)
        if (name.starts_with("GAMESAVEDATA2.damaged-")) aside = content;
    EXPECT_EQ(aside, std::string("\x8b\0", 2));
    EXPECT_NE(run.out.find("GAMESAVEDATA2 is damaged"), std::string::npos) << run.out;
}

TEST_F(PlayerRun, AFailedStatusWriteIsReportedWithItsPathAndExitCodeOne) {
    first_.WriteFile("save.dat", FileText([this] {
                         testing::WriteArchiveFile(second_ / "old.dat", {{"STATUSSAVEDATA", "Status103"}});
                         return second_ / "old.dat";
                     }()));
    const std::string before = FileText(first_ / "save.dat");
    // The folder is chosen: the player may not go elsewhere. It may not be
    // written to, even by root.
    const TRun run = [&] {
        testing::TReadOnlyFolder readOnly(first_.Path());
        return Player("--headless --until-idle --save-path " + Quote(first_.Path()) + " " +
                          Quote(first_.Path()) + " 2>&1",
                      runtime_.Path());
    }();
    EXPECT_EQ(run.exitCode, 1) << run.out;
    EXPECT_NE(run.out.find("tovaplayer: " + first_.Path() + "/save.dat could not be written"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(FileText(first_ / "save.dat"), before);
}

}  // namespace
}  // namespace tova
