#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/error.h"
#include "engine/command_component.h"
#include "engine/command_flow.h"
#include "engine/command_media.h"
#include "engine/page.h"
#include "engine/page_test_bytes.h"
#include "expr/param_collection.h"
#include "expr/param_types.h"
#include "platform/message_box.h"
#include "vfs/file_collection.h"
#include "vfs/file_manager.h"

namespace tova {
namespace {

using test::ExprBytes;
using test::MaskOf;
using test::StoredBytes;
using test::TPageBytes;

constexpr auto kBoxNew = static_cast<size_t>(TCommandCode::BoxNew);

class TRecordingMessageBox : public TMessageBoxHost {
public:
    TMessageResult Show(std::string_view caption, std::string_view text, TMessageButtons) override {
        Caption = caption;
        Text = text;
        ++Shown;
        return TMessageResult::Ok;
    }
    std::string Caption, Text;
    int Shown = 0;
};

void Load(TPage& page, const TPageBytes& bytes) {
    TTpMemoryStream stream = bytes.Stream();
    page.LoadFromStream(stream);
}

TEST(PageReader, ReadsCommonFieldsAndResultType) {
    TPageBytes bytes(114, 4, {}, kCommandCodeCount, kPropertyMaskBytes);
    bytes.Count(2);
    bytes.Command(3, 2, 1, 1, 77);
    bytes.Str("start");
    bytes.Command(14, -1, 0, 0, 0x12345678);
    bytes.Expr("a = 1");
    TPage page;
    Load(page, bytes);
    EXPECT_EQ(page.Version, 114);
    EXPECT_EQ(page.ResultType, 4);
    ASSERT_EQ(page.Count(), 2);
    const TCommand& label = *page.Commands[0];
    EXPECT_EQ(label.GetCode(), TCommandCode::Label);
    EXPECT_EQ(label.Indent, 2);
    EXPECT_TRUE(label.IsDisabled());
    EXPECT_TRUE(label.IsChained());
    EXPECT_EQ(label.LineId, 77);
    EXPECT_EQ(label.Page, &page);
    EXPECT_EQ(page.Commands[1]->LineId, 0x12345678);
    EXPECT_EQ(page.Commands[1]->Indent, -1);
    EXPECT_EQ(StoredBytes(dynamic_cast<TComCalc&>(*page.Commands[1]).Expression), ExprBytes("a = 1"));
}

TEST(PageReader, OldestAndNewestReadableVersionsDifferInTheirRecords) {
    for (int32_t version : {103, 114}) {
        SCOPED_TRACE(version);
        TPageBytes bytes(version);
        bytes.Count(2);
        bytes.Command(7);  // Wait
        bytes.Expr("c = 1");
        bytes.Expr("t = 100");
        if (version >= 107) bytes.Expr("b = 1");
        bytes.Command(38);  // GameSave
        bytes.Expr("s = 3");
        bytes.Str("after.tsb");
        if (version >= 105) bytes.I32(9);
        bytes.Expr("x = 1");
        TPage page;
        Load(page, bytes);
        ASSERT_EQ(page.Count(), 2);
        const auto& wait = dynamic_cast<TComWait&>(*page.Commands[0]);
        EXPECT_EQ(StoredBytes(wait.Time), ExprBytes("t = 100"));
        EXPECT_EQ(wait.BlockEvents.Records().empty(), version < 107);
        const auto& save = dynamic_cast<TComGameSave&>(*page.Commands[1]);
        EXPECT_EQ(save.Caption, "after.tsb");
        EXPECT_EQ(save.Value, version >= 105 ? 9 : 0);
        EXPECT_EQ(StoredBytes(save.Text), ExprBytes("x = 1"));
    }
}

TEST(PageReader, NewerVersionGivesAnEmptyPageSilently) {
    TRecordingMessageBox box;
    bool stopped = false;
    TPage page({nullptr, &box, [&] { stopped = true; }});
    TPageBytes bytes(115);
    bytes.Count(1);
    bytes.Command(0xFF);  // never looked at
    Load(page, bytes);
    EXPECT_EQ(page.Version, 115);
    EXPECT_EQ(page.Count(), 0);
    EXPECT_EQ(box.Shown, 0);
    EXPECT_FALSE(stopped);
}

TEST(PageReader, OlderVersionWarnsStopsAndStaysEmpty) {
    TRecordingMessageBox box;
    bool stopped = false;
    TPage page({nullptr, &box, [&] { stopped = true; }});
    page.Name = "old\\page.tsb";
    TPageBytes bytes(102);
    bytes.Count(1);
    bytes.Command(0xFF);
    Load(page, bytes);
    EXPECT_EQ(page.Count(), 0);
    EXPECT_TRUE(stopped);
    EXPECT_EQ(box.Shown, 1);
    EXPECT_EQ(box.Caption, SysText("警告"));
    EXPECT_EQ(box.Text, "old\\page.tsb\r\n" + SysText("リビルドしてください"));
    // Without a host the page is just empty.
    TPage bare;
    Load(bare, bytes);
    EXPECT_EQ(bare.Count(), 0);
}

TEST(PageReader, OnlyTheLowSevenBitsSelectTheClass) {
    TPageBytes bytes(114);
    bytes.Count(1);
    bytes.Command(128 + 4);
    bytes.Str("other.tsb");
    bytes.I32(5);
    bytes.Expr("1");
    TPage page;
    Load(page, bytes);
    ASSERT_EQ(page.Count(), 1);
    const auto& jump = dynamic_cast<TComJump&>(*page.Commands[0]);
    EXPECT_EQ(jump.PageName, "other.tsb");
    EXPECT_EQ(jump.Target, 5);
}

// A BoxNew record carries one expression per mask bit, in ascending id order.
void AddBoxNew(TPageBytes& bytes, const std::vector<int>& ids) {
    bytes.Command(8);
    for (int id : ids)
        bytes.Expr("p = " + std::to_string(id));
}

void ExpectSlots(const TCommand& command, const std::vector<int>& ids) {
    const auto& box = dynamic_cast<const TComComponent&>(command);
    for (int id = 0; id < kComponentPropertyCount; ++id) {
        const bool expected = std::find(ids.begin(), ids.end(), id) != ids.end();
        ASSERT_EQ(box.Property(id) != nullptr, expected) << "property " << id;
        if (expected) {
            EXPECT_EQ(StoredBytes(*box.Property(id)), ExprBytes("p = " + std::to_string(id)));
        }
    }
}

TEST(PageReader, ComponentCommandsCarryExactlyTheMaskedProperties) {
    std::vector<TPropertyMask> masks(kCommandCodeCount);
    masks[kBoxNew] = MaskOf({0, 3, 4, 162, 163, 167});  // ids above 162 carry nothing
    TPageBytes bytes(114, masks);
    bytes.Count(2);
    AddBoxNew(bytes, {0, 3, 4, 162});
    AddBoxNew(bytes, {0, 3, 4, 162});
    TPage page;
    Load(page, bytes);
    ASSERT_EQ(page.Count(), 2);
    ExpectSlots(*page.Commands[1], {0, 3, 4, 162});
}

TEST(PageReader, MaskEntriesLongerThanTheMaskKeepTheirFirstBytes) {
    std::vector<TPropertyMask> masks(kCommandCodeCount);
    masks[kBoxNew] = MaskOf({1, 160});
    masks[kBoxNew - 1] = MaskOf({0, 1, 2, 3, 4, 5, 6, 7, 8});
    TPageBytes bytes(114, 1, masks, kCommandCodeCount, 24);
    bytes.Count(1);
    AddBoxNew(bytes, {1, 160});
    TPage page;
    Load(page, bytes);
    ASSERT_EQ(page.Count(), 1);
    ExpectSlots(*page.Commands[0], {1, 160});
    EXPECT_EQ(page.PropertyMasks[kBoxNew - 1], masks[kBoxNew - 1]);
}

TEST(PageReader, ShortMaskEntriesLeaveTheRestEmpty) {
    std::vector<TPropertyMask> masks(kCommandCodeCount);
    masks[kBoxNew] = MaskOf({2, 79});  // bit 79 lies in byte 9: kept
    TPageBytes bytes(114, 1, masks, kCommandCodeCount, 10);
    bytes.Count(1);
    AddBoxNew(bytes, {2, 79});
    TPage page;
    Load(page, bytes);
    ASSERT_EQ(page.Count(), 1);
    ExpectSlots(*page.Commands[0], {2, 79});
    for (size_t b = 10; b < kPropertyMaskBytes; ++b)
        EXPECT_EQ(page.PropertyMasks[kBoxNew][b], 0);
}

TEST(PageReader, MaskEntriesBeyondTheCommandCodesAreSkipped) {
    std::vector<TPropertyMask> masks(70, MaskOf({5}));
    TPageBytes bytes(114, 1, masks, 70, kPropertyMaskBytes);
    bytes.Count(1);
    AddBoxNew(bytes, {5});
    TPage page;
    Load(page, bytes);
    ASSERT_EQ(page.Count(), 1);
    ExpectSlots(*page.Commands[0], {5});
}

TEST(PageReader, NoMaskEntriesMeansNoProperties) {
    TPageBytes bytes(114, 1, {}, 0, 21);
    bytes.Count(1);
    AddBoxNew(bytes, {});
    TPage page;
    Load(page, bytes);
    ASSERT_EQ(page.Count(), 1);
    ExpectSlots(*page.Commands[0], {});
}

TEST(PageReader, ZeroSizedMaskEntriesCarryNothingHoweverMany) {
    TPageBytes bytes(114, 1, {}, 0x31000000, 0);
    bytes.Count(1);
    AddBoxNew(bytes, {});
    TPage page;
    Load(page, bytes);
    ASSERT_EQ(page.Count(), 1);
    ExpectSlots(*page.Commands[0], {});
}

TEST(PageReader, LoadsFromTheVirtualFileSystem) {
    TVrFileManagerOptions options;
    options.cdRoots = std::vector<std::string>{};
    TVrFileManager files(options);
    files.AddArchive("");
    TPageBytes bytes(110);
    bytes.Count(1);
    bytes.Command(46);  // DoEvent
    files.Archive(0).AddMemoryFile("script\\start.tsb")->Data->WriteBuffer(bytes.Bytes());
    TPage page;
    page.LoadFromFile(files, "script\\start.tsb");
    EXPECT_EQ(page.Name, "script\\start.tsb");
    EXPECT_EQ(page.Version, 110);
    ASSERT_EQ(page.Count(), 1);
    EXPECT_EQ(page.Commands[0]->GetCode(), TCommandCode::DoEvent);
    // A file that is not there raises, and the page is left empty.
    EXPECT_THROW(page.LoadFromFile(files, "script\\none.tsb"), ETovaError);
    EXPECT_EQ(page.Count(), 0);
}

TEST(PageLabels, FindLabelIsExactAndCommentsAnswerToo) {
    TPageBytes bytes(114);
    bytes.Count(4);
    bytes.Command(3);
    bytes.Str("Start");
    bytes.Command(27);
    bytes.Str("note");
    bytes.Command(3);
    bytes.Str("start");
    bytes.Command(3);
    bytes.Str("Start");
    TPage page;
    Load(page, bytes);
    EXPECT_EQ(page.FindLabel("Start"), 0);
    EXPECT_EQ(page.FindLabel("start"), 2);
    EXPECT_EQ(page.FindLabel("note"), 1);
    EXPECT_EQ(page.FindLabel("none"), -1);
    EXPECT_EQ(page.IndexOf(page.Commands[3].get()), 3);
    EXPECT_EQ(page.IndexOf(nullptr), -1);
    // A comment never runs and never chains, whatever its record says.
    page.Commands[1]->SetDisabled(false);
    page.Commands[1]->Chained = 1;
    EXPECT_TRUE(page.Commands[1]->IsDisabled());
    EXPECT_FALSE(page.Commands[1]->IsChained());
}

TEST(PageLifetime, DestroyingThePageFreesItsHiddenVariable) {
    TParamCollection vars;
    const std::string hidden = std::string(1, '\x01') + "title.tsb";
    vars.Declare(hidden, 1, VK_GLOBAL);
    vars.Declare("other", 1, VK_GLOBAL);
    {
        TPage page({&vars, nullptr, {}});
        page.Name = "title.tsb";
    }
    EXPECT_EQ(vars.FindItem(hidden), nullptr);
    EXPECT_NE(vars.FindItem("other"), nullptr);
    // A page of another name leaves it alone.
    vars.Declare(hidden, 1, VK_GLOBAL);
    {
        TPage page({&vars, nullptr, {}});
        page.Name = "menu.tsb";
    }
    EXPECT_NE(vars.FindItem(hidden), nullptr);
}

}  // namespace
}  // namespace tova
