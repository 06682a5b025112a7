// The status record's frame and its parts: the variables, the read marks and
// the image collection's flag.
#include "engine/status_record.h"

#include <gtest/gtest.h>

#include "core/binary_io.h"
#include "core/error.h"
#include "engine/status_parts.h"
#include "expr/db_manager.h"
#include "expr/param_collection.h"
#include "expr/param_types.h"
#include "graphics/image_depth_flag.h"
#include "text/read_list.h"

namespace tova {
namespace {

// Records the version it was given and reads one int32.
class TProbePart : public TStatusPart {
public:
    int SeenVersion = -1;
    int32_t Value = 0;
    void Save(TStream& stream, int) const override { WriteI32(stream, Value); }
    void Load(TStream& stream, int version) override {
        SeenVersion = version;
        Value = ReadI32(stream);
    }
};

struct TStatusState {
    TParamCollection variables;
    TTovaReadList readList;
    TImageDepthFlag depth;
    TDBManager database;
    TVariableStatusPart variablesPart{variables};
    TReadListStatusPart readListPart{readList};
    TImageDepthStatusPart depthPart{depth};
    TDatabaseStatusPart databasePart{database};
    TStatusRecord record;

    TStatusState() {
        record.AddPart(variablesPart);
        record.AddPart(readListPart);
        record.AddPart(depthPart);
        record.AddPart(databasePart);
    }
};

TParamCollectionItem* AddVariable(TParamCollection& variables, const std::string& name, bool status) {
    TParamCollectionItem* item = variables.AddItem(PT_INT);
    item->SetName(name);
    item->StatusFlag = status ? 1 : 0;
    return item;
}

TEST(StatusRecord, RoundTripKeepsEveryPartAndOnlyStatusVariables) {
    TStatusState saved;
    AddVariable(saved.variables, "seen", true)->SetInt(42);
    AddVariable(saved.variables, "scratch", false)->SetInt(7);
    saved.readList.Mark("scene\\a.tsc", 3, 1);
    saved.readList.Mark("scene\\a.tsc", 5, 0);
    saved.readList.Mark("b.tsc", -1, 2);
    saved.readList.Pending = {"b.tsc", 9, 4, "msg"};
    saved.depth.DepthConversion = true;
    saved.database.CreateTable("kept", 1);
    saved.database.Table(0).AddField("score", PT_INT, 0);
    saved.database.Table(0).Append();
    saved.database.Table(0).FieldAt(0, 0).SetInt(99);
    saved.database.CreateTable("game only", 0);
    TTpMemoryStream stream;
    saved.record.Save(stream);
    EXPECT_EQ(std::string(stream.Bytes().begin(), stream.Bytes().begin() + 9), "Status103");

    TStatusState loaded;
    stream.SetPosition(0);
    EXPECT_EQ(loaded.record.Load(stream), 103);
    EXPECT_EQ(stream.Remaining(), 0);
    ASSERT_NE(loaded.variables.FindItem("SEEN"), nullptr);
    EXPECT_EQ(loaded.variables.FindItem("seen")->GetInt(), 42);
    EXPECT_EQ(loaded.variables.FindItem("seen")->StatusFlag, 1);
    EXPECT_EQ(loaded.variables.FindItem("scratch"), nullptr);
    EXPECT_TRUE(loaded.readList.IsRead("SCENE\\A.TSC", 5, 0));
    EXPECT_TRUE(loaded.readList.IsRead("b.tsc", -1, 2));
    EXPECT_FALSE(loaded.readList.IsRead("scene\\a.tsc", 3, 0));
    EXPECT_EQ(loaded.readList.Pending, saved.readList.Pending);
    EXPECT_TRUE(loaded.depth.DepthConversion);
    // Only the status tables belong to the status record.
    ASSERT_EQ(loaded.database.Count(), 1);
    ASSERT_NE(loaded.database.Find("KEPT"), nullptr);
    EXPECT_EQ(loaded.database.Find("kept")->FieldAt(0, 0).GetInt(), 99);
}

TEST(StatusRecord, HeaderVersionRules) {
    struct TCase {
        std::string header;
        int version;
        int64_t partStart;  // where the first part begins
    };
    const TCase cases[] = {
        {"Status100", 100, 9},
        {"Status0x1", 0, 9},  // not a number: version 0, the header still skipped
        {"status103", 0, 0},  // no prefix (case matters): read from the first byte
        {"Stat", 0, 0},       // shorter than a header
    };
    for (const TCase& c : cases) {
        TTpMemoryStream stream;
        stream.WriteBuffer(c.header.data(), static_cast<int64_t>(c.header.size()));
        WriteI32(stream, 0x11223344);
        WriteI32(stream, 0x55667788);
        stream.SetPosition(0);
        TProbePart probe;
        TStatusRecord record;
        record.AddPart(probe);
        if (c.partStart + 4 > stream.GetSize()) {
            EXPECT_THROW(record.Load(stream), ETovaError) << c.header;
            continue;
        }
        EXPECT_EQ(record.Load(stream), c.version) << c.header;
        EXPECT_EQ(probe.SeenVersion, c.version) << c.header;
        EXPECT_EQ(stream.GetPosition(), c.partStart + 4) << c.header;
    }
}

TEST(StatusRecord, OldRecordsHaveNoReadMarksOrTables) {
    // Before version 100 the read marks are not stored, before 103 the
    // tables: the list starts empty and the next part reads right after the
    // variables.
    TTpMemoryStream stream;
    stream.WriteBuffer("Status099", 9);
    WriteI32(stream, 0);  // no status variables
    WriteU8(stream, 1);   // depth conversion on
    stream.SetPosition(0);
    TStatusState loaded;
    loaded.readList.Mark("stale.tsc", 1, 1);
    EXPECT_EQ(loaded.record.Load(stream), 99);
    EXPECT_EQ(loaded.readList.Count(), 0);
    EXPECT_TRUE(loaded.depth.DepthConversion);
    EXPECT_EQ(stream.Remaining(), 0);
}

TEST(StatusRecord, EveryTruncationFailsCleanly) {
    TStatusState saved;
    AddVariable(saved.variables, "seen", true)->SetInt(1);
    saved.readList.Mark("a.tsc", 1, 2);
    saved.readList.Pending = {"a.tsc", 1, 2, "w"};
    saved.database.CreateTable("t", 1);
    TTpMemoryStream full;
    saved.record.Save(full);
    for (int64_t size = 9; size < full.GetSize(); ++size) {
        TTpMemoryStream cut(std::vector<uint8_t>(full.Bytes().begin(), full.Bytes().begin() + size));
        TStatusState loaded;
        EXPECT_THROW(loaded.record.Load(cut), ETovaError) << size;
    }
}

TEST(ReadList, DamagedCountsThrowAndKeepTheList) {
    TTovaReadList list;
    list.Mark("kept.tsc", 1, 1);
    for (const int32_t marks : {-1, 0x10000000}) {
        TTpMemoryStream stream;
        WriteI32(stream, 1);
        WriteString(stream, "page");
        WriteI32(stream, marks);
        WriteI32(stream, 0);
        WriteI32(stream, 0);
        stream.SetPosition(0);
        EXPECT_THROW(list.LoadFromStream(stream, 103), ETovaError) << marks;
        EXPECT_TRUE(list.IsRead("kept.tsc", 1, 1));
    }
    TTpMemoryStream hugeCount;
    WriteI32(hugeCount, 0x7FFFFFFF);
    hugeCount.SetPosition(0);
    EXPECT_THROW(list.LoadFromStream(hugeCount, 103), ETovaError);
}

TEST(ReadList, MarkingTwiceKeepsOnePair) {
    TTovaReadList list;
    list.Mark("a.tsc", 1, 2);
    list.Mark("A.TSC", 1, 2);
    list.Mark("a.tsc", 2, 1);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Item(0)->Positions, (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(list.Item(0)->PageIndices, (std::vector<int32_t>{2, 1}));
}

}  // namespace
}  // namespace tova
