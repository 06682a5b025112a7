#include <gtest/gtest.h>

#include "expr/param_collection.h"
#include "expr/param_data.h"
#include "expr/param_factory.h"
#include "expr/param_system.h"
#include "expr/param_var.h"
#include "expr_test_util.h"

namespace tova {
namespace {

using test::ErrorOf;
using test::Sys;

TEST(ParamArray, SetDimsKeepsFlatPrefix) {
    TParamInt a;
    a.SetInt(7);
    a.SetDims({3, 4});
    EXPECT_EQ(a.GetCount(), 12);
    EXPECT_EQ(a.GetDimCount(), 2);
    EXPECT_EQ(a.GetDimSize(0), 3);
    EXPECT_EQ(a.GetDimSize(1), 4);
    EXPECT_EQ(a.GetDimSize(2), 1);
    EXPECT_EQ(a.GetIntAt(0), 7);
    EXPECT_EQ(a.GetIntAt(11), 0);
    a.SetIntAt(5, 55);
    // Re-dimensioning keeps flat positions, not coordinates.
    a.SetDims({2, 3});
    EXPECT_EQ(a.GetCount(), 6);
    EXPECT_EQ(a.GetIntAt(5), 55);
}

TEST(ParamArray, SetDimsRejectsBadEntries) {
    TParamStr a;
    a.SetDims({4});
    EXPECT_EQ(ErrorOf([&] { a.SetDims({0}); }), Sys("配列の要素数[0]が不正です"));
    EXPECT_EQ(ErrorOf([&] { a.SetDims({2, -1, 3}); }), Sys("配列の要素数[2,-1,3]が不正です"));
    // An element count beyond the index range is refused the same way.
    EXPECT_EQ(ErrorOf([&] { a.SetDims({65536, 65536}); }), Sys("配列の要素数[65536,65536]が不正です"));
    EXPECT_EQ(a.GetCount(), 4);
    EXPECT_EQ(a.Dims(), TDynamicIntArray{4});
}

TEST(ParamArray, ElementAccessBounds) {
    TParamFloat a;
    a.SetDims({3});
    const std::string bad = Sys("配列の添字が不正です");
    EXPECT_EQ(ErrorOf([&] { a.GetFloatAt(3); }), bad);
    EXPECT_EQ(ErrorOf([&] { a.GetStrAt(-1); }), bad);
    EXPECT_EQ(ErrorOf([&] { a.SetIntAt(3, 1); }), bad);
    a.SetFloatAt(2, 1.5L);
    EXPECT_EQ(a.GetStrAt(2), "1.5");
}

TEST(ParamArray, ScalarWriteMakesScalar) {
    TParamFlag a;
    a.SetDims({2, 2});
    a.SetBoolAt(0, true);
    a.SetBoolAt(3, true);
    a.SetInt(0);
    EXPECT_EQ(a.GetCount(), 1);
    EXPECT_TRUE(a.Dims().empty());
    EXPECT_EQ(a.GetDimCount(), 1);
    EXPECT_FALSE(a.GetBool());
}

TEST(ParamArray, FillsOnlyFromOwnType) {
    TParamInt i;
    i.SetDims({3});
    i.FillStr("5");
    i.FillFloat(2.0L);
    EXPECT_EQ(i.GetIntAt(1), 0);
    i.FillInt(9);
    EXPECT_EQ(i.GetIntAt(0) + i.GetIntAt(1) + i.GetIntAt(2), 27);
    TParamStr s;
    s.SetDims({2});
    s.FillStr("x");
    EXPECT_EQ(s.GetStrAt(1), "x");
}

TEST(ParamArray, CopyMemNeedsSameClass) {
    TParamStr src;
    src.SetDims({2, 2});
    src.SetStrAt(3, "last");
    TParamStr dst;
    dst.CopyMem(src);
    EXPECT_EQ(dst.GetCount(), 4);
    EXPECT_EQ(dst.Dims(), (TDynamicIntArray{2, 2}));
    EXPECT_EQ(dst.GetStrAt(3), "last");
    TParamInt other;
    EXPECT_EQ(ErrorOf([&] { other.CopyMem(src); }), Sys("CopyMem:変数の型があいません"));
    // A scalar source gives a one-element array.
    TParamStr scalar;
    scalar.SetStr("s");
    dst.CopyMem(scalar);
    EXPECT_EQ(dst.Dims(), TDynamicIntArray{1});
    EXPECT_EQ(dst.GetStr(), "s");
}

TEST(ParamArray, AssignConvertedTakesShapeAndConverts) {
    TParamFloat src;
    src.SetDims({2, 2});
    src.SetFloatAt(1, 2.75L);
    src.SetFloatAt(3, -1.0L);
    TParamStr dst;
    dst.AssignConverted(src);
    EXPECT_EQ(dst.Dims(), (TDynamicIntArray{2, 2}));
    EXPECT_EQ(dst.GetStrAt(1), "2.75");
    EXPECT_EQ(dst.GetStrAt(3), "-1");
    TParamInt ints;
    ints.AssignConverted(src);
    EXPECT_EQ(ints.GetIntAt(1), 2);
}

TEST(ParamArray, IndexOfStr) {
    TParamStr s;
    s.SetDims({4});
    s.SetStrAt(0, "Apple");
    s.SetStrAt(1, "apple");
    s.SetStrAt(2, "Pineapple");
    s.SetStrAt(3, Sys("ＡＢＣ"));
    EXPECT_EQ(s.IndexOfStr("apple", true, false), 1);
    EXPECT_EQ(s.IndexOfStr("APPLE", false, false), 0);
    EXPECT_EQ(s.IndexOfStr("APPLE", true, false), -1);
    EXPECT_EQ(s.IndexOfStr("neap", true, true), 2);
    EXPECT_EQ(s.IndexOfStr("PPL", false, true), 0);
    EXPECT_EQ(s.IndexOfStr("", true, true), 0);
    // Full-width letters are not folded.
    EXPECT_EQ(s.IndexOfStr(Sys("ａｂｃ"), false, false), -1);
    EXPECT_EQ(s.IndexOfStr(Sys("ＢＣ"), false, true), 3);
    // Other classes compare their elements as text.
    TParamInt i;
    i.SetDims({3});
    i.SetIntAt(2, -4);
    EXPECT_EQ(i.IndexOfStr("-4", true, false), 2);
    EXPECT_EQ(i.IndexOfStr("4", true, true), 2);
}

TEST(ParamFactory, CodesModulo128) {
    EXPECT_EQ(CreateParam(0)->StoredType(), PT_NONE);
    EXPECT_EQ(CreateParam(4)->GetParamType(), PT_STR);
    EXPECT_EQ(CreateParam(0x82)->GetParamType(), PT_FLOAT);
    EXPECT_EQ(CreateParam(5), nullptr);
}

class ParamVarTest : public ::testing::Test {
protected:
    ParamVarTest() {
        array = vars.AddItem(PT_INT);
        array->SetName("arr");
        array->SetDims({2, 3});
        for (int k = 0; k < 6; ++k)
            array->SetIntAt(k, k * 10);
    }
    TParamCollection vars;
    TParamCollectionItem* array;
};

TEST_F(ParamVarTest, UnboundAnswersNothing) {
    TParamVar ref;
    EXPECT_EQ(ref.GetCount(), 0);
    EXPECT_EQ(ref.GetDimCount(), 0);
    EXPECT_EQ(ref.GetDimSize(0), 0);
    EXPECT_EQ(ref.GetParamType(), PT_NONE);
    EXPECT_EQ(ref.GetStr(), "");
    EXPECT_EQ(ref.IndexOfStr("", true, true), -1);
    ref.SetInt(5);
    ref.SetDims({0});  // ignored, not validated
    EXPECT_EQ(ref.GetInt(), 0);
}

TEST_F(ParamVarTest, AliasOfWholeVariable) {
    TParamVar ref;
    ASSERT_TRUE(ref.Bind(array));
    EXPECT_EQ(ref.GetParamType(), PT_INT);
    EXPECT_EQ(ref.GetCount(), 6);
    EXPECT_EQ(ref.GetDimSize(1), 3);
    EXPECT_EQ(ref.GetIntAt(4), 40);
    ref.FillInt(1);
    EXPECT_EQ(array->GetIntAt(5), 1);
    ref.SetDims({4});
    EXPECT_EQ(array->GetCount(), 4);
    ref.MakeScalar();
    EXPECT_EQ(array->GetCount(), 1);
}

TEST_F(ParamVarTest, AliasOfOneElement) {
    TParamVar ref;
    ref.BindElement(array, 4);
    EXPECT_EQ(ref.GetInt(), 40);
    EXPECT_EQ(ref.GetStr(), "40");
    ref.SetStr("77");
    EXPECT_EQ(array->GetIntAt(4), 77);
    // A scalar write through an element reference keeps the array whole.
    EXPECT_EQ(array->GetCount(), 6);
    ref.ElementIndex = 6;
    EXPECT_EQ(ErrorOf([&] { ref.GetInt(); }), Sys("配列の添字が不正です"));
}

TEST_F(ParamVarTest, CycleIsRefused) {
    TParamCollectionItem* a = vars.AddItem(PT_NONE);
    a->SetName("a");
    TParamCollectionItem* b = vars.AddItem(PT_NONE);
    b->SetName("b");
    auto& refA = dynamic_cast<TParamVar&>(a->Value());
    auto& refB = dynamic_cast<TParamVar&>(b->Value());
    ASSERT_TRUE(refA.Bind(b));
    EXPECT_FALSE(refB.Bind(a));
    EXPECT_FALSE(refB.Bind(b));
    EXPECT_EQ(refB.Target(), nullptr);
    EXPECT_EQ(a->GetInt(), 0);  // ends at the unbound b instead of recursing
}

class FixedHost : public TSystemVariableHost {
public:
    TCustomParam* Resolve(int sysIndex) override { return sysIndex == 7 ? &textDelay : nullptr; }
    TParamInt textDelay;
};

TEST(ParamSystem, DispatchesBySysIndex) {
    TParamCollection vars;
    TParamCollectionItem* delay = vars.FindItem("@textdelay");
    ASSERT_NE(delay, nullptr);
    // The default host answers the defaults of a value without storage.
    delay->SetInt(80);
    EXPECT_EQ(delay->GetInt(), 0);
    EXPECT_EQ(delay->GetCount(), 1);
    EXPECT_EQ(delay->GetParamType(), PT_INT);
    FixedHost host;
    vars.SetSystemHost(&host);
    delay->SetInt(80);
    EXPECT_EQ(host.textDelay.GetInt(), 80);
    EXPECT_EQ(delay->GetStr(), "80");
    EXPECT_EQ(vars.FindItem("@MouseX")->GetInt(), 0);
    vars.SetSystemHost(nullptr);
    EXPECT_EQ(delay->GetInt(), 0);

    TParamSystem unknown(50, vars);
    EXPECT_EQ(ErrorOf([&] { unknown.GetInt(); }), Sys("内部エラー"));
}

}  // namespace
}  // namespace tova
