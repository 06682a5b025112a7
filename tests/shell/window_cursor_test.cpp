// The pointer's picture from a game's cursor file: a good file shows (where
// the driver has a pointer), and a missing or damaged one falls back to the
// arrow without failing the game.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/cursor_bytes.h"
#include "graphics/image_codecs.h"
#include "platform/sdl/sdl_display.h"
#include "platform/sdl_driver_test.h"
#include "shell/window_cursor.h"
#include "support/temp_dir.h"

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
    dir.WriteFile("hand.cur", std::string(good.begin(), good.end()));
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
    EXPECT_EQ(cursor.ShowFile(dir / "hand.cur"), GetParam() == "x11");
    for (const char* bad : {"cut.cur", "empty.cur", "text.cur", "missing.cur"})
        EXPECT_FALSE(cursor.ShowFile(dir / bad)) << bad;
    cursor.Step(1000000);  // the arrow has no steps
    cursor.ShowDefault();
}

INSTANTIATE_TEST_SUITE_P(Drivers, WindowCursor, ::testing::Values("dummy", "x11"));

}  // namespace
}  // namespace tova
