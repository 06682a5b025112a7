#include "expr_test_util.h"
#include "sysfunc_host_fake_test.h"

namespace tova::test {
namespace {

class SysFuncVarsTest : public TSysFuncFixture {};

TEST_F(SysFuncVarsTest, VarExistsFindsVariablesAndSystemVariables) {
    vars_.Declare("Score", PT_INT, VK_GLOBAL);
    EXPECT_TRUE(Call(50, PT_BOOL, {Str("score")}).GetBool());
    EXPECT_TRUE(Call(50, PT_BOOL, {Str("@Temp")}).GetBool());
    EXPECT_FALSE(Call(50, PT_BOOL, {Str("nope")}).GetBool());
    EXPECT_FALSE(Call(50, PT_BOOL, {Str("")}).GetBool());
}

TEST_F(SysFuncVarsTest, AssignTempOnlyForExistingVariables) {
    vars_.Declare("hp", PT_INT, VK_GLOBAL);
    EXPECT_TRUE(Call(84, PT_BOOL, {Str("hp")}).GetBool());
    EXPECT_EQ(vars_.TempTarget, "hp");
    EXPECT_FALSE(Call(84, PT_BOOL, {Str("ghost")}).GetBool());
    EXPECT_FALSE(Call(84, PT_BOOL, {Str("")}).GetBool());
    EXPECT_EQ(vars_.TempTarget, "hp");
}

TEST_F(SysFuncVarsTest, GetVarTypeLooksThroughReferences) {
    EXPECT_EQ(Call(130, PT_INT, {Str("x")}).GetInt(), PT_STR);
    EXPECT_EQ(Call(130, PT_INT, {Int(1)}).GetInt(), PT_INT);
    EXPECT_EQ(Call(130, PT_INT, {Ref("f", PT_FLOAT)}).GetInt(), PT_FLOAT);
    EXPECT_EQ(Call(130, PT_INT, {Ref("b", PT_BOOL)}).GetInt(), PT_BOOL);
    auto unbound = std::make_unique<TParamVar>(&vars_);
    EXPECT_EQ(Call(130, PT_INT, {unbound.get()}).GetInt(), 0);
}

TEST_F(SysFuncVarsTest, PushVarAndPopVarRestoreValues) {
    vars_.Declare("a", PT_INT, VK_GLOBAL).Item->SetInt(1);
    vars_.Declare("s", PT_STR, VK_GLOBAL).Item->SetStr("x");
    EXPECT_TRUE(Call(155, PT_BOOL, {Str("a"), Str("s"), Str("missing")}).GetBool());
    Var("a").SetInt(2);
    Var("s").SetStr("y");
    EXPECT_TRUE(Call(156, PT_BOOL).GetBool());
    EXPECT_EQ(Var("a").GetInt(), 1);
    EXPECT_EQ(Var("s").GetStr(), "x");
    // Popping with nothing pushed is harmless.
    EXPECT_TRUE(Call(156, PT_BOOL).GetBool());
}

TEST_F(SysFuncVarsTest, CalcRunsAnExpression) {
    vars_.Declare("x", PT_INT, VK_GLOBAL);
    EXPECT_EQ(Call(136, PT_STR, {Str("  x = 1 + 2 ")}).GetStr(), "TRUE");
    EXPECT_EQ(Var("x").GetInt(), 3);
    // Functions inside run with the same environment.
    EXPECT_EQ(Call(136, PT_STR, {Str("x = Exists(\"btn\")")}).GetStr(), "TRUE");
    EXPECT_EQ(Var("x").GetInt(), 0);
    host_.Compos["btn"];
    Call(136, PT_STR, {Str("x = Exists(\"btn\")")});
    EXPECT_EQ(Var("x").GetInt(), 1);

    EXPECT_EQ(Call(136, PT_STR, {Str(" \t")}).GetStr(), "");
    EXPECT_FALSE(ErrorOf([&] { Call(136, PT_STR, {Str("x = (1 +")}); }).empty());
}

TEST_F(SysFuncVarsTest, DispatcherIgnoresUnknownIds) {
    EXPECT_NO_THROW(Call(157, PT_INT, {Int(1)}));
    EXPECT_NO_THROW(Call(255, PT_INT));
    EXPECT_NO_THROW(Call(-1, PT_INT));
    EXPECT_FALSE(man_.HasFunction(157));
    EXPECT_TRUE(man_.HasFunction(151));
}

}  // namespace
}  // namespace tova::test
