// tova compile and tova decompile as a game's build runs them.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "support/temp_dir.h"
#include "tova_runner.h"

namespace tova {
namespace {

using testing::Quote;
using testing::Tova;

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(ScriptCli, CompileWritesThePageAndDecompilePrintsItsSource) {
    testing::TTempDir dir;
    const std::string source =
        "#page version=114 result=int\n"
        "Label start\n"
        "Calc n = n + 1\n"
        "Jump title.tsb start if n < 3\n";
    dir.WriteFile("title.tss", source);
    ASSERT_EQ(Tova("compile " + Quote(dir / "title.tss") + " " + Quote(dir / "title.tsb")).exitCode, 0);
    const std::string page = Slurp(dir / "title.tsb");
    ASSERT_GT(page.size(), 4u);
    EXPECT_EQ(page.substr(0, 4), std::string("\x72\x00\x00\x00", 4));  // version 114
    const testing::TToolResult printed = Tova("decompile " + Quote(dir / "title.tsb"));
    EXPECT_EQ(printed.exitCode, 0);
    EXPECT_EQ(printed.out, source);
}

TEST(ScriptCli, ErrorsAndWrongCommandLines) {
    testing::TTempDir dir;
    dir.WriteFile("bad.tss", "Calc x = 1\nNoSuchCommand\n");
    const testing::TToolResult failed =
        Tova("compile " + Quote(dir / "bad.tss") + " " + Quote(dir / "bad.tsb") + " 2>&1");
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_NE(failed.out.find("bad.tss:2: unknown command"), std::string::npos) << failed.out;
    dir.WriteFile("short.tsb", std::string("\x72\x00\x00\x00\x01", 5));
    EXPECT_EQ(Tova("decompile " + Quote(dir / "short.tsb") + " 2>/dev/null").exitCode, 1);
    EXPECT_EQ(Tova("compile " + Quote(dir / "bad.tss") + " 2>/dev/null").exitCode, 2);
    EXPECT_EQ(Tova("decompile 2>/dev/null").exitCode, 2);
}

}  // namespace
}  // namespace tova

namespace tova {
namespace {

TEST(DecompileCli, AFileThatIsNoPageIsRefused) {
    testing::TTempDir dir;
    dir.WriteFile("passwd", "root:x:0:0:root:/root:/bin/bash\n");
    const auto notAPage = testing::Tova("decompile " + testing::Quote(dir / "passwd") + " 2>/dev/null");
    EXPECT_EQ(notAPage.exitCode, 1);
    EXPECT_EQ(notAPage.out, "");
    dir.WriteFile("a.tss", "Calc 1\n");
    ASSERT_EQ(testing::Tova("compile " + testing::Quote(dir / "a.tss") + " " + testing::Quote(dir / "a.tsb"))
                  .exitCode,
              0);
    EXPECT_EQ(testing::Tova("decompile " + testing::Quote(dir / "a.tsb")).exitCode, 0);
    std::ofstream(dir / "a.tsb", std::ios::app) << "tail";
    EXPECT_EQ(testing::Tova("decompile " + testing::Quote(dir / "a.tsb") + " 2>/dev/null").exitCode, 1);
}

}  // namespace
}  // namespace tova
