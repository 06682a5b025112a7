// Where a game keeps save.dat (a chosen folder, the data folder, the user's
// folder) and how a run ends from outside: SIGTERM runs the end page and
// writes the status record; the instance lock never outlives the run.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

#include "game_runner.h"
#include "support/read_only_folder.h"

extern char** environ;

namespace tova::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kUntilIdle = "--until-idle --frames 1000";

TEST(SaveFolder, DataFolderElseTheUsersElseTheChosenOne) {
    TGame game("start.tss", "[variables]\nruns = int 0\n");
    game.Write("start.tss", "Calc runs = runs + 1\n");
    ASSERT_EQ(game.Build().ExitCode, 0);
    const std::string dataHome = game.Folder() + "/data-home";
    game.Environment = "XDG_DATA_HOME='" + dataHome + "'";
    const std::string users = dataHome + "/tovaplayer/E2E/save.dat";

    // A writable data folder keeps it.
    EXPECT_EQ(game.Run(kUntilIdle).ExitCode, 0);
    EXPECT_TRUE(fs::exists(game.OutputFolder() + "/save.dat"));
    EXPECT_FALSE(fs::exists(users));

    // One the player may not write to (not even as root): the user's
    // folder, with the old saves copied.
    {
        TReadOnlyFolder readOnly(game.OutputFolder());
        const TPlayerRun moved = game.Run(kUntilIdle);
        EXPECT_EQ(moved.ExitCode, 0) << moved.Err;
        EXPECT_EQ(moved.Value("runs"), "2");
        EXPECT_TRUE(fs::exists(users));
        EXPECT_EQ(game.Run(kUntilIdle).Value("runs"), "3");
    }

    // A chosen folder wins and is made when missing.
    const std::string chosen = game.Folder() + "/chosen/saves";
    const TPlayerRun there = game.Run("--save-path=" + chosen + " " + kUntilIdle);
    EXPECT_EQ(there.ExitCode, 0) << there.Err;
    EXPECT_EQ(there.Value("runs"), "1");
    EXPECT_TRUE(fs::exists(chosen + "/save.dat"));

    // A folder that cannot be made ends the run with its real path.
    const TPlayerRun blocked = game.Run("--save-path '" + chosen + "/save.dat/x' " + kUntilIdle);
    EXPECT_EQ(blocked.ExitCode, 1);
    EXPECT_NE(blocked.Err.find("データファイルを作成することができません: " + chosen + "/save.dat/x/"),
              std::string::npos)
        << blocked.Err;
}

// Starts the player in the background on the game's output; its standard
// output goes to outFile.
pid_t StartPlayer(const TGame& game, const std::string& options, const std::string& outFile) {
    const char* bin = std::getenv("TOVA_TEST_BIN");
    const std::string command = "exec env XDG_RUNTIME_DIR='" + game.Folder() + "/runtime' " +
                                std::string(bin ? bin : ".") + "/src/shell/tovaplayer --headless " + options +
                                " '" + game.OutputFolder() + "' >'" + outFile + "' 2>&1 </dev/null";
    fs::create_directories(game.Folder() + "/runtime");
    const char* argv[] = {"/bin/sh", "-c", command.c_str(), nullptr};
    pid_t pid = -1;
    if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) return -1;
    return pid;
}

// Waits for the file to contain text; false after the time is up.
bool WaitForText(const std::string& file, const std::string& text, std::chrono::seconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (ReadHostFile(file).find(text) != std::string::npos) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

// The exit status of the process, or -1 when it has not ended in time (it
// is then killed).
int WaitForExit(pid_t pid, std::chrono::seconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (std::chrono::steady_clock::now() < end) {
        if (waitpid(pid, &status, WNOHANG) == pid) return status;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return -1;
}

TEST(Shutdown, SigtermRunsTheEndPageAndKeepsTheStatusRecord) {
    TGame game("start.tss", "end_page = end.tss\n[variables]\nendRuns = int 0\n");
    game.Write("start.tss", R"(VarNew seen int -1
Calc seen = endRuns
While TRUE
    Wait 100
)");
    // The end page takes frames of its own: it waits before it counts.
    game.Write("end.tss", "Wait 30\nCalc endRuns = endRuns + 1\n");
    ASSERT_EQ(game.Build().ExitCode, 0);

    const std::string dump = game.Folder() + "/signalled.json";
    const std::string out = game.Folder() + "/signalled.txt";
    const pid_t player = StartPlayer(game, "--dump-vars '" + dump + "'", out);
    ASSERT_GT(player, 0);
    ASSERT_TRUE(WaitForText(out, "started at start.tsb", std::chrono::seconds(30))) << ReadHostFile(out);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ASSERT_EQ(kill(player, SIGTERM), 0);
    const int status = WaitForExit(player, std::chrono::seconds(60));
    ASSERT_TRUE(WIFEXITED(status)) << "status " << status << ": " << ReadHostFile(out);
    EXPECT_EQ(WEXITSTATUS(status), 0) << ReadHostFile(out);
    const TVariableDump signalled = TVariableDump::Parse(ReadHostFile(dump));
    EXPECT_EQ(signalled.Value("endRuns"), "1");
    EXPECT_EQ(signalled.Value("seen"), "0");
    // The lock went with the run.
    EXPECT_TRUE(fs::is_empty(game.Folder() + "/runtime"));

    // The next run reads what the end page left in the status record.
    const TPlayerRun next = game.Run("--frames 2");
    EXPECT_EQ(next.ExitCode, 0) << next.Err;
    EXPECT_EQ(next.Value("seen"), "1");
    EXPECT_EQ(next.Value("endRuns"), "2");
}

TEST(Shutdown, NoLockIsLeftBehindWhateverTheRunDid) {
    TGame game("start.tss");
    game.Write("start.tss", "VarNew x int 1\n");
    ASSERT_EQ(game.Build().ExitCode, 0);
    const std::string runtime = game.Folder() + "/runtime";
    for (const char* options : {"--until-idle", "--help", "--no-such-option", "-x", "--frames=abc"}) {
        game.Run(options);
        ASSERT_TRUE(fs::is_directory(runtime));
        EXPECT_TRUE(fs::is_empty(runtime)) << options;
    }
    // A game that cannot start.
    game.RunOn(game.Folder() + "/no-such-data", "--until-idle");
    EXPECT_TRUE(fs::is_empty(runtime));
}

}  // namespace
}  // namespace tova::testing
