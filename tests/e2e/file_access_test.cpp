// A game's scripts see the game's own files and nothing above its folder.
#include <gtest/gtest.h>

#include "game_runner.h"

namespace tova::testing {
namespace {

TEST(FileAccess, AScriptCannotReadAboveTheGamesFolder) {
    TGame game("start.tss");
    game.Write("notes.txt", "one\ntwo\n");
    game.Write("start.tss", R"(VarNew lines str "kept"
VarNew outside bool TRUE
VarNew probed bool TRUE
VarNew own bool FALSE
Calc outside = LoadTextFile(lines, "..\\..\\..\\..\\..\\..\\..\\..\\..\\etc\\hostname")
Calc probed = FileExists("..\\..\\etc\\hostname")
Calc own = LoadTextFile(lines, "notes.txt")
)");
    const TPlayerRun run = game.BuildAndRun("--until-idle");
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Value("outside"), "FALSE");
    EXPECT_EQ(run.Value("probed"), "FALSE");
    EXPECT_EQ(run.Value("own"), "TRUE");
    EXPECT_EQ(run.Value("lines", 1), "two");
}

}  // namespace
}  // namespace tova::testing
