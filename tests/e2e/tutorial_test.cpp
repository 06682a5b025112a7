// The tutorial's game (docs/tutorial) builds and does what docs/tutorial.md
// says it does.
#include <gtest/gtest.h>

#include "game_runner.h"

namespace tova::testing {
namespace {

TEST(Tutorial, GameDoesWhatTheTutorialSays) {
    TGame game("start.tss");
    game.UseSourcesOf(TOVA_TUTORIAL_SOURCE);
    const TProgramRun build = game.Build();
    ASSERT_EQ(build.ExitCode, 0) << build.Err;
    EXPECT_EQ(build.Out, "2 pages compiled, 1 file copied into " + game.OutputFolder() + "\n");

    const TPlayerRun first = game.Run("--until-idle --frames 1000");
    ASSERT_EQ(first.ExitCode, 0) << first.Err;
    EXPECT_NE(first.Err.find("tovaplayer: はじめてのゲーム started at start.tsb\n"), std::string::npos);
    EXPECT_EQ(first.Value("total"), "15");
    EXPECT_EQ(first.Value("area"), "42");
    EXPECT_EQ(first.Value("loaded"), "TRUE");
    EXPECT_EQ(first.Value("count"), "3");
    EXPECT_EQ(first.Value("price"), "120");
    const int waited = std::stoi(first.Value("waited"));
    EXPECT_GE(waited, 500);
    EXPECT_LT(waited, 540);
    EXPECT_EQ(first.Value("message"), "はじめてのゲーム: 1回目");

    const TPlayerRun second = game.Run("--until-idle --frames 1000");
    EXPECT_EQ(second.Value("plays"), "2");
    EXPECT_EQ(second.Value("best"), "42");
}

}  // namespace
}  // namespace tova::testing
