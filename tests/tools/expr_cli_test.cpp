// tova expr: the records of a compiled expression as text, and compile errors.
#include <gtest/gtest.h>

#include <string>

#include "tova_runner.h"

namespace tova {
namespace {

using TRun = testing::TToolResult;

// Runs "tova expr" with the text as one argument; redirect selects what is captured.
TRun Expr(const std::string& text, const std::string& redirect = "") {
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return testing::Tova("expr " + quoted + "' " + redirect);
}

TEST(ExprCli, PrintsOneRecordPerLine) {
    const TRun run = Expr("x = a + b * 2");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "ocMul ____0 b 2\nocPlus ____1 a ____0\nocTo x ____1\n");
    EXPECT_EQ(Expr("IntToStr(a[1])").out,
              "ocDimTo ____d_2 a 1\nocTo ____1 ____d_2\nocFunc ____0 IntToStr ____1\nocTo ____arg ____0\n");
}

TEST(ExprCli, OperandForms) {
    EXPECT_EQ(Expr("s = IntToStr($10, 2.50) ++ \"q\\\"\\\\\" ++ TRUE").out,
              "ocTo ____0 \"q\\\"\\\\\"\n"
              "ocFunc ____1 IntToStr 16 2.5\n"
              "ocComboStr ____2 ____1 ____0\n"
              "ocComboStr ____3 ____2 TRUE\n"
              "ocTo s ____3\n");
    // Text outside ASCII goes through code page 932 and back; the second
    // byte of 表 is 0x5C and is not escaped.
    EXPECT_EQ(Expr("名前 = \"表示\"").out, "ocTo ____0 \"表示\"\nocTo 名前 ____0\n");
}

TEST(ExprCli, CompileErrorsGoToStandardError) {
    const TRun syntax = Expr("x = (1", "2>&1 >/dev/null");
    EXPECT_EQ(syntax.exitCode, 1);
    EXPECT_EQ(syntax.out, "error: 構文エラー\n");
    const TRun unknown = Expr("x = inttostr(1)", "2>&1 >/dev/null");
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_EQ(unknown.out, "error: \"inttostr\" 関数名がありません\n");
    EXPECT_EQ(Expr("x = inttostr(1)").out, "");  // nothing on standard output
}

}  // namespace
}  // namespace tova
