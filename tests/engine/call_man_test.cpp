// The interpreter's frame rules, events, the page cache, calls and the saved
// call stack, on pages built in code.
// GCC 12 at -O3 reports -Wrestrict and -Wmaybe-uninitialized inside
// libstdc++'s inlined string code where string literals build strings here:
// reports of things that cannot happen (GCC bugs 105329 and 105562, fixed in
// GCC 13).
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ == 12
#pragma GCC diagnostic ignored "-Wrestrict"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include "engine/call_man.h"

#include <gtest/gtest.h>

#include "core/binary_io.h"
#include "core/error.h"
#include "engine/interpreter_fixture.h"

namespace tova::testing {
namespace {

using Code = TCommandCode;

TEST(SplitHandlerTest, LabelAfterTheLastColonOfTheFileName) {
    EXPECT_EQ(SplitHandler("title.xyz:Start").Page, "title.tsb");
    EXPECT_EQ(SplitHandler("title.xyz:Start").Label, "Start");
    EXPECT_EQ(SplitHandler("title.xyz").Page, "title.tsb");
    EXPECT_EQ(SplitHandler("title.xyz").Label, "");
    // A colon before the last "\" or "." is part of the name.
    EXPECT_EQ(SplitHandler("C:\\game\\a.tsb").Page, "C:\\game\\a.tsb");
    EXPECT_EQ(SplitHandler("C:\\game\\a.tsb").Label, "");
    EXPECT_EQ(SplitHandler("a:b.tsb").Label, "");
    // A colon in the first place does not split.
    EXPECT_EQ(SplitHandler(":abc").Page, ":tsb");
    // The trail byte of a double-byte character is not a delimiter.
    const std::string table = "\x95\x5C.tsb:L";  // a kanji whose second byte is '\'
    EXPECT_EQ(SplitHandler(table).Page, "\x95\x5C.tsb");
    EXPECT_EQ(SplitHandler(table).Label, "L");
}

TEST_F(InterpreterTest, ChainedPageRunsInOneFrameThenIdles) {
    TPageBuilder main("main.tsb");
    main.VarNew("n", 1, "0");
    main.Calc("n = n + 1");
    main.Calc("n = n + 1");
    main.Calc("n = n + 1");
    Store(main);
    callMan->Start("main.tsb");
    Frames(1);
    EXPECT_EQ(Int("n"), 3);
    EXPECT_TRUE(callMan->IsFinished());
    Frames(3);
    EXPECT_EQ(Int("n"), 3);
    EXPECT_NE(log.str().find("0000000f : main.tsb(4)"), std::string::npos) << log.str();
}

TEST_F(InterpreterTest, UnchainedCommandEndsTheFramesWork) {
    TPageBuilder main("main.tsb");
    main.VarNew("n", 1, "0");
    main.Calc("n = n + 1", 0, false);
    main.Calc("n = n + 1", 0, false);
    Store(main);
    callMan->Start("main.tsb");
    Frames(1);
    EXPECT_EQ(Int("n"), 1);
    EXPECT_FALSE(callMan->IsFinished());
    Frames(1);
    EXPECT_EQ(Int("n"), 2);
    EXPECT_TRUE(callMan->IsFinished());
}

TEST_F(InterpreterTest, WaitDoesNotCountItsFirstFrame) {
    TPageBuilder main("main.tsb");
    main.VarNew("n", 1, "0");
    main.Wait("100");
    main.Calc("n = 1");
    Store(main);
    callMan->Start("main.tsb");
    Frames(2, 50);
    EXPECT_EQ(Int("n"), 0);
    Frames(1, 50);  // the third execution after Prepare
    EXPECT_EQ(Int("n"), 1);
}

TEST_F(InterpreterTest, WaitWithFalseConditionPassesAtOnce) {
    TPageBuilder main("main.tsb");
    main.VarNew("n", 1, "0");
    main.Wait("", "FALSE");
    main.Calc("n = 1");
    Store(main);
    callMan->Start("main.tsb");
    Frames(1);
    EXPECT_EQ(Int("n"), 1);
}

class EventTest : public InterpreterTest {
protected:
    void SetUp() override {
        TPageBuilder main("main.tsb");
        main.VarNew("a", 1, "0");
        main.VarNew("b", 4, "\"\"");
        main.VarNew("after", 1, "0");
        main.Wait("60");
        main.Calc("after = 1");
        Store(main);
        TPageBuilder handler("ev.tsb");
        handler.Calc("a = 1");
        handler.Label("Go");
        handler.Calc("b = b ++ @ParamStr[1]");
        handler.Call("sub.tsb");
        handler.Calc("b = b ++ \"!\"");
        Store(handler);
        TPageBuilder sub("sub.tsb");
        sub.Calc("b = b ++ \"sub\"");
        Store(sub);
        callMan->Start("main.tsb");
        Frames(1, 20);  // the Wait has begun
    }
};

TEST_F(EventTest, HandlerRunsFromItsLabelAndTheWaitGoesOn) {
    Queue("ev.xyz:Go", {"x", "y"});
    Frames(1, 20);
    EXPECT_EQ(Int("a"), 0);
    // The handler returned from its call and went on in the same frame.
    EXPECT_EQ(Str("b"), "ysub!");
    EXPECT_EQ(screen.Events.Count(), 0u);
    EXPECT_EQ(Int("after"), 0);
    Frames(2, 20);  // the Wait's time was kept across the handler
    EXPECT_EQ(Int("after"), 0);
    Frames(1, 20);
    EXPECT_EQ(Int("after"), 1);
    EXPECT_NE(log.str().find(" : <Event>ev.tsb(2)"), std::string::npos) << log.str();
}

TEST_F(EventTest, AnUnresolvedHandlerStaysFirstAndKeepsTheOthersWaiting) {
    Queue("missing.xyz");
    Queue("ev.xyz");
    Frames(5, 20);
    EXPECT_EQ(Int("a"), 0);
    EXPECT_EQ(screen.Events.Count(), 2u);
    EXPECT_EQ(Int("after"), 1);  // the main script was not held up
}

TEST_F(InterpreterTest, WaitThatBlocksEventsKeepsThemPending) {
    TPageBuilder main("main.tsb");
    main.Wait("45", "", true);
    Store(main);
    TPageBuilder handler("ev.tsb");
    handler.VarNew("ran", 1, "1");
    Store(handler);
    callMan->Start("main.tsb");
    Frames(1);
    Queue("ev.tsb");
    Frames(2);
    EXPECT_EQ(vars.FindItem("ran"), nullptr);
    Frames(3);  // the wait is over: the event runs before the next command
    EXPECT_EQ(Int("ran"), 1);
}

TEST_F(InterpreterTest, CallPassesArgumentsThatYieldAValueAndStoresTheResult) {
    TPageBuilder main("main.tsb");
    main.VarNew("r", 1, "0");
    main.VarNew("s", 4, "\"\"");
    auto& call = main.Call("sub.tsb", {"1 + 1"}, "r");
    call.Arguments.push_back(std::make_unique<TTovaParser>());  // yields no value
    call.Arguments.push_back(std::make_unique<TTovaParser>());
    CompileExpression("\"third\"", *call.Arguments.back());
    main.Calc("s = \"back\"");
    Store(main);
    TPageBuilder sub("sub.tsb");
    sub.Page().ResultType = 1;
    sub.Calc("@Result = @ParamCount * 10 + StrToIntDef(@ParamStr[0], -1)");
    sub.Exit();
    sub.Calc("@Result = 0");
    Store(sub);
    callMan->Start("main.tsb");
    Frames(1);
    EXPECT_EQ(Int("r"), 22);
    EXPECT_EQ(Str("s"), "back");
    EXPECT_EQ(callMan->Stack.Count(), 0);
    EXPECT_EQ(vars.CurrentDepth, 0);
}

TEST_F(InterpreterTest, ResultIntoAnUndeclaredNameCreatesNothing) {
    TPageBuilder main("main.tsb");
    main.Call("sub.tsb", {}, "nothing");
    Store(main);
    TPageBuilder sub("sub.tsb");
    sub.Page().ResultType = 4;
    sub.Calc("@Result = \"v\"");
    Store(sub);
    callMan->Start("main.tsb");
    Frames(1);
    EXPECT_EQ(vars.FindItem("nothing"), nullptr);
    EXPECT_TRUE(callMan->IsFinished());
}

TEST_F(InterpreterTest, TheEleventhOtherPageDropsTheLeastRecentlyUsed) {
    // p0 -> p1 -> ... -> p11, each a chained jump; p0 marks 1.
    for (int i = 0; i <= 11; ++i) {
        TPageBuilder page("p" + std::to_string(i) + ".tsb");
        if (i == 0) page.Calc("mark = mark + 1");
        if (i < 11) page.Jump("p" + std::to_string(i + 1) + ".tsb");
        Store(page);
    }
    TPageBuilder main("main.tsb");
    main.VarNew("mark", 1, "0");
    main.Jump("p0.tsb");
    Store(main);
    callMan->Start("main.tsb");
    Frames(1);
    EXPECT_EQ(Int("mark"), 1);
    // Replace p0 and p5 on "disk": only the dropped page is read again.
    TPageBuilder p0("p0.tsb");
    p0.Calc("mark = mark + 100");
    Store(p0);
    TPageBuilder p5("p5.tsb");
    p5.Calc("mark = -1");
    Store(p5);
    EXPECT_EQ(callMan->GetPage("p0.tsb", false)->Count(), 1);  // main.tsb and p0 were dropped
    EXPECT_EQ(callMan->GetPage("p5.tsb", false)->Count(), 1);  // still the cached jump
    EXPECT_EQ(callMan->GetPage("p5.tsb", false)->Commands[0]->GetCode(), Code::Jump);
}

TEST_F(InterpreterTest, SavedCallStackResumesAWaitInACalledPage) {
    TPageBuilder main("main.tsb");
    main.VarNew("done", 1, "0");
    main.Call("sub.tsb", {"\"arg\""});
    main.Calc("done = 1");
    Store(main);
    TPageBuilder sub("sub.tsb");
    sub.Wait("100");
    Store(sub);
    callMan->Start("main.tsb");
    Frames(2, 30);  // first frame not counted, then 70 left
    TTpMemoryStream saved;
    callMan->SaveToStream(saved);

    // A fresh interpreter reads it back and goes on where it was.
    ReplaceCallMan();
    saved.SetPosition(0);
    callMan->LoadFromStream(saved, 139);
    EXPECT_EQ(saved.Remaining(), 0);
    ASSERT_NE(callMan->Page, nullptr);
    EXPECT_EQ(callMan->Page->Name, "sub.tsb");
    EXPECT_EQ(callMan->Stack.Count(), 1);
    EXPECT_EQ(callMan->GetArg(0), "arg");
    Frames(2, 30);
    EXPECT_EQ(Int("done"), 0);
    Frames(1, 30);
    EXPECT_EQ(Int("done"), 1);
}

TEST_F(InterpreterTest, DamagedCallStackRecordIsRefused) {
    TTpMemoryStream stream;
    WriteString(stream, "");
    WriteI32(stream, 0);
    WriteU8(stream, 0);
    WriteU8(stream, 0);
    WriteI32(stream, 0);
    WriteString(stream, "");
    WriteI32(stream, 1000000);  // more arguments than bytes
    stream.SetPosition(0);
    EXPECT_THROW(callMan->LoadFromStream(stream, 139), ETovaError);
}

TEST_F(InterpreterTest, CommandThatNeverMovesEndsTheFrameInsteadOfHanging) {
    TPageBuilder main("main.tsb");
    main.VarNew("n", 1, "0");
    auto& reset = main.Add<TComPCReset>(Code::PCReset);  // restarts itself, chained
    reset.PageName = "main.tsb";
    reset.Target = 1;
    main.Calc("n = 1");
    Store(main);
    callMan->Start("main.tsb");
    Frames(2);
    EXPECT_EQ(Int("n"), 0);
    EXPECT_EQ(callMan->PC, 1);
}

}  // namespace
}  // namespace tova::testing
