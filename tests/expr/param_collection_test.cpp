#include <gtest/gtest.h>

#include <vector>

#include "core/binary_io.h"
#include "expr/element_address.h"
#include "expr/param_collection.h"
#include "expr/param_data.h"
#include "expr/param_var.h"
#include "expr/system_variable_names.h"
#include "expr_test_util.h"

namespace tova {
namespace {

using test::ErrorOf;
using test::Sys;

TParamCollectionItem* AddNamed(TParamCollection& vars, int type, const std::string& name) {
    TParamCollectionItem* item = vars.AddItem(type);
    item->SetName(name);
    return item;
}

TEST(ParamCollection, StartsWithTheSystemVariables) {
    TParamCollection vars;
    ASSERT_EQ(vars.Count(), kSystemVariableCount);
    EXPECT_EQ(vars.Item(0)->GetName(), "@Result");
    EXPECT_EQ(vars.Item(49)->GetName(), "@IsDebug");
    for (int i = 0; i < vars.Count(); ++i)
        EXPECT_TRUE(vars.Item(i)->IsSystem());
    EXPECT_EQ(vars.FindItem("@SELSTR"), vars.Item(28));
    EXPECT_EQ(NameHash("abc"), 243);
    EXPECT_EQ(NameHash("ABC"), 243);
}

TEST(ParamCollection, NameRule) {
    TParamCollection vars;
    TParamCollectionItem* item = vars.AddItem(PT_INT);
    EXPECT_EQ(ErrorOf([&] { item->SetName(""); }), Sys("\"\"：変数名が不正です"));
    EXPECT_EQ(ErrorOf([&] { item->SetName("a b"); }), Sys("\"a b\"：変数名が不正です"));
    EXPECT_EQ(ErrorOf([&] { item->SetName("9lives"); }), Sys("\"9lives\"：変数名が不正です"));
    item->SetName("lives9");
    item->SetName("\x01page");
    item->SetName("____0");
    item->SetName(Sys("１番"));  // a full-width digit is no ASCII digit
    EXPECT_EQ(vars.FindItem(Sys("１番")), item);
}

TEST(ParamCollection, LocalsHideGlobalsOnlyAtTheirDepth) {
    TParamCollection vars;
    TParamCollectionItem* global = AddNamed(vars, PT_INT, "n");
    vars.CurrentDepth = 2;
    const auto declared = vars.Declare("N", PT_STR, VK_LOCAL);
    ASSERT_NE(declared.Item, global);
    EXPECT_EQ(declared.Item->LocalFlag, 1);
    EXPECT_EQ(declared.Item->Owner, 2);
    EXPECT_EQ(vars.FindItem("n"), declared.Item);
    EXPECT_EQ(vars.FindDeclared("n", true), declared.Item);
    EXPECT_EQ(vars.FindDeclared("n", false), global);
    for (int depth : {1, 3}) {
        vars.CurrentDepth = depth;
        EXPECT_EQ(vars.FindItem("n"), global);
        EXPECT_EQ(vars.FindDeclared("n", true), nullptr);
    }
    vars.CurrentDepth = 2;
    vars.FreeOwned(2);
    EXPECT_EQ(vars.FindItem("n"), global);
    EXPECT_EQ(vars.FindItem("missing"), nullptr);
}

TEST(ParamCollection, EarliestGlobalWinsAmongDuplicates) {
    TParamCollection vars;
    TParamCollectionItem* first = AddNamed(vars, PT_INT, "dup");
    AddNamed(vars, PT_STR, "DUP");
    // Renaming links the item anew, at the head of its chain.
    TParamCollectionItem* renamed = AddNamed(vars, PT_INT, "other");
    renamed->SetName("dup");
    EXPECT_EQ(vars.FindItem("Dup"), first);
    EXPECT_EQ(vars.FindDeclared("dup", false), renamed);
}

TEST(ParamCollection, DeclareContract) {
    TParamCollection vars;
    vars.CurrentDepth = 1;
    EXPECT_EQ(ErrorOf([&] { vars.Declare("", PT_INT, VK_GLOBAL); }), Sys("変数名がありません"));
    EXPECT_EQ(ErrorOf([&] { vars.Declare("1x", PT_INT, VK_GLOBAL); }), Sys("\"1x\"：変数名が不正です"));
    EXPECT_EQ(vars.Count(), kSystemVariableCount);  // a refused name leaves nothing behind

    const auto autoFree = vars.Declare("t", PT_INT, VK_AUTOFREE);
    EXPECT_TRUE(autoFree.AssignInitial);
    EXPECT_EQ(autoFree.Item->Owner, 1);
    EXPECT_EQ(autoFree.Item->LocalFlag, 0);
    // Declared again with another type: found, keeps its type.
    const auto again = vars.Declare("t", PT_STR, VK_GLOBAL);
    EXPECT_EQ(again.Item, autoFree.Item);
    EXPECT_TRUE(again.AssignInitial);
    EXPECT_EQ(again.Item->Value().StoredType(), PT_INT);

    const auto status = vars.Declare("s", PT_STR, VK_STATUS);
    EXPECT_EQ(status.Item->StatusFlag, 1);
    EXPECT_TRUE(status.AssignInitial);
    EXPECT_FALSE(vars.Declare("S", PT_STR, VK_STATUS).AssignInitial);

    TParamStr initial;
    initial.SetStr("12");
    // The initial value converts by the declared type into what the variable holds.
    AssignScalarAs(PT_STR, again.Item->Value(), initial);
    EXPECT_EQ(again.Item->GetInt(), 12);
}

TEST(ParamCollection, DetachedCopy) {
    TParamCollection vars;
    TParamCollectionItem* a = AddNamed(vars, PT_STR, "a");
    a->SetDims({2});
    a->SetStrAt(1, "b");
    std::unique_ptr<TCustomParam> copy = vars.DetachedCopy("A");
    ASSERT_NE(copy, nullptr);
    a->SetStrAt(1, "changed");
    EXPECT_EQ(copy->GetStrAt(1), "b");
    EXPECT_EQ(copy->Dims(), TDynamicIntArray{2});
    EXPECT_EQ(vars.DetachedCopy("none"), nullptr);
    AddNamed(vars, PT_NONE, "r");
    EXPECT_EQ(ErrorOf([&] { vars.DetachedCopy("r"); }), Sys("r:不正な変数です"));
    EXPECT_EQ(ErrorOf([&] { vars.DetachedCopy("@Pi"); }), Sys("@Pi:不正な変数です"));
}

TEST(ParamCollection, ClearVarsKeepsSystemAndStatus) {
    TParamCollection vars;
    AddNamed(vars, PT_INT, "g");
    TParamCollectionItem* status = AddNamed(vars, PT_INT, "st");
    status->StatusFlag = 1;
    vars.TextDelay = 10;
    vars.Cursor = "hand";
    vars.ClearVars();
    EXPECT_EQ(vars.Count(), kSystemVariableCount + 1);
    EXPECT_EQ(vars.FindItem("st"), status);
    EXPECT_EQ(vars.FindItem("g"), nullptr);
    EXPECT_EQ(vars.TextDelay, 50);
    EXPECT_EQ(vars.Cursor, "");
    EXPECT_EQ(status->Index(), kSystemVariableCount);
}

TEST(ParamCollection, DestroyingATargetUnbindsItsReferences) {
    TParamCollection vars;
    vars.CurrentDepth = 3;
    TParamCollectionItem* local = vars.Declare("loc", PT_INT, VK_LOCAL).Item;
    auto& ref = dynamic_cast<TParamVar&>(AddNamed(vars, PT_NONE, "r")->Value());
    ref.Bind(local);
    vars.FreeOwned(3);
    EXPECT_EQ(ref.Target(), nullptr);
    EXPECT_EQ(ref.GetInt(), 0);
    // The variable deletion never removes a system variable.
    vars.DeleteVariable(*vars.FindItem("@MouseX"));
    EXPECT_EQ(vars.Count(), kSystemVariableCount + 1);
}

TEST(ParamCollection, PushAndPopVars) {
    TParamCollection vars;
    AddNamed(vars, PT_INT, "a")->SetInt(1);
    TParamCollectionItem* b = AddNamed(vars, PT_STR, "b");
    b->SetDims({2});
    b->SetStrAt(1, "two");
    AddNamed(vars, PT_NONE, "ref");
    vars.PushVars({"A", "missing", "ref", "@MouseX", "b"});
    ASSERT_EQ(vars.PushedSets.size(), 1u);

    vars.FindItem("a")->SetInt(99);
    vars.DeleteVariable(*vars.FindItem("b"));
    TParamCollectionItem* retyped = vars.FindItem("a");
    retyped->SetType(PT_FLOAT);
    vars.PopVars();
    EXPECT_TRUE(vars.PushedSets.empty());
    TParamCollectionItem* a = vars.FindItem("a");
    EXPECT_EQ(a->Value().StoredType(), PT_INT);
    EXPECT_EQ(a->GetInt(), 1);
    TParamCollectionItem* restored = vars.FindItem("b");
    ASSERT_NE(restored, nullptr);
    EXPECT_EQ(restored->GetStrAt(1), "two");
    EXPECT_EQ(restored->LocalFlag, 0);
    vars.PopVars();  // nothing left: no effect
}

TEST(ElementAddress, FlatIndexAndErrors) {
    TParamCollection vars;
    TParamCollectionItem* a = AddNamed(vars, PT_INT, "a");
    a->SetDims({3, 4});
    const std::vector<int32_t> ok{1, 2};
    EXPECT_EQ(ElementIndexOf(*a, "a", ok), 6);
    EXPECT_EQ(ElementIndexOf(*a, "a", std::vector<int32_t>{2, 3}), 11);
    EXPECT_EQ(ErrorOf([&] {
                  ElementIndexOf(*a, "a", std::vector<int32_t>{2, 4});
              }),
              "a[2,4]\r\n" + Sys("要素数を超えています"));
    EXPECT_EQ(ErrorOf([&] { ElementIndexOf(*a, "a", std::vector<int32_t>{1}); }),
              "a[1]\r\n" + Sys("添え字が不正です"));
    // A negative index passes here and fails at the element.
    TParamVar ref;
    BindElement(ref, vars, "a", std::vector<int32_t>{0, -1});
    EXPECT_EQ(ref.ElementIndex, -1);
    EXPECT_EQ(ErrorOf([&] { ref.GetInt(); }), Sys("配列の添字が不正です"));

    BindElement(ref, vars, "a", ok);
    ref.SetInt(66);
    EXPECT_EQ(a->GetIntAt(6), 66);
    EXPECT_EQ(ErrorOf([&] { BindElement(ref, vars, "zz", ok); }), Sys("\"zz\" 変数がありません"));
}

TEST(ElementAddress, ScalarTakesOneIndex) {
    TParamCollection vars;
    TParamCollectionItem* s = AddNamed(vars, PT_STR, "s");
    s->SetStr("v");
    TParamVar ref;
    BindElement(ref, vars, "s", std::vector<int32_t>{0});
    EXPECT_EQ(ref.GetStr(), "v");
    EXPECT_EQ(ErrorOf([&] { ElementIndexOf(*s, "s", std::vector<int32_t>{1}); }),
              "s[1]\r\n" + Sys("要素数を超えています"));
}

TEST(ElementAddress, HugeDimensionsDoNotOverflow) {
    // Shapes from stored data need not obey SetDims; the address stays checked.
    TParamCollection vars;
    TParamCollectionItem* a = AddNamed(vars, PT_INT, "a");
    TTpMemoryStream stored;
    for (int32_t v : {3, 0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF, 1, 0})
        WriteI32(stored, v);
    stored.SetPosition(0);
    a->Value().LoadFromStream(stored);
    EXPECT_EQ(ErrorOf([&] {
                  ElementIndexOf(*a, "a", std::vector<int32_t>{0x7FFFFFFF, 5, 5});
              }),
              "a[2147483647,5,5]\r\n" + Sys("要素数を超えています"));
}

}  // namespace
}  // namespace tova
