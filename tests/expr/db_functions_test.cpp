// The database functions of the script language, called directly with
// values made here.
#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "expr/db_functions.h"
#include "expr/db_manager.h"
#include "expr/param_data.h"
#include "expr/param_factory.h"
#include "expr/sys_func_registry.h"
#include "vfs/file_manager.h"

namespace tova {
namespace {

class DBFunctions : public ::testing::Test {
protected:
    TCustomParam* Keep(std::unique_ptr<TCustomParam> p) {
        values_.push_back(std::move(p));
        return values_.back().get();
    }
    TCustomParam* I(int32_t v) {
        auto p = std::make_unique<TParamInt>();
        p->SetInt(v);
        return Keep(std::move(p));
    }
    TCustomParam* F(long double v) {
        auto p = std::make_unique<TParamFloat>();
        p->SetFloat(v);
        return Keep(std::move(p));
    }
    TCustomParam* B(bool v) {
        auto p = std::make_unique<TParamFlag>();
        p->SetBool(v);
        return Keep(std::move(p));
    }
    TCustomParam* S(const std::string& v) {
        auto p = std::make_unique<TParamStr>();
        p->SetStr(v);
        return Keep(std::move(p));
    }
    TCustomParam* Texts(const std::vector<std::string>& items) {
        auto p = std::make_unique<TParamStr>();
        p->SetDims({static_cast<int32_t>(items.size())});
        p->Items = items;
        return Keep(std::move(p));
    }

    // Calls f with a fresh target of the result type and returns the target.
    TParamCollectionItem& Call(TSysFunctionImpl f, int resultType,
                               std::initializer_list<TCustomParam*> args) {
        targets_.push_back(std::make_unique<TParamCollectionItem>(CreateParam(resultType)));
        const std::vector<TCustomParam*> operands(args);
        TSysCall call{*targets_.back(), operands, env};
        f(call);
        return *targets_.back();
    }
    bool Bool(TSysFunctionImpl f, std::initializer_list<TCustomParam*> args = {}) {
        return Call(f, PT_BOOL, args).GetBool();
    }
    int32_t Int(TSysFunctionImpl f, std::initializer_list<TCustomParam*> args = {}) {
        return Call(f, PT_INT, args).GetInt();
    }
    long double Float(TSysFunctionImpl f, std::initializer_list<TCustomParam*> args) {
        return Call(f, PT_FLOAT, args).GetFloat();
    }
    std::string Str(TSysFunctionImpl f, std::initializer_list<TCustomParam*> args = {}) {
        return Call(f, PT_STR, args).GetStr();
    }

    // The active table "people" with id (int), name (string of 5), score
    // (float) and ok (bool), holding Tom, Tommy and TOM.
    void People() {
        ASSERT_TRUE(Bool(DBCreateTable, {S("people"), B(false)}));
        ASSERT_TRUE(Bool(DBAddField, {S("id"), I(DB_INT)}));
        ASSERT_TRUE(Bool(DBAddField, {S("name"), I(DB_STR), I(5)}));
        ASSERT_TRUE(Bool(DBAddField, {S("score"), I(DB_FLOAT)}));
        ASSERT_TRUE(Bool(DBAddField, {S("ok"), I(DB_BOOL)}));
        ASSERT_TRUE(Bool(DBInsert, {I(1), S("Tom"), F(1.5L), B(true)}));
        ASSERT_TRUE(Bool(DBInsert, {I(2), S("Tommy"), F(2.5L), B(false)}));
        ASSERT_TRUE(Bool(DBInsert, {I(3), S("TOM"), F(0.5L), B(true)}));
    }

    std::vector<int32_t> Ids(const std::string& table) {
        std::vector<int32_t> ids;
        TDBTable& t = *db.Find(table);
        for (int32_t r = 0; r < t.RecordCount(); ++r)
            ids.push_back(t.FieldAt(r, 0).GetInt());
        return ids;
    }

    TDBManager db;
    TSysFuncEnvironment env{.Database = &db};

private:
    std::vector<std::unique_ptr<TCustomParam>> values_;
    std::vector<std::unique_ptr<TParamCollectionItem>> targets_;
};

TEST_F(DBFunctions, RegisteredAtTheirIds) {
    std::array<TSysFunctionImpl, 157> table{};
    RegisterDbFunctions(table.data());
    EXPECT_EQ(table[86], nullptr);
    EXPECT_EQ(table[87], &DBCreateTable);
    EXPECT_EQ(table[106], &DBLocate);
    EXPECT_EQ(table[115], &DBDirectSetStr);
    EXPECT_EQ(table[124], &DBClearRecord);
    EXPECT_EQ(table[125], nullptr);
}

TEST_F(DBFunctions, CreatingSettingAndDeletingTables) {
    EXPECT_EQ(Str(DBGetActive), "");
    EXPECT_EQ(Int(DBGetRecNo), -1);
    EXPECT_TRUE(Bool(DBCreateTable, {S("a"), B(false)}));
    EXPECT_TRUE(Bool(DBCreateTable, {S("b"), I(1)}));
    EXPECT_EQ(db.Find("b")->Status, 1);
    EXPECT_EQ(Str(DBGetActive), "b");  // the new table is active
    EXPECT_FALSE(Bool(DBCreateTable, {S("A"), B(false)}));
    EXPECT_FALSE(Bool(DBCreateTable, {S(""), B(false)}));
    EXPECT_EQ(Str(DBGetActive), "b");
    EXPECT_TRUE(Bool(DBSetActive, {S("A")}));
    EXPECT_FALSE(Bool(DBSetActive, {S("c")}));
    EXPECT_EQ(Str(DBGetActive), "a");
    EXPECT_TRUE(Bool(DBDeleteTable, {S("B")}));
    EXPECT_EQ(Str(DBGetActive), "a");  // another table's deletion keeps it active
    EXPECT_FALSE(Bool(DBDeleteTable, {S("b")}));
    EXPECT_TRUE(Bool(DBDeleteTable));  // the active one
    EXPECT_EQ(db.Count(), 0);
    EXPECT_EQ(Str(DBGetActive), "");
    EXPECT_FALSE(Bool(DBDeleteTable));
}

TEST_F(DBFunctions, FieldsAndInsertedValues) {
    People();
    EXPECT_FALSE(Bool(DBAddField, {S("bad"), I(0)}));
    EXPECT_FALSE(Bool(DBAddField, {S("bad"), I(5), I(3)}));
    EXPECT_TRUE(Bool(DBAddField, {S("memo"), I(DB_STR)}));  // length 0: only the empty text
    // Each value is converted from its own type; missing ones stay zero.
    EXPECT_TRUE(Bool(DBInsert, {F(3.5L), I(12345678), S("7"), S("TRUE"), S("xyz")}));
    EXPECT_EQ(Int(DBGetRecNo), 3);
    EXPECT_EQ(Int(DBGetInt, {S("id")}), 4);
    EXPECT_EQ(Str(DBGetStr, {S("name")}), "12345");
    EXPECT_EQ(Float(DBGetFloat, {S("score")}), 7.0L);
    EXPECT_TRUE(Bool(DBGetBool, {S("ok")}));
    EXPECT_EQ(Str(DBGetStr, {S("memo")}), "");
    EXPECT_TRUE(Bool(DBInsert));
    EXPECT_EQ(Int(DBGetInt, {S("id")}), 0);
    EXPECT_EQ(Int(DBRecordCount), 5);
}

TEST_F(DBFunctions, GetAndSetOnTheCurrentRecord) {
    People();
    EXPECT_TRUE(Bool(DBSetRecNo, {I(1)}));
    EXPECT_EQ(Str(DBGetStr, {S("NAME")}), "Tommy");
    EXPECT_EQ(Int(DBGetInt, {S("score")}), 2);  // 2.5 rounds to even
    EXPECT_TRUE(Bool(DBSetFloat, {S("id"), F(3.5L)}));
    EXPECT_EQ(Int(DBGetInt, {S("id")}), 4);
    EXPECT_TRUE(Bool(DBSetStr, {S("name"), S("Tommy Lee")}));
    EXPECT_EQ(Str(DBGetStr, {S("name")}), "Tommy");
    EXPECT_TRUE(Bool(DBSetInt, {S("ok"), I(0)}));
    EXPECT_FALSE(Bool(DBGetBool, {S("ok")}));
    EXPECT_TRUE(Bool(DBSetBool, {S("score"), B(true)}));
    EXPECT_EQ(Float(DBGetFloat, {S("score")}), 1.0L);
    EXPECT_FALSE(Bool(DBSetInt, {S("nick"), I(1)}));
    EXPECT_EQ(Str(DBGetStr, {S("nick")}), "");
    // Without a current record nothing is read or stored.
    EXPECT_TRUE(Bool(DBSetRecNo, {I(-1)}));
    EXPECT_FALSE(Bool(DBSetStr, {S("name"), S("x")}));
    EXPECT_EQ(Int(DBGetInt, {S("id")}), 0);
    EXPECT_EQ(Float(DBGetFloat, {S("score")}), 0.0L);
    EXPECT_FALSE(Bool(DBSetRecNo, {I(3)}));
    EXPECT_EQ(Int(DBGetRecNo, {S("ignored")}), -1);
}

TEST_F(DBFunctions, CursorMovesAndDeletion) {
    People();
    EXPECT_FALSE(Bool(DBFindNext));  // on the last record
    EXPECT_EQ(Int(DBGetRecNo), 2);
    EXPECT_TRUE(Bool(DBFindFirst));
    EXPECT_FALSE(Bool(DBFindPrior));
    EXPECT_TRUE(Bool(DBFindNext));
    EXPECT_TRUE(Bool(DBFindLast));
    EXPECT_TRUE(Bool(DBFindPrior));
    EXPECT_EQ(Int(DBGetRecNo), 1);
    EXPECT_TRUE(Bool(DBDelete));
    EXPECT_EQ(Ids("people"), (std::vector<int32_t>{1, 3}));
    EXPECT_EQ(Int(DBGetRecNo), 1);
    EXPECT_TRUE(Bool(DBClearRecord));
    EXPECT_FALSE(Bool(DBFindFirst));
    EXPECT_FALSE(Bool(DBDelete));
    // One record: deleting it leaves an empty table without a current record.
    EXPECT_TRUE(Bool(DBInsert, {I(9)}));
    EXPECT_TRUE(Bool(DBDelete));
    EXPECT_EQ(Int(DBRecordCount), 0);
    EXPECT_EQ(Int(DBGetRecNo), -1);
}

TEST_F(DBFunctions, RecordCountAndClearRecordByName) {
    People();
    Bool(DBCreateTable, {S("other"), B(false)});
    EXPECT_EQ(Int(DBRecordCount), 0);
    EXPECT_EQ(Int(DBRecordCount, {S("PEOPLE")}), 3);
    EXPECT_EQ(Int(DBRecordCount, {S("none")}), -1);
    EXPECT_FALSE(Bool(DBClearRecord, {S("none")}));
    EXPECT_TRUE(Bool(DBClearRecord, {S("people")}));
    EXPECT_EQ(Int(DBRecordCount, {S("people")}), 0);
    EXPECT_EQ(db.Find("people")->Fields().Count(), 4);
}

TEST_F(DBFunctions, LocateMovesToTheFirstMatch) {
    People();
    EXPECT_TRUE(Bool(DBLocate, {Texts({"name"}), Texts({"Tom"})}));
    EXPECT_EQ(Int(DBGetRecNo), 0);
    EXPECT_TRUE(Bool(DBLocate, {S("name"), S("TOM")}));
    EXPECT_EQ(Int(DBGetRecNo), 2);
    EXPECT_TRUE(Bool(DBLocate, {S("name"), S("mm"), B(true)}));
    EXPECT_EQ(Int(DBGetRecNo), 1);
    EXPECT_TRUE(Bool(DBLocate, {S("name"), S("tom"), B(false), B(true)}));
    EXPECT_EQ(Int(DBGetRecNo), 0);
    EXPECT_TRUE(Bool(DBLocate, {Texts({"ok", "name"}), Texts({"TRUE", "tom"}), B(true), B(true)}));
    EXPECT_EQ(Int(DBGetRecNo), 0);
    Bool(DBSetRecNo, {I(1)});
    EXPECT_FALSE(Bool(DBLocate, {S("name"), S("Ann")}));
    EXPECT_FALSE(Bool(DBLocate, {S("nick"), S("Tom")}));
    EXPECT_EQ(Int(DBGetRecNo), 1);  // no match: the cursor stays
}

TEST_F(DBFunctions, DirectAccessByKey) {
    People();
    Bool(DBSetRecNo, {I(0)});
    EXPECT_EQ(Str(DBDirectGetStr, {S("people"), S("id"), I(2), B(false), B(false), S("name"), S("-")}),
              "Tommy");
    EXPECT_EQ(Int(DBDirectGetInt, {S("people"), S("name"), S("tom"), B(false), B(true), S("id"), I(-1)}), 1);
    EXPECT_EQ(Float(DBDirectGetFloat, {S("people"), S("id"), I(3), B(false), B(false), S("score"), F(9)}),
              0.5L);
    EXPECT_FALSE(Bool(DBDirectGetBool, {S("people"), S("id"), I(2), B(false), B(false), S("ok"), B(true)}));
    // The default when the table, a match or the field is missing.
    EXPECT_EQ(Int(DBDirectGetInt, {S("nobody"), S("id"), I(2), B(false), B(false), S("id"), I(-1)}), -1);
    EXPECT_EQ(Int(DBDirectGetInt, {S("people"), S("id"), I(7), B(false), B(false), S("id"), I(-1)}), -1);
    EXPECT_EQ(Str(DBDirectGetStr, {S("people"), S("id"), I(2), B(false), B(false), S("nick"), S("-")}), "-");
    EXPECT_TRUE(Bool(DBDirectGetBool, {S("people"), S("id"), I(7), B(false), B(false), S("ok"), B(true)}));

    EXPECT_TRUE(Bool(DBDirectSetStr, {S("people"), S("id"), I(3), B(false), B(false), S("name"), S("Tim")}));
    EXPECT_TRUE(Bool(DBDirectSetInt, {S("people"), S("name"), S("Tim"), B(false), B(false), S("id"), I(30)}));
    EXPECT_TRUE(
        Bool(DBDirectSetFloat, {S("people"), S("id"), I(30), B(false), B(false), S("score"), F(4.25L)}));
    EXPECT_TRUE(Bool(DBDirectSetBool, {S("people"), S("id"), I(30), B(false), B(false), S("ok"), B(false)}));
    EXPECT_FALSE(Bool(DBDirectSetInt, {S("people"), S("id"), I(99), B(false), B(false), S("id"), I(1)}));
    EXPECT_FALSE(Bool(DBDirectSetInt, {S("people"), S("id"), I(30), B(false), B(false), S("nick"), I(1)}));
    TDBTable& people = *db.Find("people");
    EXPECT_EQ(people.Cursor(), 0);  // never moved
    EXPECT_EQ(people.FieldAt(2, 0).GetInt(), 30);
    EXPECT_EQ(people.FieldAt(2, 1).GetStr(), "Tim");
    EXPECT_EQ(people.FieldAt(2, 2).GetFloat(), 4.25L);
    EXPECT_FALSE(people.FieldAt(2, 3).GetBool());
}

TEST_F(DBFunctions, CopyTableTakesTheMatchingRecordsAndTheLayout) {
    People();
    Bool(DBCreateTable, {S("copy"), B(false)});
    Bool(DBAddField, {S("junk"), I(DB_INT)});
    Bool(DBInsert, {I(5)});
    EXPECT_FALSE(Bool(DBCopyTable, {S("COPY")}));  // the destination is the active table
    Bool(DBSetActive, {S("people")});
    EXPECT_FALSE(Bool(DBCopyTable, {S("missing")}));
    EXPECT_TRUE(Bool(DBCopyTable, {S("copy"), S("name"), S("TOM"), B(false), B(true)}));
    EXPECT_TRUE(db.Find("copy")->Fields() == db.Find("people")->Fields());
    EXPECT_EQ(Ids("copy"), (std::vector<int32_t>{1, 3}));
    EXPECT_EQ(db.Find("copy")->Cursor(), 1);
    EXPECT_TRUE(Bool(DBCopyTable, {S("copy")}));  // without keys: every record
    EXPECT_EQ(Ids("copy"), (std::vector<int32_t>{1, 2, 3}));
    EXPECT_TRUE(Bool(DBCopyTable, {S("copy"), S("name"), S("Ann")}));
    EXPECT_EQ(Int(DBRecordCount, {S("copy")}), 0);
    EXPECT_EQ(Int(DBGetRecNo), 2);  // the active table is untouched
}

TEST_F(DBFunctions, InsertTableNeedsEqualFieldLists) {
    People();
    Bool(DBCreateTable, {S("near"), B(false)});
    Bool(DBAddField, {S("ID"), I(DB_INT)});  // differs only in case
    Bool(DBAddField, {S("name"), I(DB_STR), I(5)});
    Bool(DBAddField, {S("score"), I(DB_FLOAT)});
    Bool(DBAddField, {S("ok"), I(DB_BOOL)});
    Bool(DBSetActive, {S("people")});
    EXPECT_FALSE(Bool(DBInsertTable, {S("near")}));
    EXPECT_FALSE(Bool(DBInsertTable, {S("missing")}));
    // The source may be the active table itself.
    EXPECT_TRUE(Bool(DBInsertTable, {S("people"), S("ok"), B(true)}));
    EXPECT_EQ(Ids("people"), (std::vector<int32_t>{1, 2, 3, 1, 3}));
    EXPECT_EQ(Int(DBGetRecNo), 4);
    Bool(DBCopyTable, {S("near")});
    Bool(DBSetActive, {S("near")});
    EXPECT_TRUE(Bool(DBInsertTable, {S("people"), S("id"), I(2)}));
    EXPECT_EQ(Ids("near"), (std::vector<int32_t>{1, 2, 3, 1, 3, 2}));
}

TEST_F(DBFunctions, CopyAppendsTheCurrentRecord) {
    People();
    Bool(DBCreateTable, {S("twin"), B(false)});
    Bool(DBSetActive, {S("people")});
    Bool(DBCopyTable, {S("twin")});
    Bool(DBClearRecord, {S("twin")});
    Bool(DBSetRecNo, {I(1)});
    EXPECT_TRUE(Bool(DBCopy, {S("twin")}));
    EXPECT_TRUE(Bool(DBCopy, {S("TWIN")}));
    EXPECT_EQ(Ids("twin"), (std::vector<int32_t>{2, 2}));
    EXPECT_FALSE(Bool(DBCopy, {S("missing")}));
    Bool(DBCreateTable, {S("other"), B(false)});
    Bool(DBSetActive, {S("people")});
    EXPECT_FALSE(Bool(DBCopy, {S("other")}));  // unequal fields
    Bool(DBSetRecNo, {I(-1)});
    EXPECT_FALSE(Bool(DBCopy, {S("twin")}));  // no current record
}

TEST_F(DBFunctions, SortOrdersTheActiveTable) {
    People();
    EXPECT_TRUE(Bool(DBSort, {S("name"), B(true)}));  // strings sort ascending whatever the flag
    EXPECT_EQ(Ids("people"), (std::vector<int32_t>{3, 1, 2}));
    EXPECT_TRUE(Bool(DBSort, {S("id"), B(true)}));
    EXPECT_EQ(Ids("people"), (std::vector<int32_t>{3, 2, 1}));
    EXPECT_TRUE(Bool(DBSort, {Texts({"ok", "score"}), Texts({"FALSE", "TRUE"})}));
    EXPECT_EQ(Ids("people"), (std::vector<int32_t>{2, 1, 3}));
}

TEST_F(DBFunctions, ClearTableRemovesStatusTablesTooAndLeavesTheResult) {
    People();
    Bool(DBCreateTable, {S("status"), B(true)});
    EXPECT_FALSE(Bool(DBClearTable));
    EXPECT_EQ(db.Count(), 0);
    EXPECT_EQ(db.ActiveTable(), nullptr);
}

TEST_F(DBFunctions, WithoutAnActiveTable) {
    EXPECT_FALSE(Bool(DBAddField, {S("id"), I(DB_INT)}));
    EXPECT_FALSE(Bool(DBInsert, {I(1)}));
    EXPECT_FALSE(Bool(DBSetRecNo, {I(0)}));
    EXPECT_FALSE(Bool(DBFindFirst));
    EXPECT_FALSE(Bool(DBLocate, {S("id"), I(1)}));
    EXPECT_FALSE(Bool(DBSort, {S("id"), B(false)}));
    EXPECT_FALSE(Bool(DBCopyTable, {S("x")}));
    EXPECT_FALSE(Bool(DBLoadTsvFile, {S("x")}));
    EXPECT_EQ(Int(DBRecordCount), -1);
    EXPECT_EQ(Str(DBGetStr, {S("id")}), "");
}

TEST_F(DBFunctions, WithoutADatabaseResultsKeepTheirDefaults) {
    env.Database = nullptr;
    EXPECT_FALSE(Bool(DBCreateTable, {S("a"), B(false)}));
    EXPECT_EQ(Int(DBRecordCount), 0);
    EXPECT_EQ(Int(DBGetRecNo), 0);
    EXPECT_EQ(Int(DBDirectGetInt, {S("a"), S("id"), I(1), B(false), B(false), S("id"), I(5)}), 0);
    EXPECT_FALSE(Bool(DBClearRecord));
}

TEST_F(DBFunctions, LoadTsvFileReadsThroughTheFileManager) {
    TVrFileManagerOptions options;
    options.cdRoots = std::vector<std::string>{};
    TVrFileManager files(options);
    files.AddArchive("");
    const std::string text = "id int\tname 4\n7\tSam\n";
    files.Archive(0).AddMemoryFile("t.txt")->Data->WriteBuffer(text.data(),
                                                               static_cast<int64_t>(text.size()));
    People();
    EXPECT_FALSE(Bool(DBLoadTsvFile, {S("t.txt")}));  // no file manager at all
    db.Files = &files;
    EXPECT_FALSE(Bool(DBLoadTsvFile, {S("none.txt")}));
    EXPECT_EQ(Int(DBRecordCount), 3);  // untouched
    EXPECT_TRUE(Bool(DBLoadTsvFile, {S("t.txt")}));
    EXPECT_EQ(Int(DBRecordCount), 1);
    EXPECT_EQ(Str(DBGetStr, {S("name")}), "Sam");
    db.Files = nullptr;
    env.Files = &files;
    EXPECT_TRUE(Bool(DBLoadTsvFile, {S("T.TXT")}));
}

}  // namespace
}  // namespace tova
