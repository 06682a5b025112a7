#include <gtest/gtest.h>

#include <vector>

#include "core/binary_io.h"
#include "expr/param_collection.h"
#include "expr/param_data.h"
#include "expr/param_var.h"
#include "expr/system_variable_names.h"
#include "expr_test_util.h"

namespace tova {
namespace {

using test::ErrorOf;

TParamCollectionItem* AddNamed(TParamCollection& vars, int type, const std::string& name) {
    TParamCollectionItem* item = vars.AddItem(type);
    item->SetName(name);
    return item;
}

// Names of the user variables, in collection order.
std::vector<std::string> UserNames(const TParamCollection& vars) {
    std::vector<std::string> names;
    for (int i = kSystemVariableCount; i < vars.Count(); ++i)
        names.push_back(vars.Item(i)->GetName());
    return names;
}

TTpMemoryStream SavedGame(const TParamCollection& vars) {
    TTpMemoryStream stream;
    vars.SaveGameVars(stream);
    stream.SetPosition(0);
    return stream;
}

TEST(StoredValue, IntegerLayout) {
    TParamInt a;
    a.SetDims({2});
    a.SetIntAt(1, -2);
    TTpMemoryStream s;
    a.SaveToStream(s);
    const std::vector<uint8_t> expected{1, 0, 0, 0, 2, 0, 0,    0,    2,    0,
                                        0, 0, 0, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(s.Bytes(), expected);
}

TEST(StoredValue, EveryClassRoundTrips) {
    TParamFloat f;
    f.SetDims({3});
    f.SetFloatAt(1, 1.0L / 3);
    f.SetFloatAt(2, -1e300L);
    TParamFlag b;
    b.SetDims({2});
    b.SetBoolAt(1, true);
    TParamStr str;
    str.SetStr(std::string("a\0b", 3));
    TTpMemoryStream s;
    f.SaveToStream(s);
    b.SaveToStream(s);
    str.SaveToStream(s);
    EXPECT_EQ(s.GetSize(), (4 + 4 + 4 + 30) + (4 + 4 + 4 + 2) + (4 + 4 + 4 + 3));
    s.SetPosition(0);
    TParamFloat f2;
    TParamFlag b2;
    TParamStr str2;
    f2.LoadFromStream(s);
    b2.LoadFromStream(s);
    str2.LoadFromStream(s);
    EXPECT_EQ(f2.Items, f.Items);  // extended reals come back bit for bit
    EXPECT_EQ(b2.Items, b.Items);
    EXPECT_EQ(str2.GetStr(), str.GetStr());
    EXPECT_EQ(s.Remaining(), 0);
}

TEST(GameSave, ReferencesFollowTheirTargets) {
    TParamCollection vars;
    TParamCollectionItem* r = AddNamed(vars, PT_NONE, "r");
    AddNamed(vars, PT_INT, "first")->SetInt(1);
    TParamCollectionItem* x = AddNamed(vars, PT_INT, "x");
    x->SetDims({3});
    x->SetIntAt(2, 42);
    AddNamed(vars, PT_STR, "last")->SetStr("end");
    auto& ref = dynamic_cast<TParamVar&>(r->Value());
    ref.TargetName = "x[2]";
    ref.RefFlag = 1;
    ref.BindElement(x, 2);

    TTpMemoryStream saved = SavedGame(vars);
    TParamCollection loaded;
    loaded.LoadGameVars(saved, TParamCollection::kCurrentSaveVersion);
    EXPECT_EQ(saved.Remaining(), 0);
    // Written from the last to the first, the reference held back until x.
    EXPECT_EQ(UserNames(loaded), (std::vector<std::string>{"last", "x", "first", "r"}));
    const auto& loadedRef = dynamic_cast<const TParamVar&>(loaded.FindItem("r")->Value());
    EXPECT_EQ(loadedRef.Target(), loaded.FindItem("x"));
    EXPECT_EQ(loadedRef.TargetName, "x[2]");
    EXPECT_EQ(loadedRef.RefFlag, 1);
    EXPECT_EQ(loaded.FindItem("r")->GetInt(), 42);
}

TEST(GameSave, ReferenceToAnUnsavedTargetIsStillWritten) {
    TParamCollection vars;
    TParamCollectionItem* status = AddNamed(vars, PT_INT, "st");
    status->StatusFlag = 1;
    TParamCollectionItem* r1 = AddNamed(vars, PT_NONE, "r1");
    TParamCollectionItem* r2 = AddNamed(vars, PT_NONE, "r2");
    TParamCollectionItem* r3 = AddNamed(vars, PT_NONE, "r3");
    // r1 waits for a status variable and r2 for the system @MouseX, neither
    // ever written; r3 waits for r1.
    dynamic_cast<TParamVar&>(r1->Value()).Bind(status);
    dynamic_cast<TParamVar&>(r2->Value()).Bind(vars.FindItem("@MouseX"));
    dynamic_cast<TParamVar&>(r3->Value()).Bind(r1);
    TTpMemoryStream saved = SavedGame(vars);
    TParamCollection loaded;
    AddNamed(loaded, PT_INT, "old");
    TParamCollectionItem* loadedStatus = AddNamed(loaded, PT_INT, "st");
    loadedStatus->StatusFlag = 1;
    loaded.LoadGameVars(saved, TParamCollection::kCurrentSaveVersion);
    EXPECT_EQ(saved.Remaining(), 0);
    EXPECT_EQ(UserNames(loaded), (std::vector<std::string>{"st", "r2", "r1", "r3"}));
    auto targetOf = [&](const char* name) {
        return dynamic_cast<const TParamVar&>(loaded.FindItem(name)->Value()).Target();
    };
    EXPECT_EQ(targetOf("r1"), loadedStatus);
    EXPECT_EQ(targetOf("r2"), loaded.FindItem("@MouseX"));
    EXPECT_EQ(targetOf("r3"), loaded.FindItem("r1"));
}

TEST(GameSave, TrailingFieldsAndPushedSetsRoundTrip) {
    TParamCollection vars;
    AddNamed(vars, PT_INT, "v")->SetInt(1);
    vars.PushVars({"v"});
    vars.FindItem("v")->SetInt(2);
    vars.PushVars({"v"});
    vars.FindItem("v")->SetInt(3);
    vars.TextDelay = 7;
    vars.Cursor = "c";
    vars.SelStr = "sel";
    vars.SelIndex = -1;
    vars.TempTarget = "v";

    TTpMemoryStream saved = SavedGame(vars);
    TParamCollection loaded;
    loaded.LoadGameVars(saved, TParamCollection::kCurrentSaveVersion);
    EXPECT_EQ(loaded.TextDelay, 7);
    EXPECT_EQ(loaded.Cursor, "c");
    EXPECT_EQ(loaded.SelStr, "sel");
    EXPECT_EQ(loaded.SelIndex, -1);
    EXPECT_EQ(loaded.TempTarget, "v");
    EXPECT_FALSE(loaded.LoadedHistorySettings.has_value());
    ASSERT_EQ(loaded.PushedSets.size(), 2u);
    EXPECT_EQ(loaded.FindItem("v")->GetInt(), 3);
    loaded.PopVars();
    EXPECT_EQ(loaded.FindItem("v")->GetInt(), 2);
    loaded.PopVars();
    EXPECT_EQ(loaded.FindItem("v")->GetInt(), 1);
}

// A section as an older player wrote it: no records, then the trailing fields.
TTpMemoryStream OldSection(int32_t version) {
    TTpMemoryStream s;
    WriteI32(s, 0);
    WriteI32(s, 30);
    WriteString(s, "cur");
    if (version >= 103) {
        WriteString(s, "old sel");
        WriteI32(s, 4);
    }
    if (version >= 113 && version <= 134)
        for (int32_t v = 1; v <= 6; ++v)
            WriteI32(s, v);
    if (version >= 121) WriteString(s, "tmp");
    if (version >= 139) WriteI32(s, 0);
    s.SetPosition(0);
    return s;
}

TEST(GameSave, VersionRules) {
    for (int32_t version : {102, 103, 112, 113, 120, 121, 134, 135, 138, 139}) {
        SCOPED_TRACE(version);
        TParamCollection vars;
        vars.SelStr = "keep";
        vars.TempTarget = "keep";
        vars.PushVars({});
        TTpMemoryStream s = OldSection(version);
        vars.LoadGameVars(s, version);
        EXPECT_EQ(s.Remaining(), 0);
        EXPECT_EQ(vars.TextDelay, 30);
        EXPECT_EQ(vars.Cursor, "cur");
        EXPECT_EQ(vars.SelStr, version >= 103 ? "old sel" : "keep");
        EXPECT_EQ(vars.TempTarget, version >= 121 ? "tmp" : "keep");
        EXPECT_EQ(vars.LoadedHistorySettings.has_value(), version >= 113 && version <= 134);
        if (vars.LoadedHistorySettings) {
            EXPECT_EQ((*vars.LoadedHistorySettings)[2], std::make_pair(5, 6));
        }
        EXPECT_TRUE(vars.PushedSets.empty());
    }
}

TEST(StatusSection, OnlyStatusVariablesAndTheySurviveGameLoads) {
    TParamCollection vars;
    AddNamed(vars, PT_INT, "game")->SetInt(1);
    TParamCollectionItem* st = AddNamed(vars, PT_STR, "st");
    st->StatusFlag = 1;
    st->SetStr("kept");
    TTpMemoryStream status;
    vars.SaveStatusVars(status);
    status.SetPosition(0);
    TTpMemoryStream game = SavedGame(vars);

    TParamCollection loaded;
    loaded.LoadStatusVars(status);
    EXPECT_EQ(status.Remaining(), 0);
    EXPECT_EQ(UserNames(loaded), std::vector<std::string>{"st"});
    loaded.LoadGameVars(game, TParamCollection::kCurrentSaveVersion);
    EXPECT_EQ(UserNames(loaded), (std::vector<std::string>{"st", "game"}));
    EXPECT_EQ(loaded.FindItem("st")->StatusFlag, 1);
    EXPECT_EQ(loaded.FindItem("st")->GetStr(), "kept");
}

TEST(StoredSections, RecordFieldsRoundTrip) {
    TParamCollection vars;
    vars.CurrentDepth = 4;
    TParamCollectionItem* local = vars.Declare("loc", PT_FLOAT, VK_LOCAL).Item;
    local->Reserved = 9;
    local->SetFloat(0.5L);
    TTpMemoryStream saved = SavedGame(vars);
    TParamCollection loaded;
    loaded.LoadGameVars(saved, TParamCollection::kCurrentSaveVersion);
    loaded.CurrentDepth = 4;
    const TParamCollectionItem* item = loaded.FindItem("loc");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->LocalFlag, 1);
    EXPECT_EQ(item->Owner, 4);
    EXPECT_EQ(item->Reserved, 9);
    EXPECT_EQ(item->GetFloat(), 0.5L);
}

// Every truncation of a valid section fails cleanly and leaves no half record.
TEST(StoredSections, TruncatedInputFailsCleanly) {
    TParamCollection vars;
    AddNamed(vars, PT_STR, "s")->SetStr("text");
    AddNamed(vars, PT_FLOAT, "f")->SetFloat(2.5L);
    AddNamed(vars, PT_NONE, "r");
    vars.PushVars({"s", "f"});
    const std::vector<uint8_t> full = SavedGame(vars).Bytes();
    for (size_t length = 0; length < full.size(); ++length) {
        TTpMemoryStream cut(
            std::vector<uint8_t>(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(length)));
        TParamCollection target;
        EXPECT_FALSE(
            ErrorOf([&] { target.LoadGameVars(cut, TParamCollection::kCurrentSaveVersion); }).empty())
            << length;
        for (int i = kSystemVariableCount; i < target.Count(); ++i)
            EXPECT_FALSE(target.Item(i)->GetName().empty());
    }
}

TEST(StoredSections, DamagedCountsAndCodes) {
    auto load = [](std::vector<uint8_t> bytes) {
        TTpMemoryStream s(std::move(bytes));
        TParamCollection vars;
        return ErrorOf([&] { vars.LoadGameVars(s, TParamCollection::kCurrentSaveVersion); });
    };
    EXPECT_FALSE(load({0xFF, 0xFF, 0xFF, 0x7F}).empty());  // a huge record count
    EXPECT_FALSE(load({0xFF, 0xFF, 0xFF, 0xFF}).empty());  // a negative one
    // One record of the unknown type 9.
    std::vector<uint8_t> record{1, 0, 0, 0, 9};
    record.resize(40, 0);
    EXPECT_FALSE(load(record).empty());
    // A record whose name breaks the name rule.
    TTpMemoryStream badName;
    WriteI32(badName, 1);
    WriteU8(badName, PT_INT);
    WriteString(badName, "1st");
    for (int i = 0; i < 8; ++i)
        WriteI32(badName, 0);
    EXPECT_EQ(load(badName.Bytes()), test::Sys("\"1st\"：変数名が不正です"));
    // An element count larger than what follows.
    TTpMemoryStream bigCount;
    WriteI32(bigCount, 1);
    WriteU8(bigCount, PT_STR);
    WriteString(bigCount, "s");
    WriteI32(bigCount, 0);
    WriteI32(bigCount, 1000000);
    for (int i = 0; i < 8; ++i)
        WriteI32(bigCount, 0);
    EXPECT_FALSE(load(bigCount.Bytes()).empty());
}

TEST(StoredSections, DamagedPushedSetIsRejected) {
    TTpMemoryStream s;
    WriteI32(s, 0);
    WriteI32(s, 50);
    WriteString(s, "");
    WriteString(s, "");
    WriteI32(s, 0);
    WriteString(s, "");
    WriteI32(s, 1);  // one set
    WriteI32(s, 1);  // one entry
    WriteI32(s, 0);  // of type 0, which no set holds
    WriteString(s, "v");
    for (int i = 0; i < 6; ++i)
        WriteI32(s, 0);
    s.SetPosition(0);
    TParamCollection vars;
    EXPECT_FALSE(ErrorOf([&] { vars.LoadGameVars(s, TParamCollection::kCurrentSaveVersion); }).empty());
}

}  // namespace
}  // namespace tova
