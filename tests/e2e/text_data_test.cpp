// Text data files in a game's sources: written in UTF-8, read by the player
// as code page 932. The build converts them, keeps files that are code page
// 932 already, and refuses characters code page 932 cannot hold.
#include <gtest/gtest.h>

#include "game_runner.h"

namespace tova::testing {
namespace {

constexpr const char* kLoadTables = R"(VarNew utf8 str ""
VarNew sjis str ""
VarNew lines int 0
Calc DBCreateTable("a", FALSE)
Calc DBLoadTsvFile("utf8.tsv")
Calc DBFindFirst()
Calc utf8 = DBGetStr("name")
Calc DBCreateTable("b", FALSE)
Calc DBLoadTsvFile("sjis.TSV")
Calc DBFindFirst()
Calc sjis = DBGetStr("name")
VarNew text str 0
Calc LoadTextFile(text, "notes.txt")
Calc lines = GetArraySize(text)
)";

TEST(TextData, Utf8TablesAndTextsReachThePlayerAsTheAuthorWroteThem) {
    TGame game("start.tss");
    game.Write("start.tss", kLoadTables);
    // With a byte-order mark, as some editors write it.
    game.Write("utf8.tsv", "\xEF\xBB\xBFname\tn int\n剣と盾\t1\n");
    // "剣" in code page 932 (not valid UTF-8): kept as it is.
    game.Write("sjis.TSV", "name\n\x8C\x95\n");
    game.Write("notes.txt", "一行目\r\n二行目\r\n");
    const TPlayerRun run = game.BuildAndRun("--until-idle --frames 100");
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Value("utf8"), "剣と盾");
    EXPECT_EQ(run.Value("sjis"), "剣");
    EXPECT_EQ(run.Value("lines"), "2");
}

TEST(TextData, CharactersCodePage932CannotHoldAreRefusedWithTheirPlace) {
    TGame game("start.tss");
    game.Write("start.tss", "Calc 1\n");
    game.Write("data/a.tsv", "name\nok\nem — dash\n");
    game.Write("b.txt", "😀 and 😀\n");
    const TProgramRun build = game.Build();
    EXPECT_EQ(build.ExitCode, 1);
    EXPECT_NE(build.Err.find("data/a.tsv:3:4: the character U+2014 cannot be written in code page 932"),
              std::string::npos)
        << build.Err;
    // Every bad character of every file is reported in one run.
    EXPECT_NE(build.Err.find("b.txt:1:1: the character U+1F600"), std::string::npos) << build.Err;
    EXPECT_NE(build.Err.find("b.txt:1:7: the character U+1F600"), std::string::npos) << build.Err;
}

}  // namespace
}  // namespace tova::testing
