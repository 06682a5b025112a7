// Filling tables from tab-separated text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "expr/db_table.h"
#include "expr/db_tsv.h"
#include "vfs/file_manager.h"

namespace tova {
namespace {

using Lines = std::vector<std::string>;

std::string Cell(TDBTable& table, int32_t record, int field) {
    return table.FieldAt(record, field).GetStr();
}

TEST(DBTsv, LinesEndAtCrLfCrOrLf) {
    EXPECT_EQ(SplitTextLines("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitTextLines("a\r\n\r\nb\r\n"), (Lines{"a", "", "b"}));
    EXPECT_EQ(SplitTextLines("\n"), (Lines{""}));
    EXPECT_TRUE(SplitTextLines("").empty());
}

TEST(DBTsv, EmptyColumnsCountButAFinalTabAddsNone) {
    EXPECT_EQ(SplitTabColumns("a\t\tb\t"), (Lines{"a", "", "b"}));
    EXPECT_EQ(SplitTabColumns("\tx"), (Lines{"", "x"}));
    EXPECT_TRUE(SplitTabColumns("").empty());
}

TEST(DBTsv, HeaderDeclaresNamesTypesAndLengths) {
    TDBTable table("t", 0);
    ASSERT_TRUE(
        LoadTsvLines(table, {"id int\tname\tscore float\tok bool\tcode str 3\tnote x abc\t  pad   int  "}));
    const TDBFieldList& fields = table.Fields();
    ASSERT_EQ(fields.Count(), 7);
    EXPECT_EQ(fields.Field(0).Type, DB_INT);
    EXPECT_EQ(fields.Field(1).Name, "name");
    EXPECT_EQ(fields.Field(1).Type, DB_STR);
    EXPECT_EQ(fields.Field(1).Size, 81);  // 80 characters when no length is given
    EXPECT_EQ(fields.Field(2).Type, DB_FLOAT);
    EXPECT_EQ(fields.Field(3).Type, DB_BOOL);
    EXPECT_EQ(fields.Field(4).Size, 4);
    EXPECT_EQ(fields.Field(5).Size, 81);  // a length that is no number
    EXPECT_EQ(fields.Field(6).Name, "pad");
    EXPECT_EQ(fields.Field(6).Type, DB_INT);
    EXPECT_EQ(table.RecordCount(), 0);
}

TEST(DBTsv, RecordsTakeTheColumnsAsStrings) {
    TDBTable table("t", 0);
    ASSERT_TRUE(LoadTsvLines(table, SplitTextLines("id int\tname str 6\tscore float\r\n"
                                                   "1\tAnn\t2.5\r\n"
                                                   "\r\n"
                                                   "x\tBarbara\r\n"
                                                   "3\t\"q\"\t1e2\textra\r\n")));
    ASSERT_EQ(table.RecordCount(), 3);
    EXPECT_EQ(table.Cursor(), 2);
    EXPECT_EQ(table.FieldAt(0, 0).GetInt(), 1);
    EXPECT_EQ(table.FieldAt(0, 2).GetFloat(), 2.5L);
    EXPECT_EQ(table.FieldAt(1, 0).GetInt(), 0);       // not a number
    EXPECT_EQ(Cell(table, 1, 1), "Barbar");           // cut to the declared length
    EXPECT_EQ(table.FieldAt(1, 2).GetFloat(), 0.0L);  // missing column
    EXPECT_EQ(Cell(table, 2, 1), "\"q\"");            // quotes are ordinary characters
    EXPECT_EQ(table.FieldAt(2, 2).GetFloat(), 100.0L);
}

TEST(DBTsv, BackslashEscapesInDataLines) {
    TDBTable table("t", 0);
    ASSERT_TRUE(LoadTsvLines(table, {"a\\b 20", "x\\ny\\\"z\\\\w\\t", "\x83\\n"}));
    EXPECT_EQ(table.Fields().Field(0).Name, "a\\b");  // the header keeps its backslashes
    EXPECT_EQ(Cell(table, 0, 0), "x\r\ny\"z\\w\\t");
    // The second byte of a double-byte character is no backslash.
    EXPECT_EQ(Cell(table, 1, 0), "\x83\\n");
}

TEST(DBTsv, AColumnWithoutANameFailsAndLeavesNoFields) {
    TDBTable table("t", 0);
    table.AddField("old", DB_INT, 0);
    table.Append();
    EXPECT_FALSE(LoadTsvLines(table, {"id int\t\tname", "1\t2\t3"}));
    EXPECT_EQ(table.Fields().Count(), 0);
    EXPECT_EQ(table.RecordCount(), 0);
    EXPECT_EQ(table.Cursor(), -1);
    EXPECT_FALSE(LoadTsvLines(table, {"   \tname"}));
    EXPECT_FALSE(LoadTsvLines(table, {"", "1"}));
    EXPECT_FALSE(LoadTsvLines(table, {}));
    EXPECT_EQ(table.RecordCount(), 0);
}

TEST(DBTsv, FilesComeFromTheVirtualFileSystem) {
    TVrFileManagerOptions options;
    options.cdRoots = std::vector<std::string>{};
    TVrFileManager files(options);
    files.AddArchive("");
    const std::string text = "name\r\nalpha\r\nbeta";
    files.Archive(0)
        .AddMemoryFile("data\\list.txt")
        ->Data->WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
    TDBTable table("t", 0);
    table.AddField("keep", DB_INT, 0);
    EXPECT_FALSE(LoadTsvFile(table, files, "data\\missing.txt"));
    EXPECT_EQ(table.Fields().Field(0).Name, "keep");  // untouched
    ASSERT_TRUE(LoadTsvFile(table, files, "DATA\\LIST.TXT"));
    ASSERT_EQ(table.RecordCount(), 2);
    EXPECT_EQ(Cell(table, 1, 0), "beta");
}

}  // namespace
}  // namespace tova
