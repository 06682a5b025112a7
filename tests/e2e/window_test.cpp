// The player in a real window, as a user starts it: without a display it
// says so and ends (unless --headless); under an X server (Xvfb in CI) a
// windowed session recorded with --record replays headless to the same
// variables; and an X server that goes away ends the player with its status
// record written.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "game_runner.h"
#include "graphics/image_codecs.h"

namespace tova::testing {
namespace {

// What the X and GL libraries that SDL loads keep for ever is not ours, and
// SDL unloads them before a leak check could name them: a windowed player is
// run without the leak check (the headless runs and the in-process window
// tests keep it).
constexpr const char* kPlayerEnvironment =
    "env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER ASAN_OPTIONS=\"${ASAN_OPTIONS:-}:detect_leaks=0\" ";

// The main script counts its frames and notes the script time at two waits;
// whatever the real clock did, a replay gives the same values.
constexpr const char* kTimedPage = R"(VarNew first int 0
VarNew second int 0
VarNew frames int 0
Wait 100
Calc first = @TickCount
Wait 200
Calc second = @TickCount
Calc frames = @UpdateCount
Wait while TRUE
)";

class WindowRun : public ::testing::Test {
protected:
    WindowRun() : game_("start.tss") {
        game_.Write("start.tss", kTimedPage);
        const TProgramRun build = game_.Build();
        EXPECT_EQ(build.ExitCode, 0) << build.Err;
        std::filesystem::create_directories(dir_ / "runtime");
    }
    // The player with a display of the test's choosing ("" for none).
    std::string Command(const std::string& display, const std::string& options) const {
        return std::string(kPlayerEnvironment) + "DISPLAY=" + Quote(display) +
               " XDG_RUNTIME_DIR=" + Quote(dir_ / "runtime") + " HOME=" + Quote(dir_.Path()) + " " +
               BinaryPath("src/shell/tovaplayer") + " " + options + " " + Quote(game_.OutputFolder());
    }
    bool StatusWritten() const { return std::filesystem::exists(game_.OutputFolder() + "/save.dat"); }

    TGame game_;
    TTempDir dir_;
};

TEST_F(WindowRun, WithoutADisplayItSaysSoInOneLineUnlessHeadless) {
    const TProgramRun refused = RunProgram(Command("", "--frames 5"), dir_);
    EXPECT_EQ(refused.ExitCode, 1);
    EXPECT_EQ(refused.Out, "");
    EXPECT_EQ(refused.Err,
              "tovaplayer: no display to open a window on (neither DISPLAY nor WAYLAND_DISPLAY is set); "
              "--headless plays without one\n");
    EXPECT_FALSE(StatusWritten());  // the game did not start

    const TProgramRun headless = RunProgram(Command("", "--headless --frames 5"), dir_);
    EXPECT_EQ(headless.ExitCode, 0) << headless.Err;
    EXPECT_TRUE(StatusWritten());
}

TEST_F(WindowRun, AWindowedSessionReplaysHeadlessFrameForFrame) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !display[0]) GTEST_SKIP() << "no X display (make test runs these under Xvfb)";
    const std::string record = dir_ / "session.txt";
    const TProgramRun windowed =
        RunProgram(Command(display, "--frames 40 --seed 3 --record " + Quote(record) + " --dump-vars " +
                                        Quote(dir_ / "a.json")),
                   dir_);
    ASSERT_EQ(windowed.ExitCode, 0) << windowed.Err;
    EXPECT_TRUE(StatusWritten());
    const std::string session = ReadHostFile(record);
    EXPECT_NE(session.find("\n40 tick "), std::string::npos) << session;

    const TProgramRun replay =
        RunProgram(Command("", "--headless --frames 40 --seed 3 --input " + Quote(record) + " --dump-vars " +
                                   Quote(dir_ / "b.json")),
                   dir_);
    ASSERT_EQ(replay.ExitCode, 0) << replay.Err;
    const std::string windowDump = ReadHostFile(dir_ / "a.json");
    EXPECT_NE(windowDump.find("\"second\""), std::string::npos);
    EXPECT_EQ(ReadHostFile(dir_ / "b.json"), windowDump);
}

TDecodedImage ReadPng(const std::string& path) {
    const std::string bytes = ReadHostFile(path);
    return DecodePng({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
}

TEST(WindowPicture, TheWindowShowsWhatTheHeadlessPlayerComposesAtEveryWholeScale) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !display[0]) GTEST_SKIP() << "no X display (make test runs these under Xvfb)";
    TGame game("start.tss");
    game.UseSourcesOf(TOVA_DEMO_SOURCE);
    ASSERT_EQ(game.Build().ExitCode, 0);
    TTempDir dir;
    std::filesystem::create_directories(dir / "runtime");
    const auto run = [&](const std::string& options) {
        return RunProgram(std::string(kPlayerEnvironment) + "XDG_RUNTIME_DIR=" + Quote(dir / "runtime") +
                              " " + BinaryPath("src/shell/tovaplayer") + " --frames 60 --seed 1 " + options +
                              " " + Quote(game.OutputFolder()),
                          dir);
    };
    const TProgramRun headless = run("--headless --screenshot " + Quote(dir / "headless.png"));
    ASSERT_EQ(headless.ExitCode, 0) << headless.Err;
    const TProgramRun windowed = run("--window-shot " + Quote(dir / "window.png"));
    ASSERT_EQ(windowed.ExitCode, 0) << windowed.Err;
    // In a doubled window --screenshot is still the game's picture at its size.
    const TProgramRun doubled = run("--scale 2 --window-shot " + Quote(dir / "doubled.png") + " --screenshot " +
                                    Quote(dir / "composed.png"));
    ASSERT_EQ(doubled.ExitCode, 0) << doubled.Err;

    const TDecodedImage composed = ReadPng(dir / "headless.png");
    const TDecodedImage shown = ReadPng(dir / "window.png");
    const TDecodedImage twice = ReadPng(dir / "doubled.png");
    const TDecodedImage composedInWindow = ReadPng(dir / "composed.png");
    ASSERT_EQ(composed.Colour.Width(), 640);
    ASSERT_EQ(shown.Colour.Width(), 640);
    ASSERT_EQ(composedInWindow.Colour.Width(), 640);
    ASSERT_EQ(twice.Colour.Width(), 1280);
    ASSERT_EQ(twice.Colour.Height(), 960);
    int differences = 0;
    for (int32_t y = 0; y < 480; ++y)
        for (int32_t x = 0; x < 640; ++x) {
            const uint32_t pixel = composed.Colour.Row(y)[x];
            differences += shown.Colour.Row(y)[x] != pixel;
            differences += composedInWindow.Colour.Row(y)[x] != pixel;
            // Whole factors keep pixels sharp: each game pixel is a 2x2 block.
            for (int32_t dy = 0; dy < 2; ++dy)
                for (int32_t dx = 0; dx < 2; ++dx)
                    differences += twice.Colour.Row(2 * y + dy)[2 * x + dx] != pixel;
        }
    EXPECT_EQ(differences, 0);
    // The picture is not empty: the demo's sky and box are in it.
    EXPECT_NE(composed.Colour.Row(5)[5], composed.Colour.Row(470)[5]);
}

TEST_F(WindowRun, ALostDisplayEndsThePlayerWithItsStatusRecordWritten) {
    if (std::system("command -v Xvfb >/dev/null 2>&1") != 0) GTEST_SKIP() << "no Xvfb";
    // A display of the test's own, to take away.
    const std::string numberFile = dir_ / "display.txt";
    const pid_t server = fork();
    ASSERT_GE(server, 0);
    if (server == 0) {
        const std::string redirect = "exec Xvfb -displayfd 1 -screen 0 640x480x24 -nolisten tcp >" +
                                     Quote(numberFile) + " 2>/dev/null";
        execl("/bin/sh", "sh", "-c", redirect.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    std::string number;
    for (int i = 0; i < 200 && number.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        number = ReadHostFile(numberFile);
        if (!number.empty() && number.back() != '\n') number.clear();
    }
    ASSERT_FALSE(number.empty()) << "Xvfb did not start";
    number.pop_back();

    const std::string record = dir_ / "session.txt";
    const pid_t player = fork();
    ASSERT_GE(player, 0);
    if (player == 0) {
        const std::string command = "exec " + Command(":" + number, "--record " + Quote(record)) +
                                    " >/dev/null 2>" + Quote(dir_ / "err.txt");
        execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    // Some frames in the window first.
    for (int i = 0; i < 400 && ReadHostFile(record).find("\n20 tick") == std::string::npos; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    kill(server, SIGTERM);
    waitpid(server, nullptr, 0);

    int status = 0;
    for (int i = 0; i < 200 && waitpid(player, &status, WNOHANG) == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (waitpid(player, &status, WNOHANG) == 0) {
        kill(player, SIGKILL);
        waitpid(player, &status, 0);
        FAIL() << "the player did not end when its display went away";
    }
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_NE(ReadHostFile(dir_ / "err.txt").find("the display was lost"), std::string::npos)
        << ReadHostFile(dir_ / "err.txt");
    EXPECT_TRUE(StatusWritten());
}

}  // namespace
}  // namespace tova::testing
