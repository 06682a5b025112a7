// The pointer's picture from a game's cursor file: a good file shows (where
// the driver has a pointer), a missing or damaged one falls back to the arrow
// without failing the game (a damaged one is reported once), and names
// outside the game's files show nothing.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "graphics/cursor_bytes.h"
#include "graphics/image_codecs.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/sdl/sdl_display.h"
#include "platform/sdl_driver_test.h"
#include "shell/window_cursor.h"
#include "support/temp_dir.h"
#include "vfs/file_manager.h"

namespace tova {
namespace {

using TBytes = std::vector<uint8_t>;

// A ".cur" of one PNG image of side x side pixels.
TBytes PngCursor(int side, int hotX, int hotY) {
    TSurface32 colour(side, side);
    TSurface8 alpha(side, side);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            colour.Row(y)[x] = 0xFF8000;
            alpha.Row(y)[x] = x <= y ? 255 : 0;
        }
    const TConstView8 alphaView = alpha.View();
    return testing::CursorFile(EncodePng(colour.View(), &alphaView), side, hotX, hotY);
}

class WindowCursor : public testing::TSdlDriverTest {
protected:
    static TDisplayOptions SmallHiddenWindow() {
        TDisplayOptions options;
        options.Width = 32;
        options.Height = 24;
        options.Hidden = true;
        return options;
    }
};

TEST_P(WindowCursor, GoodFilesShowAndBadOnesFallBackToTheArrow) {
    testing::TTempDir dir;
    const TBytes good = PngCursor(16, 2, 3);
    dir.WriteFile("cut.cur", std::string(good.begin(), good.begin() + 30));
    dir.WriteFile("empty.cur", "");
    dir.WriteFile("text.cur", "not a cursor at all");

    TSdlDisplay display(SmallHiddenWindow());
    TWindowCursor cursor(display);
    std::vector<std::string> reports;
    cursor.OnLoadError = [&](const std::string& m) { reports.push_back(m); };
    // The offscreen driver has no pointer to give a picture to.
    const bool pointer = GetParam() == "x11";
    EXPECT_EQ(cursor.ShowFile(good, "hand.cur"), pointer);
    TVrFileManager files;
    files.SetDataDir(FromHostPath(dir.Path()));
    for (int twice = 0; twice < 2; ++twice)
        for (const char* bad : {"cut.cur", "empty.cur", "text.cur", "missing.cur"})
            EXPECT_FALSE(cursor.Follow(files, bad)) << bad;
    cursor.Step(1000000);  // the arrow has no steps
    cursor.ShowDefault();
    // Each damaged file is reported once, with its path; a missing one is not.
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_NE(reports[0].find("cut.cur: damaged cursor file"), std::string::npos) << reports[0];
    EXPECT_NE(reports[2].find("text.cur"), std::string::npos) << reports[2];
    if (GetParam() != "x11") return;
    // An animation's frame is decoded when its step comes: a damaged one
    // then gives the arrow and its report.
    TBytes damaged = PngCursor(16, 0, 0);
    damaged.resize(damaged.size() - 20);  // the PNG's pixel data cut short, and its entry's size with it
    damaged[14] = static_cast<uint8_t>(damaged.size() - 22);
    damaged[15] = static_cast<uint8_t>((damaged.size() - 22) >> 8);
    const TBytes ani = testing::AnimatedCursor({PngCursor(16, 2, 3), damaged}, {0, 1}, {}, 2);
    reports.clear();
    EXPECT_TRUE(cursor.ShowFile(ani, "spin.ani"));
    cursor.Step(SystemTickCount() + 1000);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("spin.ani"), std::string::npos) << reports[0];
}

// A control's cursor names a file of the game; the name never reaches the
// machine's own files: not a device that never ends, not a pipe that blocks,
// not a file outside the game's folder.
TEST_P(WindowCursor, CursorNamesAreTheGamesFilesOnly) {
    testing::TTempDir dir;
    const TBytes good = PngCursor(16, 2, 3);
    dir.WriteFile("game/hand.cur", std::string(good.begin(), good.end()));
    dir.WriteFile("outside.cur", std::string(good.begin(), good.end()));
    ASSERT_EQ(::mkfifo((dir / "game/pipe.cur").c_str(), 0600), 0);
    TVrFileManager files;
    files.SetDataDir(FromHostPath(dir / "game"));

    TSdlDisplay display(SmallHiddenWindow());
    TWindowCursor cursor(display);
    const bool pointer = GetParam() == "x11";
    EXPECT_EQ(cursor.Follow(files, "hand.cur"), pointer);
    EXPECT_EQ(cursor.Follow(files, "HAND.CUR"), pointer);
    for (const std::string& name :
         {FromHostPath(dir / "outside.cur"), std::string("..\\outside.cur"), std::string("/dev/zero"),
          std::string("pipe.cur"), std::string("missing.cur")})
        EXPECT_FALSE(cursor.Follow(files, name)) << name;
    EXPECT_FALSE(cursor.Follow(files, ""));

    // A file of the game far larger than any cursor is not read.
    dir.WriteFile("game/huge.cur", std::string(kMaxCursorFileBytes + 1, '\0'));
    EXPECT_FALSE(cursor.Follow(files, "huge.cur"));
}

INSTANTIATE_TEST_SUITE_P(Drivers, WindowCursor, ::testing::Values("dummy", "x11"));

}  // namespace
}  // namespace tova
