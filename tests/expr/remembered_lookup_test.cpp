// A compiled expression remembers where it found its names: evaluating the
// same expression again must still find what a fresh lookup would after
// anything that decides the answer has changed in between.
#include <gtest/gtest.h>

#include "core/binary_io.h"
#include "expr/param_collection.h"
#include "expr/param_types.h"
#include "expr/tova_parser.h"

namespace tova {
namespace {

TTovaParser Compiled(std::string_view text) {
    TTovaParser parser;
    CompileExpression(text, parser);
    return parser;
}

int32_t ValueOf(TTovaParser& parser, TOpeEvaluator& evaluator) {
    parser.Execute(evaluator);
    return parser.Result ? parser.Result->GetInt() : -999;
}

TEST(RememberedLookup, FollowsEveryChangeThatDecidesTheAnswer) {
    TParamCollection vars;
    TOpeEvaluator evaluator(vars);
    TTovaParser read = Compiled("v + 0");
    EXPECT_EQ(ValueOf(read, evaluator), -999);  // no such variable yet

    vars.Declare("v", PT_INT, VK_GLOBAL).Item->SetInt(1);
    EXPECT_EQ(ValueOf(read, evaluator), 1);

    // A local of the current depth hides the global; another depth does not see it.
    vars.CurrentDepth = 2;
    vars.Declare("V", PT_INT, VK_LOCAL).Item->SetInt(2);
    EXPECT_EQ(ValueOf(read, evaluator), 2);
    vars.CurrentDepth = 3;
    EXPECT_EQ(ValueOf(read, evaluator), 1);
    vars.CurrentDepth = 2;
    EXPECT_EQ(ValueOf(read, evaluator), 2);

    // Leaving the depth frees the local; deleting the global leaves nothing.
    vars.FreeOwned(2);
    EXPECT_EQ(ValueOf(read, evaluator), 1);
    vars.DeleteVariable(*vars.FindItem("v"));
    EXPECT_EQ(ValueOf(read, evaluator), -999);

    // A variable of the same name made anew, then a reset and a load.
    vars.Declare("v", PT_INT, VK_GLOBAL).Item->SetInt(4);
    EXPECT_EQ(ValueOf(read, evaluator), 4);
    TTpMemoryStream saved;
    vars.SaveGameVars(saved);
    vars.ClearVars();
    EXPECT_EQ(ValueOf(read, evaluator), -999);
    saved.SetPosition(0);
    vars.LoadGameVars(saved, TParamCollection::kCurrentSaveVersion);
    EXPECT_EQ(ValueOf(read, evaluator), 4);

    // Renaming an item moves it out of the name's chain.
    vars.FindItem("v")->SetName("w");
    EXPECT_EQ(ValueOf(read, evaluator), -999);
}

TEST(RememberedLookup, OneExpressionOverTwoCollections) {
    TParamCollection first;
    TParamCollection second;
    first.Declare("n", PT_INT, VK_GLOBAL).Item->SetInt(10);
    second.Declare("n", PT_INT, VK_GLOBAL).Item->SetInt(20);
    TOpeEvaluator inFirst(first);
    TOpeEvaluator inSecond(second);
    TTovaParser step = Compiled("n = n + 1");
    step.Execute(inFirst);
    step.Execute(inSecond);
    step.Execute(inFirst);
    EXPECT_EQ(first.FindItem("n")->GetInt(), 12);
    EXPECT_EQ(second.FindItem("n")->GetInt(), 21);
    // No temporary is left behind in either.
    EXPECT_EQ(first.FindItem("____0"), nullptr);
    EXPECT_EQ(second.FindItem("____0"), nullptr);
}

}  // namespace
}  // namespace tova
