#include "expr/param_convert.h"
#include "expr_test_util.h"
#include "sysfunc_host_fake_test.h"

namespace tova::test {
namespace {

class SysFuncCompoTest : public TSysFuncFixture {};

TEST_F(SysFuncCompoTest, PropertiesGoToAnExistingComponentOnly) {
    host_.Compos["btn"].Props[50] = "caption";
    EXPECT_EQ(Call(2, PT_STR, {Str("btn"), Int(50)}).GetStr(), "caption");
    EXPECT_EQ(Call(2, PT_STR, {Str("none"), Int(50)}).GetStr(), "");

    EXPECT_EQ(Call(3, PT_STR, {Str("btn"), Int(50), Int(7)}).GetStr(), "");  // result stays empty
    EXPECT_EQ(host_.Compos["btn"].Props[50], "7");
    Call(3, PT_STR, {Str("none"), Int(50), Int(7)});
    EXPECT_FALSE(host_.Compos.count("none"));
}

TEST_F(SysFuncCompoTest, PropertyIdsOutsideTheTableRaise) {
    host_.Compos["btn"];
    EXPECT_EQ(ErrorOf([&] { Call(2, PT_INT, {Str("btn"), Int(163)}); }), Sys("GetPropエラー"));
    EXPECT_EQ(ErrorOf([&] { Call(3, PT_STR, {Str("btn"), Int(-1), Int(0)}); }), Sys("SetPropエラー"));
    EXPECT_NO_THROW(Call(2, PT_STR, {Str("btn"), Int(162)}));
    // Without the component nothing is looked at.
    EXPECT_NO_THROW(Call(2, PT_INT, {Str("none"), Int(500)}));
}

TEST_F(SysFuncCompoTest, ExistsInCabinetAndInPrimary) {
    host_.Compos["a"].Cabinet = true;
    host_.Compos["b"].Primary = true;
    EXPECT_TRUE(Call(19, PT_BOOL, {Str("a")}).GetBool());
    EXPECT_FALSE(Call(19, PT_BOOL, {Str("zz")}).GetBool());
    EXPECT_FALSE(Call(19, PT_BOOL, {Str("")}).GetBool());
    EXPECT_TRUE(Call(154, PT_BOOL, {Str("a")}).GetBool());
    EXPECT_FALSE(Call(154, PT_BOOL, {Str("b")}).GetBool());
    EXPECT_TRUE(Call(69, PT_BOOL, {Str("b")}).GetBool());
    EXPECT_FALSE(Call(69, PT_BOOL, {Str("a")}).GetBool());
}

TEST_F(SysFuncCompoTest, ItemFlagsRoundTripPerFlagAndItem) {
    host_.Compos["menu"];
    const std::vector<std::pair<int, int>> pairs = {{24, 25}, {131, 132}, {140, 141}, {146, 147}};
    for (const auto& [get, set] : pairs) {
        Call(set, PT_INT, {Str("menu"), Int(2), Bool(true)});
        EXPECT_TRUE(Call(get, PT_BOOL, {Str("menu"), Int(2)}).GetBool()) << get;
        EXPECT_FALSE(Call(get, PT_BOOL, {Str("menu"), Int(1)}).GetBool()) << get;
    }
    // The four flags are distinct states.
    Call(25, PT_INT, {Str("menu"), Int(5), Bool(true)});
    EXPECT_FALSE(Call(131, PT_BOOL, {Str("menu"), Int(5)}).GetBool());
}

TEST_F(SysFuncCompoTest, ItemFunctionsWithoutTheComponentLeaveTheDefault) {
    EXPECT_FALSE(Call(24, PT_BOOL, {Str("x"), Int(0)}).GetBool());
    EXPECT_EQ(Call(145, PT_INT, {Str("x"), Int(0)}).GetInt(), 0);
    Call(25, PT_INT, {Str("x"), Int(0), Bool(true)});
    EXPECT_FALSE(host_.Compos.count("x"));
}

TEST_F(SysFuncCompoTest, PreviewMenuTakesTextIndexOnlyWhenNumeric) {
    host_.Compos["pm"].Type = TComponentHost::kPrevMenuType;
    host_.Compos["pm"].Groups[3] = 9;
    EXPECT_EQ(Call(145, PT_INT, {Str("pm"), Str("3")}).GetInt(), 9);
    EXPECT_FALSE(ErrorOf([&] { Call(145, PT_INT, {Str("pm"), Str("three")}); }).empty());
    // Other components read the text as an integer, a non-number being 0.
    host_.Compos["m"].Groups[0] = 4;
    EXPECT_EQ(Call(145, PT_INT, {Str("m"), Str("three")}).GetInt(), 4);
}

TEST_F(SysFuncCompoTest, CoordinatesConvertByTheScreenOrigin) {
    host_.Compos["c"].Origin = {100, 50};
    EXPECT_EQ(Call(33, PT_INT, {Str("c"), Int(130)}).GetInt(), 30);
    EXPECT_EQ(Call(34, PT_INT, {Str("c"), Int(130)}).GetInt(), 80);
    EXPECT_EQ(Call(35, PT_INT, {Str("c"), Int(5)}).GetInt(), 105);
    EXPECT_EQ(Call(36, PT_INT, {Str("c"), Int(5)}).GetInt(), 55);
    EXPECT_EQ(Call(33, PT_INT, {Str("none"), Int(130)}).GetInt(), 130);
    EXPECT_EQ(Call(36, PT_INT, {Str("none"), Int(-7)}).GetInt(), -7);
}

TEST_F(SysFuncCompoTest, IndexOfMenuMatchesWholeLinesIgnoringCase) {
    host_.Compos["menu"].Items = "Start\r\nLoad\nQuit\r\n";
    EXPECT_EQ(Call(47, PT_INT, {Str("menu"), Str("load")}).GetInt(), 1);
    EXPECT_EQ(Call(47, PT_INT, {Str("menu"), Str("QUIT")}).GetInt(), 2);
    EXPECT_EQ(Call(47, PT_INT, {Str("menu"), Str("Loa")}).GetInt(), -1);
    EXPECT_EQ(Call(47, PT_INT, {Str("menu"), Str("")}).GetInt(), -1);  // the final break adds no line
    EXPECT_EQ(Call(47, PT_INT, {Str("none"), Str("Start")}).GetInt(), -1);
}

TEST_F(SysFuncCompoTest, ListCompoFiltersByTypeAndParent) {
    host_.Screen = {{"img1", 8}, {"btn", 3}, {"img2", 8}};
    host_.Compos["cab"].Children = {{"inner", 8}, {"b2", 3}};
    EXPECT_EQ(Call(32, PT_INT, {Ref("v")}).GetInt(), 3);
    EXPECT_EQ(Var("v").GetCount(), 3);
    EXPECT_EQ(Var("v").GetStrAt(2), "img2");

    EXPECT_EQ(Call(32, PT_INT, {Ref("v"), Int(8)}).GetInt(), 2);
    EXPECT_EQ(Var("v").GetStrAt(1), "img2");
    EXPECT_EQ(Call(32, PT_INT, {Ref("v"), Int(28)}).GetInt(), 3);  // 28 and above: every type
    EXPECT_EQ(Call(32, PT_INT, {Ref("v"), Int(3), Str("cab")}).GetInt(), 1);
    EXPECT_EQ(Var("v").GetStr(), "b2");

    EXPECT_EQ(Call(32, PT_INT, {Ref("v"), Int(0), Str("nobody")}).GetInt(), 0);
    EXPECT_EQ(Var("v").GetDimCount(), 1);
    EXPECT_EQ(Var("v").GetCount(), 1);
    EXPECT_EQ(Var("v").GetStr(), "");
}

}  // namespace
}  // namespace tova::test
