#include <gtest/gtest.h>

#include "sysfunc_pure_test_util.h"

namespace tova {
namespace {

using namespace tova::pure;
using test::Elements;
using test::ErrorOf;
using test::IntOf;
using test::Invoke;
using test::StrOf;
using test::Sys;
using test::TArg;
using test::TVar;
using Texts = std::vector<std::string>;

// A one-dimensional variable of typeCode holding the texts, converted.
void Fill(TVar& var, const Texts& texts) {
    var.Value().SetDims({static_cast<int32_t>(texts.size())});
    for (size_t i = 0; i < texts.size(); ++i)
        var.Value().SetStrAt(static_cast<int>(i), texts[i]);
}

TEST(SysFuncPureArrays, SetArrayAndGetArraySize) {
    TVar a(PT_INT);
    Invoke(SetArray, PT_INT, {a, 3, 4});
    EXPECT_EQ(IntOf(GetArraySize, {a}), 12);
    EXPECT_EQ(IntOf(GetArraySize, {a, 0}), 4);
    EXPECT_EQ(IntOf(GetArraySize, {a, 1}), 3);
    // Dimensions beyond the shape have size 1, as a scalar has.
    EXPECT_EQ(IntOf(GetArraySize, {a, 2}), 1);
    EXPECT_EQ(IntOf(GetArraySize, {a, -2147483647 - 1}), 1);
    EXPECT_EQ(ErrorOf([&] { Invoke(SetArray, PT_INT, {a, 3, 0}); }), Sys("配列の要素数[3,0]が不正です"));
    EXPECT_EQ(a.Value().GetCount(), 12);
}

TEST(SysFuncPureArrays, FunctionsThatNeedAVariableRefuseConstants) {
    TParamVar unbound;
    for (const TArg& notVariable : {TArg(5), TArg(unbound)}) {
        EXPECT_EQ(ErrorOf([&] { Invoke(GetArraySize, PT_INT, {notVariable}); }),
                  Sys("GetArraySize:変数が見つかりません"));
        EXPECT_EQ(ErrorOf([&] {
                      Invoke(SetArray, PT_INT, {notVariable, 2});
                  }),
                  Sys("SetArray:変数が見つかりません"));
        EXPECT_EQ(ErrorOf([&] {
                      Invoke(FillMem, PT_INT, {notVariable, 2});
                  }),
                  Sys("FillMem:変数が見つかりません"));
    }
    TVar a(PT_INT);
    EXPECT_EQ(ErrorOf([&] { Invoke(CopyMem, PT_INT, {a, 5}); }), Sys("CopyMem:変数が見つかりません"));
    EXPECT_EQ(ErrorOf([&] { Invoke(CopyMem, PT_INT, {"x", a}); }), Sys("CopyMem:変数が見つかりません"));
}

TEST(SysFuncPureArrays, FillMemConvertsToTheVariablesType) {
    TVar a(PT_INT);
    a.Value().SetDims({3});
    Invoke(FillMem, PT_INT, {a, "7"});
    EXPECT_EQ(Elements(a.Value()), (Texts{"7", "7", "7"}));
    TVar s(PT_STR);
    s.Value().SetDims({2});
    Invoke(FillMem, PT_INT, {s, 2.5});
    EXPECT_EQ(Elements(s.Value()), (Texts{"2.5", "2.5"}));
}

TEST(SysFuncPureArrays, CopyMemCopiesShapeAndElementsOfTheSameClass) {
    TVar a(PT_STR), b(PT_STR), n(PT_INT);
    b.Value().SetDims({2, 2});
    b.Value().SetStrAt(3, "z");
    Invoke(CopyMem, PT_INT, {a, b});
    EXPECT_EQ(a.Value().GetDimCount(), 2);
    EXPECT_EQ(Elements(a.Value()), (Texts{"", "", "", "z"}));
    EXPECT_EQ(ErrorOf([&] { Invoke(CopyMem, PT_INT, {n, b}); }), Sys("CopyMem:変数の型があいません"));
}

TEST(SysFuncPureArrays, ArrayToString) {
    TVar a(PT_FLOAT);
    Fill(a, {"1.5", "2", "-3"});
    EXPECT_EQ(StrOf(ArrayToString, {a}), "1.5\r\n2\r\n-3");
    EXPECT_EQ(StrOf(ArrayToString, {a, ""}), "1.52-3");
    EXPECT_EQ(StrOf(ArrayToString, {true, ","}), "TRUE");
}

TEST(SysFuncPureArrays, StringToArrayAtSeparatorCharacters) {
    TVar v(PT_STR);
    Invoke(StringToArray, PT_INT, {"a,b;c", v, ",;"});
    EXPECT_EQ(Elements(v.Value()), (Texts{"a", "b", "c"}));
    EXPECT_EQ(v.Value().Dims(), TDynamicIntArray{3});
    Invoke(StringToArray, PT_INT, {"a,,b", v, ","});
    EXPECT_EQ(Elements(v.Value()), (Texts{"a", "", "b"}));
    Invoke(StringToArray, PT_INT, {",a,", v, ","});
    EXPECT_EQ(Elements(v.Value()), (Texts{"", "a"}));
    // A trail byte equal to a separator does not split: "表" is 0x95 0x5C.
    Invoke(StringToArray, PT_INT, {Sys("表\\表"), v, "\\"});
    EXPECT_EQ(Elements(v.Value()), (Texts{Sys("表"), Sys("表")}));
    Invoke(StringToArray, PT_INT, {Sys("a、b"), v, Sys("、")});
    EXPECT_EQ(Elements(v.Value()), (Texts{"a", "b"}));
}

TEST(SysFuncPureArrays, StringToArrayIntoLines) {
    TVar v(PT_STR);
    Invoke(StringToArray, PT_INT, {"a\r\nb\nc\rd\r\n", v});
    EXPECT_EQ(Elements(v.Value()), (Texts{"a", "b", "c", "d"}));
    Invoke(StringToArray, PT_INT, {"a\n\n", v, "\r\n"});  // the explicit CR LF splits into lines too
    EXPECT_EQ(Elements(v.Value()), (Texts{"a", ""}));
    Invoke(StringToArray, PT_INT, {"\r\n", v});
    EXPECT_EQ(Elements(v.Value()), (Texts{""}));
    Invoke(StringToArray, PT_INT, {"\n\r", v});  // LF then CR: two line ends
    EXPECT_EQ(Elements(v.Value()), (Texts{"", ""}));
    TVar n(PT_INT);
    Invoke(StringToArray, PT_INT, {"4\r\nx", n});
    EXPECT_EQ(Elements(n.Value()), (Texts{"4", "0"}));
}

TEST(SysFuncPureArrays, StringToArrayOfNothingMakesTheScalarEmptyText) {
    TVar v(PT_STR);
    v.Value().SetDims({2, 2});
    v.Value().SetStrAt(0, "old");
    auto result = Invoke(StringToArray, PT_INT, {"", v, ","});
    EXPECT_TRUE(v.Value().Dims().empty());
    EXPECT_EQ(Elements(v.Value()), (Texts{""}));
    EXPECT_EQ(result->GetInt(), 0);
}

TEST(SysFuncPureArrays, IndexOfStrDefaults) {
    TVar a(PT_STR);
    Fill(a, {"Apple", "apple", "pineapple"});
    EXPECT_EQ(IntOf(IndexOfStr, {a, "apple"}), 1);
    EXPECT_EQ(IntOf(IndexOfStr, {a, "APPLE"}), -1);
    EXPECT_EQ(IntOf(IndexOfStr, {a, "APPLE", false}), 0);
    EXPECT_EQ(IntOf(IndexOfStr, {a, "nea", true, true}), 2);
}

TEST(SysFuncPureArrays, SortStrOrdersTextsIgnoringCase) {
    TVar s(PT_STR);
    Fill(s, {"b", "C", "a", "B2", ""});
    Invoke(SortStr, PT_INT, {s});
    EXPECT_EQ(Elements(s.Value()), (Texts{"", "a", "b", "B2", "C"}));
    // Numbers are sorted by their text.
    TVar n(PT_INT);
    Fill(n, {"9", "100", "10", "-1"});
    Invoke(SortStr, PT_INT, {n});
    EXPECT_EQ(Elements(n.Value()), (Texts{"-1", "10", "100", "9"}));
}

TEST(SysFuncPureArrays, AddArrayAppendsConvertedElements) {
    TVar a(PT_INT), s(PT_STR);
    a.Value().SetInt(1);  // a scalar counts as one element
    Fill(s, {"4", "x"});
    EXPECT_EQ(IntOf(AddArray, {a, s}), 3);
    EXPECT_EQ(Elements(a.Value()), (Texts{"1", "4", "0"}));
    EXPECT_EQ(a.Value().Dims(), TDynamicIntArray{3});
    // Appending a variable to itself uses its elements from before the call.
    EXPECT_EQ(IntOf(AddArray, {a, a}), 6);
    EXPECT_EQ(Elements(a.Value()), (Texts{"1", "4", "0", "1", "4", "0"}));
}

TEST(SysFuncPureArrays, AddAndInsertLeaveMultiDimensionalValuesAlone) {
    TVar a(PT_INT), grid(PT_INT);
    Fill(a, {"1", "2"});
    grid.Value().SetDims({2, 2});
    EXPECT_EQ(IntOf(AddArray, {a, grid}), 2);
    EXPECT_EQ(IntOf(InsertArray, {grid, a, 0}), 4);
    EXPECT_EQ(Elements(a.Value()), (Texts{"1", "2"}));
    EXPECT_EQ(grid.Value().GetDimCount(), 2);
}

TEST(SysFuncPureArrays, InsertArrayClampsThePosition) {
    TVar a(PT_STR);
    Fill(a, {"a", "b"});
    EXPECT_EQ(IntOf(InsertArray, {a, "x", 1}), 3);
    EXPECT_EQ(Elements(a.Value()), (Texts{"a", "x", "b"}));
    IntOf(InsertArray, {a, "<", -5});
    IntOf(InsertArray, {a, ">", 99});
    EXPECT_EQ(Elements(a.Value()), (Texts{"<", "a", "x", "b", ">"}));
}

TEST(SysFuncPureArrays, DeleteArrayClampsStartAndLength) {
    TVar a(PT_STR);
    Fill(a, {"a", "b", "c", "d", "e"});
    EXPECT_EQ(IntOf(DeleteArray, {a, 1, 2}), 3);
    EXPECT_EQ(Elements(a.Value()), (Texts{"a", "d", "e"}));
    EXPECT_EQ(IntOf(DeleteArray, {a, 99, 5}), 2);  // start clamped to the last element
    EXPECT_EQ(Elements(a.Value()), (Texts{"a", "d"}));
    EXPECT_EQ(IntOf(DeleteArray, {a, -3, 1}), 1);  // start clamped to 0
    EXPECT_EQ(Elements(a.Value()), (Texts{"d"}));
}

TEST(SysFuncPureArrays, DeleteArrayOfEveryElementFails) {
    TVar a(PT_INT);
    Fill(a, {"1", "2", "3"});
    EXPECT_EQ(ErrorOf([&] { Invoke(DeleteArray, PT_INT, {a, 0, 3}); }), Sys("配列の要素数[0]が不正です"));
    EXPECT_EQ(ErrorOf([&] { Invoke(DeleteArray, PT_INT, {a, -1, 100}); }), Sys("配列の要素数[0]が不正です"));
    EXPECT_EQ(Elements(a.Value()), (Texts{"1", "2", "3"}));
    TVar grid(PT_INT);
    grid.Value().SetDims({2, 3});
    EXPECT_EQ(IntOf(DeleteArray, {grid, 0, 6}), 6);
    EXPECT_EQ(grid.Value().GetCount(), 6);
}

TEST(SysFuncPureArrays, CopyArrayConvertsToTheOwnType) {
    TVar f(PT_FLOAT), s(PT_STR);
    s.Value().SetDims({2, 2});
    s.Value().SetStrAt(0, "1.25");
    s.Value().SetStrAt(3, "x");
    EXPECT_TRUE(test::BoolOf(CopyArray, {f, s}));
    EXPECT_EQ(f.Value().Dims(), (TDynamicIntArray{2, 2}));
    EXPECT_EQ(Elements(f.Value()), (Texts{"1.25", "0", "0", "0"}));
    EXPECT_EQ(f.Value().StoredType(), PT_FLOAT);
}

}  // namespace
}  // namespace tova
