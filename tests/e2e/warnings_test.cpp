// Run-time warnings: a game with one of each fault the player lets pass says
// each once, as PAGE(LINE): message, with --warnings (and --trace), and
// nothing without them.
#include <gtest/gtest.h>

#include "game_runner.h"

namespace tova::testing {
namespace {

// Lines are the source lines of start.tss (the LineId of each command).
constexpr const char* kFaultyGame = R"(VarNew y int 0
VarNew i int 0
BoxNew
    PR_NAME = "b"
Calc x = nosuch + 1
Calc y = 1 / 0
Jump "nothere.tsb"
Call "missing.tsb"
Call "newer.tsb"
Calc SetProp("b", PR_TEXT, "words")
While i < 50
    Calc i = i + 1
    Calc y = alsomissing
    Wait 10
ImgNew
    PR_NAME = "i"
    PR_SOURCE = "nopic.png"
)";

size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

TEST(Warnings, EachFaultIsToldOnceWithItsPageAndLine) {
    TGame game("start.tss");
    game.Write("start.tss", kFaultyGame);
    game.Write("newer.tss", "#page version=115\n");
    game.Environment = "LC_ALL=C";
    ASSERT_EQ(game.Build().ExitCode, 0);

    const TPlayerRun run = game.Run("--until-idle --frames 1000 --warnings");
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Value("i"), "50");
    const std::string& err = run.Err;
    EXPECT_EQ(Count(err, "start.tsb(5): \"nosuch\" 変数がありません (the variable is not declared)\n"), 1u)
        << err;
    EXPECT_EQ(Count(err, "start.tsb(6): Division by zero\n"), 1u) << err;
    EXPECT_EQ(Count(err, "start.tsb(7): nothere.tsb:ファイルがありません (file not found)\n"), 1u) << err;
    EXPECT_EQ(Count(err, "start.tsb(8): missing.tsb:ファイルがありません (file not found)\n"), 1u) << err;
    EXPECT_EQ(Count(err, "start.tsb(9): newer.tsb: the page is of version 115"), 1u) << err;
    EXPECT_EQ(Count(err, "start.tsb(10): the component b does not take PR_TEXT"), 1u) << err;
    EXPECT_EQ(Count(err, "start.tsb(15): image nopic.png: ファイルがありません (file not found)\n"), 1u)
        << err;
    // The loop fails the same way fifty times and says so once.
    EXPECT_EQ(Count(err, "start.tsb(13): \"alsomissing\" 変数がありません"), 1u) << err;

    // --trace says the same; without either the game plays silently.
    const TPlayerRun traced = game.Run("--until-idle --frames 1000 --trace");
    EXPECT_EQ(Count(traced.Err, "start.tsb(13): \"alsomissing\""), 1u) << traced.Err;
    const TPlayerRun quiet = game.Run("--until-idle --frames 1000");
    ASSERT_EQ(quiet.ExitCode, 0);
    EXPECT_EQ(quiet.Err.find("変数がありません"), std::string::npos) << quiet.Err;
    EXPECT_EQ(quiet.Err.find("PR_TEXT"), std::string::npos) << quiet.Err;
}

}  // namespace
}  // namespace tova::testing
