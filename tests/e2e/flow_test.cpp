// Games that steer the interpreter: branch chains, loops, calls and jumps,
// each checked through the variables the run leaves.
#include <gtest/gtest.h>

#include "game_runner.h"

namespace tova::testing {
namespace {

// Every run is bounded: a game that never finishes fails instead of hanging.
constexpr const char* kUntilIdle = "--until-idle --frames 1000";

TEST(Flow, IfElseifElseChains) {
    TGame game("start.tss");
    game.Write("start.tss", R"(VarNew n int 0
VarNew trail str ""
# the first true branch runs; the later ones skip their bodies
If n == 1
    Calc trail = trail ++ "a"
Elseif n == 0
    Calc trail = trail ++ "b"
Elseif n == 0
    Calc trail = trail ++ "c"
Else
    Calc trail = trail ++ "d"
Calc trail = trail ++ "|"
# nothing true and no Else: on after the chain
If n > 5
    Calc trail = trail ++ "e"
Elseif n > 3
    Calc trail = trail ++ "f"
Calc trail = trail ++ "|"
# a nested chain inside a true branch, the outer Else skipped
If n == 0
    If n <> 0
        Calc trail = trail ++ "g"
    Else
        Calc trail = trail ++ "h"
    Calc trail = trail ++ "i"
Else
    Calc trail = trail ++ "j"
Calc trail = trail ++ "|"
# a condition that yields no value is false
If {}
    Calc trail = trail ++ "k"
Else
    Calc trail = trail ++ "l"
)");
    const TPlayerRun run = game.BuildAndRun(kUntilIdle);
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Value("trail"), "b||hi|l");
}

TEST(Flow, WhileWithBreakAndContinue) {
    TGame game("start.tss");
    game.Write("start.tss", R"(VarNew i int 0
VarNew sum int 0
# a for-loop: Continue still runs the step, Break leaves the loop
WhileInit i = 0
While i < 100
    If i % 2 == 1
        Continue
    Break if i >= 10
    Calc sum = sum + i
WhileLoop i = i + 1
# Break in the inner loop leaves only the inner loop
VarNew outer int 0
VarNew pairs int 0
While outer < 3
    Calc outer = outer + 1
    VarNew inner int 0
    While TRUE
        Calc inner = inner + 1
        Break if inner > outer
        Calc pairs = pairs + 1
# a loop whose test is false at once never runs its body
VarNew never int 0
While FALSE
    Calc never = 1
)");
    const TPlayerRun run = game.BuildAndRun(kUntilIdle);
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Value("sum"), "20");  // 0 + 2 + 4 + 6 + 8
    EXPECT_EQ(run.Value("i"), "10");
    EXPECT_EQ(run.Value("pairs"), "6");  // 1 + 2 + 3
    EXPECT_EQ(run.Value("outer"), "3");
    EXPECT_EQ(run.Value("never"), "0");
}

TEST(Flow, CallPassesArgumentsAndReturnsResults) {
    TGame game("start.tss");
    game.Write("start.tss", R"(VarNew product int 0
Call "mul.tsb" (6, 7) -> product
# into an array element; the argument without a value is left out
VarNew cells int 0
Calc SetArray(cells, 3)
Call "mul.tsb" (2, {}, 5) -> cells[2]
VarNew count int 0
Call "count.tsb" (1, "two", 3) -> count
VarNew text str ""
Call "join.tsb" ("a", 7) -> text
# a result for a variable that does not exist creates nothing
Call "mul.tsb" (1, 1) -> nowhere
# back in the caller its own arguments (none) are current again
VarNew topArgs int -1
Calc topArgs = @ParamCount
# a condition that is not true does not call
Call "mul.tsb" (3, 3) -> product if FALSE
)");
    game.Write("mul.tss", "Calc @Result = @ParamStr[0] * @ParamStr[1]\n");
    game.Write("count.tss", "Calc @Result = @ParamCount\n");
    game.Write("join.tss", R"(#page result=str
Calc @Result = @ParamStr[0] ++ @ParamStr[1]
# Break outside a loop ends the page: back to the caller
Break
Calc @Result = "never"
)");
    const TPlayerRun run = game.BuildAndRun(kUntilIdle);
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Value("product"), "42");
    // A result stored into a scalar leaves it a scalar, whatever its type.
    for (const char* scalar : {"product", "count", "text"}) {
        ASSERT_TRUE(run.Has(scalar)) << scalar;
        EXPECT_TRUE(run.Dump->Find(scalar)->Dims.empty()) << scalar;
    }
    ASSERT_TRUE(run.Has("cells"));
    EXPECT_EQ(run.Dump->Find("cells")->Dims, std::vector<int>{3});
    EXPECT_EQ(run.Dump->Find("cells")->Values, (std::vector<std::string>{"0", "0", "10"}));
    EXPECT_EQ(run.Value("count"), "3");
    EXPECT_EQ(run.Value("text"), "a7");
    EXPECT_EQ(run.Dump->Find("text")->Type, "str");
    EXPECT_FALSE(run.Has("nowhere"));
    EXPECT_EQ(run.Value("topArgs"), "0");
}

TEST(Flow, JumpsBetweenPages) {
    TGame game("start.tss");
    game.Write("start.tss", R"(VarNew visits str ""
VarNew loops int 0
# a Jump inside a called page keeps the call: the page jumped to returns
VarNew viaJump int 0
Call "hop.tsb" -> viaJump
Label top
Calc visits = visits ++ "s"
Calc loops = loops + 1
Jump "start.tsb" top if loops < 3
Jump "other.tsb" 2
Calc visits = visits ++ "!"
)");
    game.Write("other.tss", R"(Calc visits = visits ++ "x"
Calc visits = visits ++ "y"
Calc visits = visits ++ "o"
Jump "missing.tsb"
Jump "start.tsb" if {}
Calc visits = visits ++ "e"
)");
    game.Write("hop.tss",
               "Calc visits = visits ++ \"h\"\nJump \"land.tsb\"\nCalc visits = visits ++ \"?\"\n");
    game.Write("land.tss", "Calc @Result = 5\nCalc visits = visits ++ \"l\"\n");
    const TPlayerRun run = game.BuildAndRun(kUntilIdle);
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    // Three rounds through the label, into other.tsb at command 2, past a
    // page that does not exist and a condition without a value.
    EXPECT_EQ(run.Value("visits"), "hlsssoe");
    EXPECT_EQ(run.Value("viaJump"), "5");
}

}  // namespace
}  // namespace tova::testing
