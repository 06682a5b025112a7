// The demo game of the repository plays through, loose and packed, and
// counts its runs.
#include <gtest/gtest.h>

#include <filesystem>

#include "game_runner.h"

namespace tova::testing {
namespace {

TEST(DemoGame, PlaysThroughAndCountsItsRuns) {
    for (const bool pack : {false, true}) {
        SCOPED_TRACE(pack ? "packed" : "loose");
        TGame game("start.tss");
        game.UseSourcesOf(TOVA_DEMO_SOURCE);
        ASSERT_EQ(game.Build(pack).ExitCode, 0);
        const TPlayerRun first = game.Run("--until-idle --frames 1000");
        ASSERT_EQ(first.ExitCode, 0) << first.Err;
        EXPECT_NE(first.Err.find("tovaplayer: TovaPlayer デモ started at start.tsb\n"), std::string::npos);
        EXPECT_EQ(first.Value("greeting"), "はじめまして、旅人さん");
        EXPECT_EQ(first.Value("squares"), "1 4 16 25 ");
        EXPECT_EQ(first.Value("fib"), "6765");
        ASSERT_TRUE(first.Has("fibs"));
        EXPECT_EQ(first.Dump->Find("fibs")->Values,
                  (std::vector<std::string>{"1", "1", "2", "3", "5", "8", "13", "21"}));
        EXPECT_EQ(first.Value("waited"), "150");
        EXPECT_EQ(first.Value("introLines"), "2");
        EXPECT_EQ(first.Value("hasChime"), "TRUE");
        EXPECT_FALSE(first.Has("lines"));
        EXPECT_EQ(first.Value("farewell"), "また遊んでね (1回目の終わり)");

        const TPlayerRun second = game.Run("--until-idle --frames 1000");
        EXPECT_EQ(second.Value("runs"), "2");
        EXPECT_EQ(second.Value("greeting"), "おかえりなさい、旅人さん (2回目)");
        EXPECT_EQ(second.Value("best_fib"), "6765");
    }
}

TEST(DemoGame, RunsFromThePackedArchiveFileItself) {
    TGame game("start.tss");
    game.UseSourcesOf(TOVA_DEMO_SOURCE);
    ASSERT_EQ(game.Build(true).ExitCode, 0);
    const TPlayerRun run = game.RunOn(game.OutputFolder() + "/game.dat", "--until-idle --frames 1000");
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Value("fib"), "6765");
    // save.dat goes beside the archive, as for the folder.
    EXPECT_TRUE(std::filesystem::exists(game.OutputFolder() + "/save.dat"));
}

}  // namespace
}  // namespace tova::testing
