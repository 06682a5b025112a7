// tova lint and the checks tova build runs first: every mistake of every file
// at once, with file and line, near names offered, warnings apart from errors.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/temp_dir.h"
#include "tova_runner.h"

namespace tova {
namespace {

namespace fs = std::filesystem;
using testing::Quote;
using testing::Tova;
using testing::TTempDir;
using TResult = testing::TToolResult;

class LintCli : public ::testing::Test {
protected:
    LintCli() {
        src_.WriteFile("project.ini",
                       "[project]\ntitle = Lint\nstart_page = start.tss\n[variables]\nscore = int 0\n");
        src_.WriteFile("lib/fib.tss", "#page result=int\nCalc @Result = @ParamStr[0]\n");
        src_.WriteFile("data/items.tsv", "name\tprice\nsword\t10\n");
        src_.WriteFile("pic/title.png", "png");
    }

    TResult Lint(const std::string& options = "") {
        return Tova("lint " + options + " " + Quote(src_.Path()) + " 2>&1");
    }
    TResult Build() {
        return Tova("build " + Quote(src_.Path()) + " " + Quote(out_.Path() + "/out") + " 2>&1");
    }

    // The report line for a place, or "" when there is none.
    static std::string LineAt(const std::string& report, const std::string& place) {
        const size_t at = report.find(place + ": ");
        if (at == std::string::npos) return "";
        return report.substr(at, report.find('\n', at) - at);
    }

    TTempDir src_;
    TTempDir out_;
};

// Constants are numbers to lint too; a variable of a constant's name wins,
// and lint says so, once.
TEST_F(LintCli, ConstantsAreNoVariablesAndAVariableOfTheirNameIsNamed) {
    src_.WriteFile("start.tss",
                   "VarNew VK_LEFT int 0\n"
                   "Calc score = GetProp(\"a\", PR_LEFT) + VK_LEFT + VK_LEFT\n"
                   "Calc score = RGB(255, 0, 0) + WP_FADE\n");
    const TResult result = Lint();
    EXPECT_EQ(result.exitCode, 0) << result.out;
    EXPECT_EQ(result.out.find("PR_LEFT"), std::string::npos) << result.out;
    EXPECT_NE(LineAt(result.out, "start.tss:2").find("the variable VK_LEFT has the name of a constant (37)"),
              std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("0 errors, 1 warning"), std::string::npos) << result.out;
}

TEST_F(LintCli, EveryMistakeOfEveryPageIsReportedAtOnce) {
    src_.WriteFile("start.tss",
                   "VarNew n int 0\n"                   // 1
                   "Clac n = 1\n"                       // 2 misspelt command
                   "    Time = 3\n"                     // 3 a field of the failed line: no second error
                   "Calc n = Lenght(\"abc\")\n"         // 4 misspelt function
                   "Calc scroe = 1\n"                   // 5 undeclared, near a project variable
                   "Call lib\\fibb.tsb (1) -> n\n"      // 6 missing page, near another
                   "Jump start.tsb nowhere if n > 1\n"  // 7 missing label
                   "Calc n = DBLoadTsvFile(\"Data\\Items.tsv\")\n"  // 8 letter case differs
                   "ImgNew\n"                                       // 9
                   "    PR_SOURCE = \"pic\\missing.png\"\n"         // 10 missing data file
                   "    PR_LEFTT = 1\n"                             // 11 misspelt property
                   "Calc n = 3 \xE2\x80\x94 1\n"                    // 12 an em dash: no code page 932 form
                   "If n ==\n"                                      // 13 syntax
                   "    Calc n = 1\n"                               // 14
                   "VarNew 1a int 0\n"                              // 15 a name no expression can use
                   "Jump lib\\fib.tsb\n"                            // 16
                   "Calc n = 2\n"                                   // 17 unreachable
                   "Calc n = GetProp(\"a\", PR_LEFTT)\n");          // 18 a misspelt constant
    src_.WriteFile("second.tss", "Wiat 100\n");
    const TResult result = Lint();
    EXPECT_EQ(result.exitCode, 1) << result.out;
    const std::string& out = result.out;
    EXPECT_NE(LineAt(out, "start.tss:2").find("unknown command: Clac; did you mean Calc?"), std::string::npos)
        << out;
    EXPECT_EQ(LineAt(out, "start.tss:3"), "") << out;
    EXPECT_NE(LineAt(out, "start.tss:4").find("unknown function: Lenght; did you mean Length?"),
              std::string::npos)
        << out;
    EXPECT_NE(LineAt(out, "start.tss:5").find("warning: the variable scroe is never declared"),
              std::string::npos)
        << out;
    EXPECT_NE(LineAt(out, "start.tss:5").find("did you mean score?"), std::string::npos) << out;
    EXPECT_NE(
        LineAt(out, "start.tss:6").find("no page \"lib\\fibb.tsb\" in the game; did you mean lib\\fib.tsb?"),
        std::string::npos)
        << out;
    EXPECT_NE(LineAt(out, "start.tss:7").find("no label \"nowhere\""), std::string::npos) << out;
    EXPECT_NE(LineAt(out, "start.tss:8")
                  .find("warning: \"Data\\Items.tsv\" differs in letter case from the file "
                        "\"data\\items.tsv\""),
              std::string::npos)
        << out;
    EXPECT_NE(LineAt(out, "start.tss:10").find("no data file \"pic\\missing.png\""), std::string::npos)
        << out;
    EXPECT_NE(LineAt(out, "start.tss:11").find("ImgNew has no field PR_LEFTT; did you mean PR_LEFT?"),
              std::string::npos)
        << out;
    EXPECT_NE(LineAt(out, "start.tss:12:12").find("U+2014 cannot be written in code page 932"),
              std::string::npos)
        << out;
    EXPECT_NE(LineAt(out, "start.tss:13").find("not a valid expression"), std::string::npos) << out;
    EXPECT_NE(LineAt(out, "start.tss:15").find("\"1a\""), std::string::npos) << out;
    EXPECT_NE(LineAt(out, "start.tss:17").find("warning: unreachable: the Jump on line 16 always leaves"),
              std::string::npos)
        << out;
    EXPECT_NE(LineAt(out, "start.tss:18").find("the variable PR_LEFTT is never declared"), std::string::npos)
        << out;
    EXPECT_NE(LineAt(out, "start.tss:18").find("did you mean PR_LEFT?"), std::string::npos) << out;
    EXPECT_NE(LineAt(out, "second.tss:1").find("did you mean Wait?"), std::string::npos) << out;
    EXPECT_NE(out.find("8 errors, 6 warnings"), std::string::npos) << out;
}

TEST_F(LintCli, ReachableCodeAndDeclaredNamesRaiseNothing) {
    src_.WriteFile("start.tss",
                   "VarNew runs int 0 scope=status\n"
                   "Calc runs = runs + score + @ParamCount\n"
                   "VarNew fibs int 0\n"
                   "Calc SetArray(fibs, 2)\n"
                   "Call lib\\fib.tsb (1) -> fibs[1]\n"
                   "If runs > 1\n"
                   "    Jump start.tsb done\n"
                   "Else\n"
                   "    Exit\n"
                   "Exit if runs > 5\n"
                   "Calc later = 1\n"
                   "Label done\n"
                   "Terminate\n"
                   "Label after\n");
    src_.WriteFile("other.tss", "VarNew later int 0\n");
    const TResult result = Lint();
    EXPECT_EQ(result.exitCode, 0) << result.out;
    EXPECT_EQ(result.out, "0 errors, 0 warnings\n");
}

TEST_F(LintCli, BlocksOutOfPlace) {
    src_.WriteFile("start.tss",
                   "VarNew n int 0\n"
                   "Else\n"
                   "If n == 1\n"
                   "    Calc n = 2\n"
                   "Calc n = 3\n"
                   "Elseif n == 2\n"
                   "While n < 9\n"
                   "    If n > 5\n"
                   "        Break\n"
                   "    Else\n"
                   "        Calc n = n + 1\n"
                   "Continue\n");
    const TResult result = Lint();
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.out.find("start.tss:2: Else without an If"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("start.tss:6: Elseif without an If"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("start.tss:12: warning: Continue outside every While"), std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("2 errors, 1 warning\n"), std::string::npos) << result.out;
}

TEST_F(LintCli, WarningsPassUnlessStrictAndTheBuildShowsThem) {
    src_.WriteFile("start.tss", "Jump gone.tsb\n");
    const TResult lint = Lint();
    EXPECT_EQ(lint.exitCode, 0) << lint.out;
    EXPECT_NE(lint.out.find("start.tss:1: warning: no page \"gone.tsb\""), std::string::npos) << lint.out;
    EXPECT_EQ(Lint("--strict").exitCode, 1);
    const TResult build = Build();
    EXPECT_EQ(build.exitCode, 0) << build.out;
    EXPECT_NE(build.out.find("start.tss:1: warning: no page"), std::string::npos) << build.out;
    EXPECT_TRUE(fs::exists(out_.Path() + "/out/start.tsb"));
}

TEST_F(LintCli, TheBuildRefusesOnErrorsNamingAllOfThem) {
    src_.WriteFile("start.tss", "Calc x = 1\nFrobnicate\n");
    src_.WriteFile("more/page.tss", "VarNew ok int 0\nIf ok ==\n");
    src_.WriteFile("data/bad.txt", "caf\xC3\xA9 \xE2\x80\x94\n");
    const TResult build = Build();
    EXPECT_EQ(build.exitCode, 1) << build.out;
    EXPECT_NE(build.out.find("start.tss:2: unknown command"), std::string::npos) << build.out;
    EXPECT_NE(build.out.find("more/page.tss:2: "), std::string::npos) << build.out;
    EXPECT_NE(build.out.find("data/bad.txt:1:6: the character U+2014"), std::string::npos) << build.out;
    EXPECT_NE(build.out.find("3 errors"), std::string::npos) << build.out;
    EXPECT_FALSE(fs::exists(out_.Path() + "/out"));
}

TEST_F(LintCli, ProjectDescriptionMistakesAndMissingFolders) {
    src_.WriteFile("project.ini", "[project]\ntitle = Lint\nstart_page = intro.tsb\n");
    src_.WriteFile("intro.tss", "Calc @Result = 1\n");
    const TResult result = Lint();
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.out.find("project.ini:3: the start_page \"intro.tsb\""), std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("name the source, \"intro.tss\""), std::string::npos) << result.out;
    EXPECT_EQ(Tova("lint " + Quote(src_.Path() + "/nothing") + " 2>&1").exitCode, 1);
    EXPECT_EQ(Tova("lint --help").exitCode, 0);
    EXPECT_EQ(Tova("lint 2>&1").exitCode, 2);
}

}  // namespace
}  // namespace tova
