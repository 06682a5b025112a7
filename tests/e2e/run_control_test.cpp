// How a headless run advances and ends: frames on the virtual clock, waits,
// --frames and --until-idle, Terminate, and the end page before the dump.
#include <gtest/gtest.h>

#include <span>

#include "core/json_value.h"
#include "game_runner.h"
#include "graphics/image_codecs.h"

namespace tova::testing {
namespace {

constexpr const char* kWaitPage = R"(VarNew after int 0
[line=1] Calc after = 0
[line=2] Wait 100
[line=3] Calc after = 1
)";

// Standard output carries what an option asks for there and nothing else,
// so that a pipe reads a whole JSON text or PNG picture.
TEST(RunControl, OutputsToStandardOutputAreTheirFormatAlone) {
    TGame game("start.tss");
    game.Write("start.tss", kWaitPage);
    ASSERT_EQ(game.Build().ExitCode, 0);
    TTempDir runtime;
    for (const char* option : {"--dump-vars -", "--dump-screen -", "--screenshot -"}) {
        const TProgramRun run =
            RunProgram("XDG_RUNTIME_DIR=" + Quote(runtime.Path()) + " " + BinaryPath("src/shell/tovaplayer") +
                           " --headless --until-idle " + option + " " + Quote(game.OutputFolder()),
                       runtime);
        ASSERT_EQ(run.ExitCode, 0) << run.Err;
        EXPECT_NE(run.Err.find("started at start.tsb"), std::string::npos) << run.Err;
        if (std::string_view(option) == "--screenshot -") {
            const std::span<const uint8_t> png(reinterpret_cast<const uint8_t*>(run.Out.data()),
                                               run.Out.size());
            EXPECT_NO_THROW(DecodePng(png));
        } else {
            EXPECT_NO_THROW(ParseJson(run.Out)) << option << ": " << run.Out.substr(0, 200);
        }
    }
}

TEST(RunControl, WaitCountsFramesAfterItsFirst) {
    TGame game("start.tss");
    game.Write("start.tss", kWaitPage);
    ASSERT_EQ(game.Build().ExitCode, 0);
    // At 50 ms a frame, Wait 100 entered on frame 1 ends on frame 3: the
    // frame it starts on is not counted.
    const TPlayerRun two = game.Run("--frame-ms 50 --frames 2");
    EXPECT_EQ(two.ExitCode, 0) << two.Err;
    EXPECT_EQ(two.Value("after"), "0");
    const TPlayerRun three = game.Run("--frame-ms 50 --frames 3 --trace");
    EXPECT_EQ(three.ExitCode, 0) << three.Err;
    EXPECT_EQ(three.Value("after"), "1");
    EXPECT_EQ(three.TimeOf("start.tsb", 1), 50);
    EXPECT_EQ(three.TimeOf("start.tsb", 2), 50);
    EXPECT_EQ(three.TimeOf("start.tsb", 3), 150);
    // At the default 15 ms: 100 ms are used up on the eighth frame.
    const TPlayerRun idle = game.Run("--until-idle --frames 1000 --trace");
    EXPECT_EQ(idle.Value("after"), "1");
    EXPECT_EQ(idle.TimeOf("start.tsb", 3), 8 * 15);
}

TEST(RunControl, ChainedCommandsShareAFrame) {
    TGame game("start.tss");
    game.Write("start.tss", R"(VarNew busy bool TRUE
[line=1] Calc busy = FALSE
[line=2] Wait while busy
[line=3] Wait 500 while busy
[line=4 chained=0] Calc busy = FALSE
[line=5] Calc busy = FALSE
[line=6] DoEvent
[line=7] Calc busy = FALSE
)");
    const TPlayerRun run = game.BuildAndRun("--until-idle --frames 100 --frame-ms 10 --trace");
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.TimeOf("start.tsb", 1), 10);
    // A Wait whose condition is false goes on at once, with or without time.
    EXPECT_EQ(run.TimeOf("start.tsb", 2), 10);
    EXPECT_EQ(run.TimeOf("start.tsb", 3), 10);
    EXPECT_EQ(run.TimeOf("start.tsb", 4), 10);  // not chained: the frame ends after it
    EXPECT_EQ(run.TimeOf("start.tsb", 5), 20);
    EXPECT_EQ(run.TimeOf("start.tsb", 6), 20);  // DoEvent ends the frame, too
    EXPECT_EQ(run.TimeOf("start.tsb", 7), 30);
}

TEST(RunControl, FramesAndUntilIdleEndTheRun) {
    TGame game("start.tss", "end_page = end.tss\n");
    game.Write("start.tss", R"(VarNew ticks int 0
While ticks < 5
    Calc ticks = ticks + 1
    Wait 10
)");
    game.Write("end.tss", "VarNew endSaw int -1\nCalc endSaw = ticks\n");
    ASSERT_EQ(game.Build().ExitCode, 0);
    // Each round's Wait ends on the frame after the one it starts on, where
    // the next round starts: one round a frame.
    const TPlayerRun limited = game.Run("--frames 3 --frame-ms 10");
    EXPECT_EQ(limited.ExitCode, 0) << limited.Err;
    EXPECT_EQ(limited.Value("ticks"), "3");
    EXPECT_EQ(limited.Value("endSaw"), "3");
    const TPlayerRun idle = game.Run("--until-idle --frame-ms 10 --trace");
    EXPECT_EQ(idle.ExitCode, 0) << idle.Err;
    EXPECT_EQ(idle.Value("ticks"), "5");
    EXPECT_EQ(idle.Value("endSaw"), "5");
    EXPECT_NE(idle.Err.find("tovaplayer: E2E started at start.tsb\n"), std::string::npos);
    EXPECT_EQ(idle.Out, "");
}

TEST(RunControl, TerminateEndsTheRunAndTheEndPageRunsBeforeTheDump) {
    TGame game("start.tss", "end_page = end.tss\n");
    game.Write("start.tss", R"(VarNew count int 0
VarNew after int 0
[chained=0] Calc count = 1
[line=9] Terminate
Calc after = 1
)");
    // The end page runs to its end over frames of its own, before the dump
    // is written; it sees what the game left.
    game.Write("end.tss", R"(VarNew endSaw int -1
Calc endSaw = count
[line=1] Wait 30
VarNew endDone bool TRUE
)");
    // Only Terminate ends this run early: the frame limit is far away.
    const TPlayerRun run = game.BuildAndRun("--frames 100000 --frame-ms 10 --trace");
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Value("after"), "0");
    EXPECT_EQ(run.Value("endSaw"), "1");
    EXPECT_EQ(run.Value("endDone"), "TRUE");
    EXPECT_EQ(run.TimeOf("start.tsb", 9), 20);
    EXPECT_GE(run.TimeOf("end.tsb", 1), 20);
    EXPECT_LT(run.TimeOf("end.tsb", 1), 100);
}

}  // namespace
}  // namespace tova::testing
