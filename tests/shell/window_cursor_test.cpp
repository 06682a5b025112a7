// The pointer's picture from a game's cursor file: a good file shows (where
// the driver has a pointer), a missing or damaged one falls back to the arrow
// without failing the game, and names outside the game's files show nothing.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "graphics/cursor_bytes.h"
#include "graphics/image_codecs.h"
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

class WindowCursor : public testing::TSdlDriverTest {};

TEST_P(WindowCursor, GoodFilesShowAndBadOnesFallBackToTheArrow) {
    testing::TTempDir dir;
    const TBytes good = PngCursor(16, 2, 3);
    dir.WriteFile("cut.cur", std::string(good.begin(), good.begin() + 30));
    dir.WriteFile("empty.cur", "");
    dir.WriteFile("text.cur", "not a cursor at all");

    TDisplayOptions options;
    options.Width = 32;
    options.Height = 24;
    options.Hidden = true;
    TSdlDisplay display(options);
    TWindowCursor cursor(display);
    // The offscreen driver has no pointer to give a picture to.
    const bool pointer = GetParam() == "x11";
    EXPECT_EQ(cursor.ShowFile(good), pointer);
    for (const char* bad : {"cut.cur", "empty.cur", "text.cur"}) {
        std::ifstream in(dir / bad, std::ios::binary);
        const TBytes content{std::istreambuf_iterator<char>(in), {}};
        EXPECT_FALSE(cursor.ShowFile(content)) << bad;
    }
    cursor.Step(1000000);  // the arrow has no steps
    cursor.ShowDefault();
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

    TDisplayOptions options;
    options.Width = 32;
    options.Height = 24;
    options.Hidden = true;
    TSdlDisplay display(options);
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
