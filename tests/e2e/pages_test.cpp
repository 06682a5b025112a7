// The pages of a game as files: the page versions the player reads, packed
// and loose games, and pages that are damaged or hold an unknown command.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

#include "core/encoding.h"
#include "game_runner.h"

namespace tova::testing {
namespace {

constexpr const char* kUntilIdle = "--until-idle --frames 1000";

void AppendI32(std::string& bytes, int32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes += static_cast<char>((static_cast<uint32_t>(value) >> (8 * i)) & 0xFF);
}

// A page of one command whose type byte is given: no property masks, the
// common fields only.
std::string PageWithCommandCode(uint8_t code) {
    std::string bytes;
    AppendI32(bytes, 114);  // version
    bytes += '\x01';        // result type
    AppendI32(bytes, 0);    // mask entries
    AppendI32(bytes, 21);   // mask entry size
    AppendI32(bytes, 1);    // commands
    bytes += static_cast<char>(code);
    AppendI32(bytes, 0);  // indent
    bytes += '\x00';      // disabled
    bytes += '\x01';      // chained
    AppendI32(bytes, 0);  // line id
    return bytes;
}

// The bytes of a page compiled from the source by a build of its own.
std::string CompiledPage(const std::string& source) {
    TGame scratch("page.tss");
    scratch.Write("page.tss", source);
    EXPECT_EQ(scratch.Build().ExitCode, 0);
    return ReadHostFile(scratch.OutputFolder() + "/page.tsb");
}

TEST(Pages, OldestAndNewestVersionsRunAlike) {
    const std::string body = R"(VarNew n int 0
VarNew text str ""
While n < 3
    Calc n = n + 1
    Wait 20
Call "sub.tsb" (n) -> text
)";
    std::vector<TDumpVariable> dumps[2];
    int slot = 0;
    for (const char* version : {"103", "114"}) {
        SCOPED_TRACE(version);
        TGame game("start.tss");
        const std::string header = std::string("#page version=") + version;
        game.Write("start.tss", header + "\n" + body);
        game.Write("sub.tss", header + " result=str\nCalc @Result = \"n=\" ++ @ParamStr[0]\n");
        const TPlayerRun run = game.BuildAndRun(kUntilIdle);
        ASSERT_EQ(run.ExitCode, 0) << run.Err;
        EXPECT_EQ(run.Value("text"), "n=3");
        ASSERT_TRUE(run.Dump);
        dumps[slot++] = run.Dump->Variables();
        // The version is what the page file starts with.
        const std::string page = ReadHostFile(game.OutputFolder() + "/start.tsb");
        ASSERT_GE(page.size(), 4u);
        EXPECT_EQ(static_cast<uint8_t>(page[0]), std::stoi(version));
    }
    EXPECT_EQ(dumps[0], dumps[1]);
}

TEST(Pages, VersionsOutsideTheReadRange) {
    TGame game("start.tss", "end_page = end.tss\n");
    game.Write("start.tss", R"(VarNew a int 1
# a page newer than the player holds nothing: the call returns at once
Call "newer.tsb" -> a
Calc a = a + 10
# a page older than the player stops the game with a warning
Jump "older.tsb"
Calc a = 100
)");
    game.Write("newer.tss", "#page version=115\n");
    game.Write("older.tss", "#page version=102\n");
    game.Write("end.tss", "VarNew ended bool TRUE\n");
    const TPlayerRun run = game.BuildAndRun("--frames 1000");
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Value("a"), "10");
    EXPECT_NE(run.Err.find("警告: older.tsb\r\nリビルドしてください"), std::string::npos) << run.Err;
    EXPECT_EQ(run.Value("ended"), "TRUE");
}

TEST(Pages, PackedGamesRunLikeLooseOnes) {
    std::vector<TDumpVariable> dumps[2];
    for (const bool pack : {false, true}) {
        SCOPED_TRACE(pack ? "packed" : "loose");
        TGame game("start.tss");
        game.Write("start.tss", R"(VarNew lines str ""
VarNew found bool FALSE
VarNew chime bool FALSE
Calc found = LoadTextFile(lines, "テキスト\\はじめに.txt")
Calc chime = FileExists("bgm\\chime.wav")
VarNew visited str ""
Call "scene\\next.tsb" -> visited
)");
        game.Write("scene/next.tss", "#page result=str\nCalc @Result = \"next\"\n");
        // Text files of a game are in code page 932.
        game.Write("テキスト/はじめに.txt", Utf8ToCp932("一行目\r\n二行目\r\n"));
        game.Write("bgm/chime.wav", "RIFF");
        const TPlayerRun run = game.BuildAndRun(kUntilIdle, pack);
        ASSERT_EQ(run.ExitCode, 0) << run.Err;
        EXPECT_EQ(run.Value("found"), "TRUE");
        EXPECT_EQ(run.Value("lines", 1), "二行目");
        EXPECT_EQ(run.Value("chime"), "TRUE");
        EXPECT_EQ(run.Value("visited"), "next");
        EXPECT_EQ(std::filesystem::exists(game.OutputFolder() + "/game.dat"), pack);
        EXPECT_EQ(std::filesystem::exists(game.OutputFolder() + "/start.tsb"), !pack);
        ASSERT_TRUE(run.Dump);
        dumps[pack ? 1 : 0] = run.Dump->Variables();
    }
    EXPECT_EQ(dumps[0], dumps[1]);
}

TEST(Pages, UnknownCommandCode) {
    // As the start page: the project cannot start, and says why.
    TGame start("bad.tsb");
    start.Write("bad.tsb", PageWithCommandCode(61));
    const TPlayerRun failed = start.BuildAndRun(kUntilIdle);
    EXPECT_EQ(failed.ExitCode, 1);
    EXPECT_NE(failed.Err.find("tovaplayer: damaged page bad.tsb, command 1 of 1: 不正なコマンド"),
              std::string::npos)
        << failed.Err;

    // Called from a running game: the call does not happen, the stack stays
    // as it was, and the game goes on after the Call.
    TGame game("start.tss");
    game.Write("start.tss", R"(VarNew after int 0
Call "bad.tsb"
Calc after = after + 1
Jump "bad.tsb"
Calc after = after + 1
)");
    game.Write("bad.tsb", PageWithCommandCode(0x80 | 61));
    const TPlayerRun run = game.BuildAndRun(std::string(kUntilIdle) + " --trace");
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Value("after"), "2");
    EXPECT_NE(run.Err.find("damaged page bad.tsb, command 1 of 1: 不正なコマンド"), std::string::npos)
        << run.Err;
}

TEST(Pages, DamagedPagesFailClearly) {
    const std::string page = CompiledPage("VarNew x int 1\nCalc x = x + 1\nWait 10\n");
    ASSERT_GT(page.size(), 100u);
    // Cut in the header, in the masks, before the commands and inside them.
    for (const size_t size : {size_t{2}, size_t{600}, page.size() - 60, page.size() - 1}) {
        SCOPED_TRACE(size);
        TGame start("bad.tsb");
        start.Write("bad.tsb", page.substr(0, size));
        const TPlayerRun failed = start.BuildAndRun(kUntilIdle);
        EXPECT_EQ(failed.ExitCode, 1);
        EXPECT_NE(failed.Err.find("tovaplayer: "), std::string::npos) << failed.Err;
        EXPECT_FALSE(failed.Has("x"));
    }

    // A damaged end page: the run still ends normally and keeps its status.
    TGame game("start.tss", "end_page = end.tsb\n");
    game.Write("start.tss", "VarNew runs int 0 scope=status\nCalc runs = runs + 1\n");
    game.Write("end.tsb", page.substr(0, page.size() - 1));
    ASSERT_EQ(game.Build().ExitCode, 0);
    for (const char* expected : {"1", "2"}) {
        const TPlayerRun run = game.Run(std::string(kUntilIdle) + " --trace");
        ASSERT_EQ(run.ExitCode, 0) << run.Err;
        EXPECT_EQ(run.Value("runs"), expected);
        EXPECT_NE(run.Err.find("the end page failed"), std::string::npos) << run.Err;
    }
}

}  // namespace
}  // namespace tova::testing
