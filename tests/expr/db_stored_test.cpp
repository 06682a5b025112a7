// The stored database sections of the game save (flag 0) and of the status
// record (flag 1).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/binary_io.h"
#include "core/error.h"
#include "expr/db_dump.h"
#include "expr/db_manager.h"
#include "expr/db_stored.h"

namespace tova {
namespace {

void AddRecord(TDBTable& table, int32_t id, const std::string& text, long double x, bool flag) {
    table.Append();
    table.CurrentField("id").SetInt(id);
    table.CurrentField("text").SetStr(text);
    table.CurrentField("x").SetFloat(x);
    table.CurrentField("flag").SetBool(flag);
}

TDBTable& MakeTable(TDBManager& db, const std::string& name, uint8_t status) {
    EXPECT_GE(db.CreateTable(name, status), 0);
    TDBTable& table = *db.ActiveTable();
    table.AddField("id", DB_INT, 0);
    table.AddField("text", DB_STR, 8);
    table.AddField("x", DB_FLOAT, 0);
    table.AddField("flag", DB_BOOL, 0);
    return table;
}

// Two ordinary tables, one status table and an ordinary table without fields.
void Fill(TDBManager& db) {
    TDBTable& items = MakeTable(db, "items", 0);
    AddRecord(items, 1, "sword", 2.5L, true);
    AddRecord(items, -7, "\x8c\x95xyz", -1e-300L, false);
    items.CurrentField("text").SetStr("ab");  // leaves old bytes after the zero
    items.SetCursor(0);
    TDBTable& marks = MakeTable(db, "marks", 1);
    AddRecord(marks, 42, "seen", 0.125L, true);
    MakeTable(db, "empty", 0).SetCursor(-1);
    db.CreateTable("bare", 0);
    db.ActiveTable()->Append();
    db.SetActive("ITEMS");
}

std::string Dump(const TDBManager& db) {
    std::string out;
    AppendDbTablesJson(out, db);
    return out;
}

std::vector<uint8_t> Section(const TDBManager& db, uint8_t flag) {
    TTpMemoryStream stream;
    db.SaveSection(stream, flag);
    return stream.Bytes();
}

TEST(DBSections, GameAndStatusSectionsRoundTrip) {
    TDBManager saved;
    Fill(saved);
    TTpMemoryStream game(Section(saved, 0));
    TTpMemoryStream status(Section(saved, 1));

    TDBManager loaded;
    loaded.LoadSection(status, 1);
    EXPECT_EQ(loaded.ActiveTable()->Name, "marks");  // the last table read
    loaded.LoadSection(game, 0);
    EXPECT_EQ(game.Remaining(), 0);
    EXPECT_EQ(status.Remaining(), 0);
    EXPECT_EQ(loaded.ActiveTable()->Name, "items");  // the saved active table
    EXPECT_EQ(loaded.Count(), 4);
    // Byte for byte the same, padding included; the order differs only in
    // that the status table comes first.
    EXPECT_EQ(Section(loaded, 0), Section(saved, 0));
    EXPECT_EQ(Section(loaded, 1), Section(saved, 1));
    const TDBTable& items = *loaded.Find("items");
    EXPECT_EQ(items.Cursor(), 0);
    EXPECT_EQ(items.Record(1)[4 + 3], 'y');  // a stale byte after "ab\0"
    EXPECT_EQ(items.Record(1)[4 + 2], 0);
    EXPECT_EQ(loaded.Find("bare")->RecordCount(), 1);
}

TEST(DBSections, LoadingReplacesOnlyTheTablesOfItsFlag) {
    TDBManager db;
    Fill(db);
    TTpMemoryStream game(Section(db, 0));
    db.Find("items")->ClearRecords();
    db.CreateTable("later", 0);
    db.LoadSection(game, 0);
    EXPECT_EQ(db.IndexOf("later"), -1);
    EXPECT_EQ(db.Find("items")->RecordCount(), 2);
    EXPECT_EQ(db.Find("marks")->RecordCount(), 1);  // the status table stays

    // A game section with no active table loads with none active.
    db.Clear();
    TTpMemoryStream none(Section(db, 0));
    Fill(db);
    db.LoadSection(none, 0);
    EXPECT_EQ(db.ActiveTable(), nullptr);
    EXPECT_EQ(db.Count(), 1);
    EXPECT_EQ(db.Table(0).Name, "marks");
}

TEST(DBManager, ResetRemovesOnlyOrdinaryTables) {
    TDBManager db;
    Fill(db);
    db.SetActive("marks");
    db.RemoveOrdinaryTables();
    ASSERT_EQ(db.Count(), 1);
    EXPECT_EQ(db.Table(0).Name, "marks");
    EXPECT_EQ(db.ActiveTable(), nullptr);
}

TEST(DBSections, ASectionEndingBeforeTheActiveNameLeavesNoneActive) {
    TDBManager db;
    Fill(db);
    std::vector<uint8_t> bytes = Section(db, 0);
    bytes.resize(bytes.size() - 4 - 5);  // drop the string "items"
    TTpMemoryStream stream(bytes);
    TDBManager loaded;
    loaded.LoadSection(stream, 0);
    EXPECT_EQ(loaded.Count(), 3);
    EXPECT_EQ(loaded.ActiveTable(), nullptr);
}

TEST(DBSections, EveryTruncationFailsCleanlyAndChangesNothing) {
    TDBManager saved;
    Fill(saved);
    const std::vector<uint8_t> bytes = Section(saved, 1);
    TDBManager target;
    Fill(target);
    target.Find("marks")->ClearRecords();
    const std::string before = Dump(target);
    for (size_t size = 0; size < bytes.size(); ++size) {
        TTpMemoryStream stream(
            std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size)));
        EXPECT_THROW(target.LoadSection(stream, 1), ETovaError) << "size " << size;
        EXPECT_EQ(Dump(target), before);
    }
}

// One status section holding a single table whose stored bytes are built
// by hand, to damage them one way at a time.
struct THandMadeTable {
    int32_t fieldCount = 1;
    int32_t fieldSize = 4;
    uint8_t fieldType = DB_INT;
    uint8_t status = 1;
    uint8_t kind = 0;
    int32_t version = 100;
    int32_t records = 1;
    int32_t cursor = 0;

    std::vector<uint8_t> Bytes() const {
        TTpMemoryStream s;
        WriteI32(s, version);
        WriteI32(s, 1);
        WriteU8(s, kind);
        WriteString(s, "t");
        WriteU8(s, status);
        WriteI32(s, fieldCount);
        WriteI32(s, fieldSize);
        WriteString(s, "f");
        WriteU8(s, fieldType);
        WriteI32(s, records);
        for (int64_t i = 0; i < int64_t{records} * fieldSize && i < 64; ++i)
            WriteU8(s, 0);
        WriteI32(s, cursor);
        return s.Bytes();
    }
};

std::string LoadError(const THandMadeTable& table) {
    TTpMemoryStream stream(table.Bytes());
    TDBManager db;
    try {
        db.LoadSection(stream, 1);
    } catch (const ETovaError& e) {
        return e.Message();
    }
    return {};
}

TEST(DBSections, DamagedCountsSizesAndIndexesAreRejected) {
    EXPECT_EQ(LoadError({}), "");
    THandMadeTable t;
    t.version = 99;
    EXPECT_NE(LoadError(t), "");
    t = {};
    t.kind = 1;
    EXPECT_NE(LoadError(t), "");
    t = {};
    t.status = 0;  // an ordinary table inside the status section
    EXPECT_NE(LoadError(t), "");
    t = {};
    t.fieldSize = 5;  // an integer field is 4 bytes
    EXPECT_NE(LoadError(t), "");
    t = {};
    t.fieldType = DB_STR;
    t.fieldSize = 0;  // a string field holds at least its zero
    EXPECT_NE(LoadError(t), "");
    t = {};
    t.fieldType = 9;
    EXPECT_NE(LoadError(t), "");
    t = {};
    t.fieldCount = 0x7fffffff;
    EXPECT_NE(LoadError(t), "");
    t = {};
    t.records = 0x40000000;  // far more record bytes than the data holds
    EXPECT_NE(LoadError(t), "");
    t = {};
    t.records = -1;
    EXPECT_NE(LoadError(t), "");
    t = {};
    t.cursor = 1;  // past the only record
    EXPECT_NE(LoadError(t), "");
    t = {};
    t.cursor = -2;
    EXPECT_NE(LoadError(t), "");
}

TEST(DBDump, TablesAsJson) {
    TDBManager db;
    db.CreateTable("q\"", 1);
    db.ActiveTable()->AddField("\x96\xbc", DB_STR, 4);
    db.ActiveTable()->AddField("n", DB_FLOAT, 0);
    db.ActiveTable()->Append();
    db.ActiveTable()->FieldAt(0, 0).SetStr("a\tb");
    db.ActiveTable()->FieldAt(0, 1).SetFloat(0.5L);
    EXPECT_EQ(
        Dump(db),
        "\"tables\": [{\"name\": \"q\\\"\", \"status\": true, \"fields\": [{\"name\": \"\xe5\x90\x8d\", "
        "\"type\": \"str\", \"size\": 5}, {\"name\": \"n\", \"type\": \"float\", \"size\": 10}], "
        "\"records\": "
        "[[\"a\\tb\", 0.5]], \"cursor\": 0}], \"active_table\": \"q\\\"\"");
    db.Clear();
    EXPECT_EQ(Dump(db), "\"tables\": [], \"active_table\": \"\"");
}

}  // namespace
}  // namespace tova
