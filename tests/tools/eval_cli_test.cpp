// tova expr and tova eval as scripts run them.
#include <gtest/gtest.h>

#include <fstream>

#include "support/temp_dir.h"
#include "tova_runner.h"

namespace tova {
namespace {

using testing::Quote;
using testing::Tova;

TEST(ExprCli, PrintsOneRecordPerLine) {
    EXPECT_EQ(Tova("expr 'x = a + b * 2'").out, "ocMul ____0 b 2\nocPlus ____1 a ____0\nocTo x ____1\n");
    EXPECT_EQ(Tova("expr 'n > 3'").out, "ocBig ____0 n 3\nocTo ____arg ____0\n");
    const auto error = Tova("expr 'x = (1' 2>&1");
    EXPECT_EQ(error.exitCode, 1);
    EXPECT_TRUE(error.out.starts_with("error: ")) << error.out;
}

TEST(EvalCli, PrintsTheTypedResult) {
    EXPECT_EQ(Tova("eval '1 + 2'").out, "int 3\n");
    EXPECT_EQ(Tova("eval '7.0 / 2'").out, "float 3.5\n");
    EXPECT_EQ(Tova("eval '7 / 2.0'").out, "int 3\n");  // typed by operand 0
    EXPECT_EQ(Tova("eval --var b:bool=TRUE 'b == TRUE'").out, "bool TRUE\n");
    EXPECT_EQ(Tova("eval --var 's:str=ab' 's ++ \"の\"'").out, "str abの\n");
    EXPECT_EQ(Tova("eval 'x = 1'").out, "none\n");
    EXPECT_EQ(Tova("eval --var x:int 'Random(10) < 10' --seed 3").out, "bool TRUE\n");
    EXPECT_EQ(Tova("eval --var x:pint=1 'x' 2>/dev/null").exitCode, 2);
    EXPECT_EQ(Tova("eval '1 +' 2>/dev/null").exitCode, 1);
}

TEST(EvalCli, DumpsTheVariables) {
    testing::TTempDir dir;
    const std::string dump = dir / "vars.json";
    ASSERT_EQ(Tova("eval --var x:int=5 --var a:int[2,3] --var f:float=2.5 --dump-vars " + Quote(dump) +
                   " 'a[1,2] = x * 2'")
                  .exitCode,
              0);
    std::ifstream in(dump);
    const std::string json((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(
        json.find(
            R"({"name": "x", "type": "int", "dims": [], "values": [5], "status": false, "local": false, "owner": -1})"),
        std::string::npos)
        << json;
    EXPECT_NE(json.find(R"("dims": [2, 3], "values": [0, 0, 0, 0, 0, 10])"), std::string::npos) << json;
    EXPECT_NE(json.find(R"("values": [2.5])"), std::string::npos) << json;
    EXPECT_EQ(json.find("____"), std::string::npos);
    EXPECT_EQ(json.find("@Result"), std::string::npos);
    EXPECT_NE(json.find(R"("tables": [], "active_table": "")"), std::string::npos);
}

TEST(EvalCli, SaysWhyAnExpressionHasNoValue) {
    // "mod" is no operator: the text is one operand, taken for a variable name.
    const auto run = Tova("eval '7 mod 2'");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "none\n");
    const auto assigned = Tova("eval --var=x:int=4 --dump-vars=- 'x = x * 2'");
    EXPECT_EQ(assigned.exitCode, 0);
    EXPECT_TRUE(assigned.out.starts_with("none\n{\"variables\": [")) << assigned.out;
    EXPECT_NE(assigned.out.find("\"values\": [8]"), std::string::npos) << assigned.out;
}

TEST(TovaUsage, HelpAndVersionAnswerOnStandardOutput) {
    for (const char* line : {"-h", "--help", "pack --help", "eval -h", "build --help"}) {
        const auto run = Tova(line);
        EXPECT_EQ(run.exitCode, 0) << line;
        EXPECT_TRUE(run.out.starts_with("usage: tova COMMAND")) << line;
    }
    const auto version = Tova("--version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.starts_with("tova ")) << version.out;
    EXPECT_EQ(Tova("list --part-size=x a.dat 2>/dev/null").exitCode, 2);
    EXPECT_EQ(Tova("build --pack=yes a b 2>/dev/null").exitCode, 2);
}

}  // namespace
}  // namespace tova
