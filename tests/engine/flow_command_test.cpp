// The flow-control and variable commands on pages built in code.
#include <gtest/gtest.h>

#include "engine/interpreter_fixture.h"
#include "expr/param_types.h"

namespace tova::testing {
namespace {

using Code = TCommandCode;

class FlowTest : public InterpreterTest {
protected:
    std::string RunMain(TPageBuilder& page, int frames = 1) {
        Store(page);
        callMan->Start(page.Page().Name);
        Frames(frames);
        return Str("trail");
    }
    TPageBuilder main{"main.tsb"};
    FlowTest() { main.VarNew("trail", PT_STR, "\"\""); }
    void Mark(const std::string& text, int32_t indent) {
        main.Calc("trail = trail ++ \"" + text + "\"", indent);
    }
};

TEST_F(FlowTest, OnlyTheFirstBranchThatHoldsRuns) {
    main.If("FALSE");
    Mark("if", 1);
    main.Elseif("TRUE");
    Mark("first", 1);
    main.Elseif("TRUE");
    Mark("second", 1);
    main.Add<TComElse>(Code::Else);
    Mark("else", 1);
    Mark("/", 0);
    EXPECT_EQ(RunMain(main), "first/");
}

TEST_F(FlowTest, ChainWithoutElseContinuesAfterIt) {
    main.If("1 == 2");
    Mark("if", 1);
    main.If("TRUE", 1);
    Mark("inner", 2);
    main.Elseif("FALSE");
    Mark("elseif", 1);
    Mark("after", 0);
    main.If("TRUE");
    Mark("yes", 1);
    main.Add<TComElse>(Code::Else);
    Mark("no", 1);
    EXPECT_EQ(RunMain(main), "afteryes");
}

TEST_F(FlowTest, WhileWithBreakAndContinue) {
    main.VarNew("i", PT_INT, "0");                          // 1
    auto& init = main.Add<TComWhileInit>(Code::WhileInit);  // 2
    CompileExpression("i = 0", init.Expression);
    auto& loop = main.Add<TComWhile>(Code::While);  // 3
    CompileExpression("i < 10", loop.Condition);
    loop.ExitTarget = 10;
    main.Calc("i = i + 1", 1);                               // 4
    auto& skip = main.Add<TComContinue>(Code::Continue, 1);  // 5
    CompileExpression("i == 2", skip.Condition);
    skip.Target = 9;
    auto& leave = main.Add<TComBreak>(Code::Break, 1);  // 6
    CompileExpression("i == 5", leave.Condition);
    leave.Target = 10;
    main.Calc("trail = trail ++ IntToStr(i, 1)", 1);         // 7
    main.Add<TComLabel>(Code::Label, 1);                     // 8
    auto& again = main.Add<TComWhileLoop>(Code::WhileLoop);  // 9
    again.LoopTarget = 3;
    Mark("/", 0);  // 10
    EXPECT_EQ(RunMain(main), "134/");
    EXPECT_EQ(Int("i"), 5);
}

TEST_F(FlowTest, JumpWhoseConditionYieldsNothingStays) {
    main.Jump("other.tsb", 0, "");
    Mark("stayed", 0);
    TPageBuilder other("other.tsb");
    other.Calc("trail = \"jumped\"");
    Store(other);
    EXPECT_EQ(RunMain(main), "stayed");
}

TEST_F(FlowTest, JumpToALabelKeepsTheStackAndAMissingPageIsSkipped) {
    main.Jump("missing.tsb");
    main.Jump("other.tsb", 2);
    TPageBuilder other("other.tsb");
    other.Calc("trail = trail ++ \"0\"");
    other.Calc("trail = trail ++ \"1\"");
    other.Calc("trail = trail ++ \"2\"");
    Store(other);
    EXPECT_EQ(RunMain(main), "2");
    EXPECT_EQ(callMan->Page->Name, "other.tsb");
}

TEST_F(FlowTest, VarNewScopes) {
    vars.Declare("kept", PT_INT, VK_STATUS).Item->SetInt(7);
    main.VarNew("kept", PT_INT, "1", VK_STATUS);
    main.VarNew("plain", PT_INT, "1");
    main.Calc("plain = 5");
    main.VarNew("plain", PT_INT, "2");  // an ordinary variable takes the value again
    main.Call("sub.tsb");
    TPageBuilder sub("sub.tsb");
    sub.VarNew("temp", PT_INT, "3", VK_AUTOFREE);
    sub.VarNew("mine", PT_STR, "\"local\"", VK_LOCAL);
    sub.Calc("trail = trail ++ mine ++ IntToStr(temp, 1)");
    Store(sub);
    EXPECT_EQ(RunMain(main), "local3");
    EXPECT_EQ(Int("kept"), 7);
    EXPECT_EQ(Int("plain"), 2);
    EXPECT_EQ(vars.FindItem("temp"), nullptr);  // gone with the call's return
    EXPECT_EQ(vars.FindItem("mine"), nullptr);
}

TEST_F(FlowTest, VarNewWithoutANameRaisesAndTheScriptGoesOn) {
    main.VarNew("", PT_INT, "1");
    Mark("on", 0);
    EXPECT_EQ(RunMain(main), "on");
}

TEST_F(FlowTest, VarDelAndPropertiesOfMissingComponents) {
    main.VarNew("gone", PT_INT, "1");
    main.Add<TComVarDel>(Code::VarDel).Name = "gone";
    auto& get = main.Add<TComGetProp>(Code::GetProp);
    CompileExpression("\"nobody\"", get.Object);
    get.VarName = "trail";
    auto& del = main.Add<TComObjDel>(Code::ObjDel);
    CompileExpression("\"nobody\"", del.Object);
    Mark("done", 0);
    EXPECT_EQ(RunMain(main), "done");
    EXPECT_EQ(vars.FindItem("gone"), nullptr);
}

TEST_F(FlowTest, SaveLoadAndTerminateRequests) {
    auto& save = main.Add<TComGameSave>(Code::GameSave);
    CompileExpression("3", save.Slot);
    CompileExpression("\"first save\"", save.Text);
    save.Caption = "after.tsb";
    save.Value = 4;
    auto& load = main.Add<TComGameLoad>(Code::GameLoad);
    CompileExpression("2", load.Slot);
    main.Add<TComTerminate>(Code::Terminate);
    Mark("never", 0);
    RunMain(main, 1);
    EXPECT_EQ(host.SaveSlot, 3);
    EXPECT_EQ(host.SaveText, "first save");
    EXPECT_EQ(host.SaveAfterPage, "after.tsb");
    EXPECT_EQ(host.SaveAfterTarget, 4);
    EXPECT_EQ(host.LoadSlot, -1);  // GameSave is never chained: the frame ended
    Frames(2);
    EXPECT_EQ(host.LoadSlot, 2);
    EXPECT_TRUE(flags.Stop);
    EXPECT_TRUE(host.CloseRequested);
    EXPECT_EQ(Str("trail"), "");
}

TEST_F(FlowTest, ResetClearsVariablesButNotStatusAndRestarts) {
    vars.Declare("status", PT_INT, VK_STATUS).Item->SetInt(9);
    main.VarNew("plain", PT_INT, "1");
    auto& reset = main.Add<TComReset>(Code::Reset);
    reset.PageName = "again.tsb";
    reset.Target = 1;
    TPageBuilder again("again.tsb");
    again.VarNew("skipped", PT_INT, "1");
    again.VarNew("after", PT_INT, "1");
    Store(again);
    RunMain(main);
    EXPECT_EQ(vars.FindItem("plain"), nullptr);
    EXPECT_EQ(vars.FindItem("trail"), nullptr);
    EXPECT_EQ(vars.FindItem("skipped"), nullptr);
    EXPECT_EQ(Int("after"), 1);
    EXPECT_EQ(Int("status"), 9);
}

TEST_F(FlowTest, PCResetInAHandlerRewritesTheMainFlowItReturnsTo) {
    main.Wait("", "TRUE");  // waits for ever
    Mark("never", 0);
    TPageBuilder handler("ev.tsb");
    auto& reset = handler.Add<TComPCReset>(Code::PCReset);
    reset.PageName = "next.tsb";
    reset.Target = 1;
    handler.Calc("trail = trail ++ \"handler\"");
    Store(handler);
    TPageBuilder next("next.tsb");
    next.Calc("trail = trail ++ \"0\"");
    next.Calc("trail = trail ++ \"/next\"");
    Store(next);
    RunMain(main);
    auto button = std::make_unique<TTovaObject>();
    button->Name = "button";
    Queue("ev.tsb", {}, screen.AddObject(std::move(button)).Handle());
    Frames(3);
    EXPECT_EQ(Str("trail"), "handler/next") << log.str();
    EXPECT_EQ(screen.Events.Count(), 0u);
    EXPECT_TRUE(callMan->IsFinished());
}

TEST_F(FlowTest, FullPCResetEmptiesStackAndQueue) {
    main.Call("sub.tsb");
    Mark("returned", 0);
    TPageBuilder sub("sub.tsb");
    sub.VarNew("subvar", PT_INT, "1", VK_AUTOFREE);
    auto& reset = sub.Add<TComPCReset>(Code::PCReset);
    reset.PageName = "main.tsb";
    reset.Target = 2;
    reset.Mode = 1;
    Store(sub);
    Queue("nowhere.tsb");
    RunMain(main);
    EXPECT_EQ(callMan->Stack.Count(), 0);
    EXPECT_EQ(vars.FindItem("subvar"), nullptr);
    EXPECT_EQ(screen.Events.Count(), 0u);
    EXPECT_EQ(Str("trail"), "returned");
}

}  // namespace
}  // namespace tova::testing
