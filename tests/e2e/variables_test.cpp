// Variables in whole games: the scopes VarNew gives, project variables, and
// the status record that keeps status variables from one run to the next.
#include <gtest/gtest.h>

#include <filesystem>

#include "game_runner.h"

namespace tova::testing {
namespace {

constexpr const char* kUntilIdle = "--until-idle --frames 1000";

TEST(Variables, VarNewScopes) {
    TGame game("start.tss");
    game.Write("start.tss", R"(# declared again: an ordinary variable takes the new value
VarNew g int 1
VarNew g int 2
VarNew seen str ""
VarNew rGone bool FALSE
VarNew lGone bool FALSE
Call "sub.tsb"
Calc rGone = Not(VarExists("r"))
Calc lGone = Not(VarExists("l"))
Calc g = g + 100
Call "held.tsb"
)");
    game.Write("sub.tss", R"(VarNew r int 3 scope=return
# a local hides the global of its name while this call runs
VarNew g int 40 scope=local
Calc g = g + 1
VarNew l int 4 scope=local
Calc seen = IntToStr(r) ++ "," ++ IntToStr(l) ++ "," ++ IntToStr(g)
# a global made inside a call outlives it
VarNew made int 8
)");
    // The run ends while this call waits: its variables are still there.
    game.Write("held.tss", R"(VarNew heldLocal int 1 scope=local
VarNew heldReturn int 2 scope=return
Wait
)");
    const TPlayerRun run = game.BuildAndRun("--frames 5");
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Value("seen"), "3,4,41");
    EXPECT_EQ(run.Value("rGone"), "TRUE");
    EXPECT_EQ(run.Value("lGone"), "TRUE");
    EXPECT_EQ(run.Value("g"), "102");
    EXPECT_EQ(run.Value("made"), "8");
    ASSERT_TRUE(run.Has("heldLocal") && run.Has("heldReturn") && run.Has("g"));
    const TDumpVariable& local = *run.Dump->Find("heldLocal");
    EXPECT_TRUE(local.Local);
    EXPECT_EQ(local.Owner, 1);
    const TDumpVariable& freedOnReturn = *run.Dump->Find("heldReturn");
    EXPECT_FALSE(freedOnReturn.Local);
    EXPECT_EQ(freedOnReturn.Owner, 1);
    const TDumpVariable& global = *run.Dump->Find("g");
    EXPECT_FALSE(global.Local || global.Status);
    EXPECT_EQ(global.Owner, -1);
}

TEST(Variables, StatusVariablesAndProjectVariablesLastAcrossRuns) {
    TGame game("start.tss",
               "[variables]\n"
               "score = int 7\n"
               "rate = float 2.5\n"
               "cleared = bool true\n"
               "name = str \"山田 太郎 \"\n");
    game.Write("start.tss", R"(VarNew runs int 0 scope=status
Calc runs = runs + 1
# declared again: a status variable keeps its value
VarNew runs int 50 scope=status
VarNew plain int 0
Calc plain = plain + 1
Calc score = score + 10
)");
    ASSERT_EQ(game.Build().ExitCode, 0);
    const TPlayerRun first = game.Run(kUntilIdle);
    ASSERT_EQ(first.ExitCode, 0) << first.Err;
    EXPECT_EQ(first.Value("runs"), "1");
    EXPECT_EQ(first.Value("plain"), "1");
    EXPECT_EQ(first.Value("score"), "17");
    EXPECT_EQ(first.Value("rate"), "2.5");
    EXPECT_EQ(first.Value("cleared"), "TRUE");
    EXPECT_EQ(first.Value("name"), "山田 太郎 ");
    ASSERT_TRUE(first.Has("score") && first.Has("runs"));
    EXPECT_TRUE(first.Dump->Find("score")->Status);
    EXPECT_EQ(first.Dump->Find("rate")->Type, "float");
    EXPECT_TRUE(first.Dump->Find("runs")->Status);
    EXPECT_FALSE(first.Dump->Find("plain")->Status);
    EXPECT_TRUE(std::filesystem::exists(game.OutputFolder() + "/save.dat"));

    // A rebuild keeps the player's save.dat.
    ASSERT_EQ(game.Build().ExitCode, 0);
    const TPlayerRun second = game.Run(kUntilIdle);
    ASSERT_EQ(second.ExitCode, 0) << second.Err;
    EXPECT_EQ(second.Value("runs"), "2");
    EXPECT_EQ(second.Value("plain"), "1");
    EXPECT_EQ(second.Value("score"), "27");
}

TEST(Variables, NoStatusRecordWhenTheProjectSaysSo) {
    TGame game("start.tss", "write_status = no\n[variables]\nscore = int 7\n");
    game.Write("start.tss", "VarNew runs int 0 scope=status\nCalc runs = runs + 1\nCalc score = score + 1\n");
    ASSERT_EQ(game.Build().ExitCode, 0);
    for (int run = 0; run < 2; ++run) {
        const TPlayerRun result = game.Run(kUntilIdle);
        ASSERT_EQ(result.ExitCode, 0) << result.Err;
        EXPECT_EQ(result.Value("runs"), "1");
        EXPECT_EQ(result.Value("score"), "8");
    }
}

}  // namespace
}  // namespace tova::testing
