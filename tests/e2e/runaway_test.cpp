// Games that never give the frame back or never stop calling: the frame ends
// when the interpreter's command budget is spent, --frames still ends the
// run, and calls stop at the depth limit instead of eating the memory.
#include <gtest/gtest.h>

#include "game_runner.h"

namespace tova::testing {
namespace {

TEST(Runaway, EndlessChainedLoopsStillEndAfterTheFramesAsked) {
    TGame game("start.tss", "end_page = end.tss\n");
    game.Write("start.tss", R"(VarNew n int 0
If @ParamCount == 0
    Label top
    Calc n = n + 1
    Jump start.tsb top
)");
    game.Write("loop.tss", R"(VarNew m int 0
While TRUE
    Calc m = m + 1
)");
    game.Write("end.tss", "VarNew ended int 1\n");
    ASSERT_EQ(game.Build().ExitCode, 0);
    // A Jump loop back into its own page: every frame runs out of its budget.
    const TPlayerRun jumps = game.Run("--frames 3");
    EXPECT_EQ(jumps.ExitCode, 0) << jumps.Err;
    EXPECT_GT(std::stoll(jumps.Value("n")), 1000);
    EXPECT_EQ(jumps.Value("ended"), "1");  // the end page still ran

    // A While TRUE loop; two frames do more than one.
    game.Write("project.ini", "[project]\ntitle = E2E\nstart_page = loop.tss\nend_page = end.tss\n");
    ASSERT_EQ(game.Build().ExitCode, 0);
    const TPlayerRun one = game.Run("--frames 1");
    const TPlayerRun two = game.Run("--frames 2");
    ASSERT_EQ(one.ExitCode, 0) << one.Err;
    ASSERT_EQ(two.ExitCode, 0) << two.Err;
    EXPECT_GT(std::stoll(one.Value("m")), 1000);
    EXPECT_EQ(std::stoll(two.Value("m")), 2 * std::stoll(one.Value("m")));
    EXPECT_EQ(two.Value("ended"), "1");
}

TEST(Runaway, CallsBeyondTheDepthLimitAreNotMadeAndSaySo) {
    TGame game("start.tss");
    game.Write("start.tss", R"(VarNew depth int 0
VarNew back int 0
VarNew result int 0
Call rec.tsb -> result
Calc back = 1
# after the stack unwound, calls work again
VarNew again int 0
Call one.tsb -> again
)");
    game.Write("rec.tss", R"(Calc depth = depth + 1
Call rec.tsb
Calc @Result = depth
)");
    game.Write("one.tss", "Calc @Result = 1\n");
    const TPlayerRun run = game.BuildAndRun("--until-idle --frames 100");
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    // The start page's call is the first frame; the rest are rec.tsb's.
    EXPECT_EQ(run.Value("depth"), "10000");
    EXPECT_EQ(run.Value("result"), "10000");
    EXPECT_EQ(run.Value("back"), "1");
    EXPECT_EQ(run.Value("again"), "1");
    EXPECT_NE(run.Err.find("call of rec.tsb from rec.tsb: more than 10000 calls deep"), std::string::npos)
        << run.Err;
}

}  // namespace
}  // namespace tova::testing
