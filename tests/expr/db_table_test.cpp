// Tables of the script database: field conversions, record layout, cursor
// moves, searching and sorting.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "expr/db_table.h"
#include "expr/param_data.h"

namespace tova {
namespace {

template <class P, class T>
std::unique_ptr<P> ArrayOf(const std::vector<T>& items) {
    auto p = std::make_unique<P>();
    p->SetDims({static_cast<int32_t>(items.size())});
    p->Items.assign(items.begin(), items.end());
    return p;
}

std::unique_ptr<TParamStr> Texts(const std::vector<std::string>& items) {
    return ArrayOf<TParamStr>(items);
}

// A table with the fields id (int), name (string of 5), score (float), ok (bool).
class DBTable : public ::testing::Test {
protected:
    DBTable() {
        EXPECT_TRUE(table.AddField("id", DB_INT, 0));
        EXPECT_TRUE(table.AddField("name", DB_STR, 5));
        EXPECT_TRUE(table.AddField("score", DB_FLOAT, 0));
        EXPECT_TRUE(table.AddField("ok", DB_BOOL, 0));
    }

    void AddRow(int32_t id, const std::string& name, long double score = 0, bool ok = false) {
        table.Append();
        table.FieldAt(table.Cursor(), 0).SetInt(id);
        table.FieldAt(table.Cursor(), 1).SetStr(name);
        table.FieldAt(table.Cursor(), 2).SetFloat(score);
        table.FieldAt(table.Cursor(), 3).SetBool(ok);
    }

    std::vector<int32_t> Ids() {
        std::vector<int32_t> ids;
        for (int32_t r = 0; r < table.RecordCount(); ++r)
            ids.push_back(table.FieldAt(r, 0).GetInt());
        return ids;
    }

    std::vector<int32_t> FindText(const std::string& field, const std::string& value, bool partial,
                                  bool ignoreCase) {
        const auto names = Texts({field});
        const auto values = Texts({value});
        return table.Find({names.get(), values.get(), partial, ignoreCase});
    }

    TDBTable table{"t", 0};
};

TEST_F(DBTable, LayoutFollowsTheFieldSizes) {
    EXPECT_EQ(table.Fields().RecordSize(), 4 + 6 + 10 + 1);
    EXPECT_EQ(table.Fields().Offset(2), 10);
    EXPECT_EQ(table.Fields().IndexOf("SCORE"), 2);
    EXPECT_EQ(table.Fields().IndexOf("missing"), -1);
    EXPECT_FALSE(table.AddField("bad", 5, 0));
    EXPECT_FALSE(table.AddField("bad", DB_STR, -1));
    EXPECT_FALSE(table.AddField("huge", DB_STR, kDBMaxRecordSize));
    EXPECT_EQ(table.Fields().Count(), 4);
}

TEST_F(DBTable, FloatsRoundTiesToEvenIntoIntegers) {
    AddRow(0, "");
    const TDBFieldRef id = table.FieldAt(0, 0);
    const TDBFieldRef score = table.FieldAt(0, 2);
    id.SetFloat(2.5L);
    EXPECT_EQ(id.GetInt(), 2);
    id.SetFloat(3.5L);
    EXPECT_EQ(id.GetInt(), 4);
    id.SetFloat(-2.5L);
    EXPECT_EQ(id.GetInt(), -2);
    id.SetStr("2.5");  // a string is parsed as an integer, not rounded
    EXPECT_EQ(id.GetInt(), 0);
    score.SetFloat(2.5L);
    EXPECT_EQ(score.GetInt(), 2);
    score.SetFloat(2.75L);
    EXPECT_EQ(score.GetInt(), 3);
    EXPECT_EQ(score.GetStr(), "2.75");
    score.SetFloat(1e30L);  // beyond every integer: no error, just 0
    EXPECT_EQ(score.GetInt(), 0);
}

TEST_F(DBTable, ConversionsBetweenFieldTypes) {
    AddRow(0, "");
    const TDBFieldRef id = table.FieldAt(0, 0);
    const TDBFieldRef name = table.FieldAt(0, 1);
    const TDBFieldRef ok = table.FieldAt(0, 3);
    id.SetStr("42");
    EXPECT_EQ(id.GetStr(), "42");
    EXPECT_TRUE(id.GetBool());
    id.SetStr("x");
    EXPECT_EQ(id.GetInt(), 0);
    ok.SetStr("TRUE");
    EXPECT_TRUE(ok.GetBool());
    EXPECT_EQ(ok.GetStr(), "TRUE");
    EXPECT_EQ(ok.GetFloat(), 1.0L);
    ok.SetStr("true");  // only the exact upper-case text is true
    EXPECT_FALSE(ok.GetBool());
    ok.SetInt(7);
    EXPECT_EQ(ok.GetInt(), 1);
    name.SetBool(true);
    EXPECT_TRUE(name.GetBool());
    name.SetInt(123);
    EXPECT_EQ(name.GetInt(), 123);
    name.SetStr("1.5");
    EXPECT_EQ(name.GetFloat(), 1.5L);
    EXPECT_EQ(name.GetInt(), 0);  // "1.5" is no integer
}

TEST_F(DBTable, StringsAreCutToTheDeclaredLength) {
    AddRow(0, "abcdefgh");
    EXPECT_EQ(table.FieldAt(0, 1).GetStr(), "abcde");
    // A double-byte character may be cut in half.
    table.FieldAt(0, 1).SetStr("ab\x82\xa0\x82\xa2");
    EXPECT_EQ(table.FieldAt(0, 1).GetStr(), "ab\x82\xa0\x82");
    // A shorter text ends at its zero; the bytes after it stay as they were.
    table.FieldAt(0, 1).SetStr("xy");
    EXPECT_EQ(table.FieldAt(0, 1).GetStr(), "xy");
    EXPECT_EQ(std::memcmp(table.Record(0) + 4, "xy\0\xa0\x82", 5), 0);
    // The neighbouring fields are untouched.
    EXPECT_EQ(table.FieldAt(0, 0).GetInt(), 0);
}

TEST_F(DBTable, FieldsAddedAndRemovedKeepTheOtherBytes) {
    AddRow(1, "one", 1.5L, true);
    AddRow(2, "two", 2.5L, false);
    ASSERT_TRUE(table.AddField("extra", DB_INT, 0));
    EXPECT_EQ(table.FieldAt(1, 4).GetInt(), 0);  // zero-filled in existing records
    table.FieldAt(1, 4).SetInt(99);
    table.RemoveField(1);
    EXPECT_EQ(table.Fields().RecordSize(), 4 + 10 + 1 + 4);
    EXPECT_EQ(table.FieldAt(0, 0).GetInt(), 1);
    EXPECT_EQ(table.FieldAt(0, 1).GetFloat(), 1.5L);
    EXPECT_TRUE(table.FieldAt(0, 2).GetBool());
    EXPECT_EQ(table.FieldAt(1, 3).GetInt(), 99);
    EXPECT_FALSE(table.FieldAt(2, 0));
    EXPECT_FALSE(table.FieldAt(0, 4));
    EXPECT_FALSE(table.FieldAt(-1, 0));
}

TEST_F(DBTable, CursorMovesStopAtTheEnds) {
    EXPECT_FALSE(table.First());
    EXPECT_FALSE(table.Last());
    EXPECT_FALSE(table.Next());
    EXPECT_EQ(table.Cursor(), -1);
    AddRow(1, "a");
    AddRow(2, "b");
    AddRow(3, "c");
    EXPECT_EQ(table.Cursor(), 2);  // appending makes the record current
    EXPECT_FALSE(table.Next());
    EXPECT_EQ(table.Cursor(), 2);
    EXPECT_TRUE(table.Prior());
    EXPECT_TRUE(table.First());
    EXPECT_FALSE(table.Prior());
    EXPECT_EQ(table.Cursor(), 0);
    EXPECT_FALSE(table.SetCursor(3));
    EXPECT_EQ(table.Cursor(), 0);
    EXPECT_TRUE(table.SetCursor(-5));
    EXPECT_EQ(table.Cursor(), -1);
    EXPECT_FALSE(table.Next());  // no current record: nothing to move from
    EXPECT_FALSE(table.CurrentField("id"));
}

TEST_F(DBTable, DeletingMovesLaterRecordsDown) {
    AddRow(1, "a");
    AddRow(2, "b");
    AddRow(3, "c");
    table.SetCursor(1);
    EXPECT_TRUE(table.DeleteCurrent());
    EXPECT_EQ(Ids(), (std::vector<int32_t>{1, 3}));
    EXPECT_EQ(table.Cursor(), 1);
    EXPECT_TRUE(table.DeleteCurrent());  // the last one: the cursor follows the end
    EXPECT_EQ(table.Cursor(), 0);
    EXPECT_TRUE(table.DeleteCurrent());
    EXPECT_EQ(table.RecordCount(), 0);
    EXPECT_EQ(table.Cursor(), -1);
    EXPECT_FALSE(table.DeleteCurrent());
}

TEST_F(DBTable, FindByText) {
    AddRow(1, "Tom");
    AddRow(2, "Tommy");
    AddRow(3, "TOM");
    AddRow(4, "Ann");
    EXPECT_EQ(FindText("name", "Tom", false, false), (std::vector<int32_t>{0}));
    EXPECT_EQ(FindText("name", "Tom", true, false), (std::vector<int32_t>{0, 1}));
    EXPECT_EQ(FindText("name", "Tom", false, true), (std::vector<int32_t>{0, 2}));
    EXPECT_EQ(FindText("NAME", "tom", true, true), (std::vector<int32_t>{0, 1, 2}));
    EXPECT_TRUE(FindText("nick", "Tom", false, false).empty());
    // Without keys every record matches.
    EXPECT_EQ(table.Find({}), (std::vector<int32_t>{0, 1, 2, 3}));
}

TEST_F(DBTable, FindComparesByTheTypeOfTheValues) {
    AddRow(1, "10", 2.5L, true);
    AddRow(2, "2", 2.0L, false);
    AddRow(3, "3", 3.0L, true);
    const auto scoreName = Texts({"score"});
    TParamInt three;
    three.SetInt(3);
    EXPECT_EQ(table.Find({scoreName.get(), &three}), (std::vector<int32_t>{2}));  // 2.5 reads as 2
    TParamFloat twoAndHalf;
    twoAndHalf.SetFloat(2.5L);
    EXPECT_EQ(table.Find({scoreName.get(), &twoAndHalf}), (std::vector<int32_t>{0}));
    // A string field compared as integers: "10" is 10.
    TParamStr nameText;
    nameText.SetStr("name");
    TParamInt ten;
    ten.SetInt(10);
    EXPECT_EQ(table.Find({&nameText, &ten}), (std::vector<int32_t>{0}));
    // Several keys: every one must match (the ids read as booleans are all
    // true); the shorter argument bounds them, so "name" is not a key.
    const auto names = Texts({"ok", "id", "name"});
    const auto flags = ArrayOf<TParamFlag>(std::vector<uint8_t>{1, 1});
    EXPECT_EQ(table.Find({names.get(), flags.get()}), (std::vector<int32_t>{0, 2}));
    // One unknown key name ends the search with nothing found.
    const auto unknown = Texts({"id", "nick"});
    const auto values = ArrayOf<TParamInt>(std::vector<int32_t>{1, 1});
    EXPECT_TRUE(table.Find({unknown.get(), values.get()}).empty());
}

TEST_F(DBTable, SortByIntegersHonoursDescending) {
    AddRow(2, "b");
    AddRow(-2147483647 - 1, "c");
    AddRow(2147483647, "a");
    AddRow(1, "d");
    table.SetCursor(1);
    const auto names = Texts({"id"});
    const auto down = ArrayOf<TParamFlag>(std::vector<uint8_t>{1});
    table.Sort(*names, *down);
    // The extremes sort in their true order, not by a wrapped difference.
    EXPECT_EQ(Ids(), (std::vector<int32_t>{2147483647, 2, 1, -2147483647 - 1}));
    EXPECT_EQ(table.Cursor(), 1);  // the cursor keeps its index
    const auto up = ArrayOf<TParamFlag>(std::vector<uint8_t>{0});
    table.Sort(*names, *up);
    EXPECT_EQ(Ids(), (std::vector<int32_t>{-2147483647 - 1, 1, 2, 2147483647}));
}

TEST_F(DBTable, SortByStringsAndBooleansIgnoresDescending) {
    AddRow(1, "b", 0, true);
    AddRow(2, "a", 0, false);
    AddRow(3, "\x82\xa0", 0, true);  // a lead byte sorts after every ASCII letter
    AddRow(4, "a", 0, true);
    const auto names = Texts({"name", "score"});
    const auto down = ArrayOf<TParamFlag>(std::vector<uint8_t>{1, 1});
    table.Sort(*names, *down);
    std::vector<std::string> sorted;
    for (int32_t r = 0; r < table.RecordCount(); ++r)
        sorted.push_back(table.FieldAt(r, 1).GetStr());
    EXPECT_EQ(sorted, (std::vector<std::string>{"a", "a", "b", "\x82\xa0"}));
    const auto byFlagThenId = Texts({"nick", "ok", "id"});  // unknown names are skipped
    const auto flags = ArrayOf<TParamFlag>(std::vector<uint8_t>{0, 1, 1});
    table.Sort(*byFlagThenId, *flags);
    EXPECT_EQ(Ids(), (std::vector<int32_t>{2, 4, 3, 1}));
}

TEST_F(DBTable, SortToleratesNotANumber) {
    for (int i = 0; i < 40; ++i)
        AddRow(i, "", i % 3 == 0 ? std::numeric_limits<long double>::quiet_NaN() : 40 - i);
    const auto names = Texts({"score"});
    const auto up = ArrayOf<TParamFlag>(std::vector<uint8_t>{0});
    table.Sort(*names, *up);
    EXPECT_EQ(table.RecordCount(), 40);
    EXPECT_EQ(table.FieldAt(0, 2).GetFloat(), 2.0L);
    EXPECT_TRUE(std::isnan(table.FieldAt(39, 2).GetFloat()));
}

TEST(DBFieldList, EqualityIsByteExactOnNames) {
    TDBTable a("a", 0);
    TDBTable b("b", 1);
    a.AddField("Name", DB_STR, 10);
    b.AddField("Name", DB_STR, 10);
    EXPECT_TRUE(a.Fields() == b.Fields());
    TDBTable c("c", 0);
    c.AddField("NAME", DB_STR, 10);
    EXPECT_FALSE(a.Fields() == c.Fields());
    TDBTable d("d", 0);
    d.AddField("Name", DB_STR, 11);
    EXPECT_FALSE(a.Fields() == d.Fields());
}

}  // namespace
}  // namespace tova
