// The running state that waiting commands keep in a saved game, and the
// fixed behaviour of the command classes.
#include <gtest/gtest.h>

#include <cstring>

#include "core/binary_io.h"
#include "engine/command_component.h"
#include "engine/command_flow.h"
#include "engine/command_media.h"
#include "engine/page.h"

namespace tova {
namespace {

TTpMemoryStream Raw(std::string_view header) {
    TTpMemoryStream s;
    s.WriteBuffer(header.data(), static_cast<int64_t>(header.size()));
    return s;
}

TEST(CommandStateHeader, VersionComesFromTheLastThreeBytes) {
    struct {
        std::string_view bytes;
        int32_t version;
        int64_t position;
    } cases[] = {
        {"tova100", 100, 7}, {"tova042", 42, 7}, {"tovaxyz", 0, 7},
        {"TOVA100", 0, 0},   {"tov", 0, 0},      {"", 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.bytes));
        TTpMemoryStream s = Raw(c.bytes);
        s.SetPosition(0);
        EXPECT_EQ(ReadStateHeader(s), c.version);
        EXPECT_EQ(s.GetPosition(), c.position);
    }
}

TEST(CommandState, WaitKeepsItsCountersAcrossASave) {
    TPage page;
    TComWait wait(page);
    wait.Remaining = 1234;
    wait.FirstFrame = -2;
    wait.BlockEventsFlag = true;
    TTpMemoryStream s;
    wait.SaveState(s);
    EXPECT_EQ(s.GetSize(), 7 + 4 + 4 + 1);
    EXPECT_EQ(std::memcmp(s.Memory(), "tova100", 7), 0);
    s.SetPosition(0);
    TComWait loaded(page);
    loaded.LoadState(s);
    EXPECT_EQ(loaded.Remaining, 1234);
    EXPECT_EQ(loaded.FirstFrame, -2);
    EXPECT_TRUE(loaded.BlocksEvents());
}

TEST(CommandState, StatesWithoutAHeaderKeepTheirFieldsButNoBlockFlag) {
    TPage page;
    TTpMemoryStream s;
    WriteI32(s, 500);
    WriteI32(s, 1);
    WriteU8(s, 1);  // not read: a state without header carries no flag
    s.SetPosition(0);
    TComWait wait(page);
    wait.LoadState(s);
    EXPECT_EQ(wait.Remaining, 500);
    EXPECT_EQ(wait.FirstFrame, 1);
    EXPECT_FALSE(wait.BlockEventsFlag);
    EXPECT_EQ(s.Remaining(), 1);

    TTpMemoryStream old;
    WriteString(old, "bgm");
    WriteU8(old, 1);
    old.SetPosition(0);
    TComMovieStop stop(page);
    stop.LoadState(old);
    EXPECT_EQ(stop.TargetName, "bgm");
    EXPECT_TRUE(stop.IsWaitPoint());
    EXPECT_FALSE(stop.BlocksEvents());
}

TEST(CommandState, MediaStatesRoundTrip) {
    TPage page;
    TComFlip flip(page);
    flip.BlockEventsFlag = true;
    flip.ClearOldFlag = true;
    TComTextIns text(page);
    text.WindowName = "mes";
    text.Waiting = true;
    text.BlockEventsFlag = true;
    TTpMemoryStream s;
    flip.SaveState(s);
    text.SaveState(s);
    s.SetPosition(0);
    TComFlip flip2(page);
    TComTextIns text2(page);
    flip2.LoadState(s);
    text2.LoadState(s);
    EXPECT_EQ(s.Remaining(), 0);
    EXPECT_TRUE(flip2.BlocksEvents());
    EXPECT_TRUE(flip2.ClearOldFlag);
    EXPECT_EQ(text2.WindowName, "mes");
    EXPECT_TRUE(text2.IsWaitPoint());
    EXPECT_TRUE(text2.BlocksEvents());
}

TEST(CommandClasses, FixedAnswersOverrideTheRecord) {
    TPage page;
    for (int code = 0; code < kCommandCodeCount; ++code) {
        std::unique_ptr<TCommand> command = CreateCommand(page, static_cast<uint8_t>(code));
        EXPECT_EQ(static_cast<int>(command->GetCode()), code);
        command->Chained = 0;
        const auto c = static_cast<TCommandCode>(code);
        const bool alwaysChained =
            c == TCommandCode::Else || c == TCommandCode::WhileInit || c == TCommandCode::WhileLoop;
        EXPECT_EQ(command->IsChained(), alwaysChained) << code;
        command->Chained = 1;
        const bool neverChained = c == TCommandCode::Comment || c == TCommandCode::DoEvent ||
                                  c == TCommandCode::GameSave || c == TCommandCode::GameLoad;
        EXPECT_EQ(command->IsChained(), !neverChained) << code;
        EXPECT_EQ(command->IsWaitPoint(), c == TCommandCode::Wait || c == TCommandCode::DoEvent) << code;
        EXPECT_FALSE(command->BlocksEvents()) << code;
        EXPECT_EQ(command->IsDisabled(), c == TCommandCode::Comment) << code;
    }
}

}  // namespace
}  // namespace tova
