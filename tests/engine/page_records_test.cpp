// Every command record, written from a layout of its fields independent of
// the command classes, read, and written again by the page writer.
// GCC 12 at -O3 reports -Wrestrict and -Wmaybe-uninitialized inside
// libstdc++'s inlined string code where string literals build strings here:
// reports of things that cannot happen (GCC bugs 105329 and 105562, fixed in
// GCC 13).
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ == 12
#pragma GCC diagnostic ignored "-Wrestrict"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <string>
#include <vector>

#include "engine/command_component.h"
#include "engine/command_flow.h"
#include "engine/command_media.h"
#include "engine/page.h"
#include "engine/page_test_bytes.h"

namespace tova {
namespace {

using test::ExprBytes;
using test::MaskOf;
using test::StoredBytes;
using test::TPageBytes;

// The fields after the common ones: E expression, s string, i int32, b byte,
// L int32 count and that many expressions, T text block, P the component
// properties; "@n" makes a field present from page version n on.
constexpr std::array<const char*, kCommandCodeCount> kLayouts = {
    "E",                            // 0 If
    "E",                            // 1 Elseif
    "",                             // 2 Else
    "s",                            // 3 Label
    "s i E",                        // 4 Jump
    "s i s E L",                    // 5 Call
    "E",                            // 6 Exit
    "E E E@107",                    // 7 Wait
    "P",                            // 8 BoxNew
    "P",                            // 9 ImgNew
    "P",                            // 10 MesNew
    "P",                            // 11 Timer
    "P",                            // 12 Movie
    "E E E E L E E E E@101 E@107",  // 13 Flip
    "E",                            // 14 Calc
    "s b E b",                      // 15 VarNew
    "s",                            // 16 VarDel
    "E E s",                        // 17 GetProp
    "E E E",                        // 18 SetProp
    "E",                            // 19 ObjDel
    "T E E E E@107",                // 20 TextIns
    "E E E E@107",                  // 21 MovieStop
    "",                             // 22 ClrHist
    "P",                            // 23 Cinema
    "P",                            // 24 Caption
    "P",                            // 25 Menu
    "E",                            // 26 MenuClose
    "s",                            // 27 Comment
    "E",                            // 28 TextClr
    "E E E E E@111",                // 29 CallHist
    "P",                            // 30 Button
    "E i",                          // 31 While
    "E",                            // 32 WhileInit
    "E i",                          // 33 WhileLoop
    "E i",                          // 34 Break
    "E i",                          // 35 Continue
    "P",                            // 36 ParticleNew
    "P",                            // 37 FireNew
    "E s i@105 E",                  // 38 GameSave
    "E",                            // 39 GameLoad
    "s i b",                        // 40 PCReset
    "s i b",                        // 41 Reset
    "P",                            // 42 Sound
    "P",                            // 43 EditNew
    "P",                            // 44 MemoNew
    "",                             // 45 Terminate
    "",                             // 46 DoEvent
    "",                             // 47 ClrRead
    "P",                            // 48 MapImgNew
    "P",                            // 49 WaveNew
    "P",                            // 50 TileNew
    "P",                            // 51 SliderNew
    "P",                            // 52 ScrollbarNew
    "P",                            // 53 GaugeNew
    "P",                            // 54 CGCaption
    "E",                            // 55 MediaPlay
    "P",                            // 56 PrevMenuNew
    "E E E E E E E@108",            // 57 PropMotion
    "E E@111",                      // 58 FormatHist
    "P E L",                        // 59 SaveCabinet
    "P E L",                        // 60 LoadCabinet
};

// A distinct mask per component code, reaching the last property id.
std::vector<TPropertyMask> TestMasks() {
    std::vector<TPropertyMask> masks(kCommandCodeCount);
    for (int code = 0; code < kCommandCodeCount; ++code)
        if (std::string(kLayouts[static_cast<size_t>(code)]).starts_with("P"))
            masks[static_cast<size_t>(code)] = MaskOf({0, code, 100 + code, 162});
    return masks;
}

std::string ExprText(int n) {
    return "v" + std::to_string(n) + " = " + std::to_string(n);
}

// Field values are numbered through the page so that no two are alike; the
// numbers each record got are kept, in field order, to check what was read.
class TLayoutWriter {
public:
    TLayoutWriter(int32_t version, const std::vector<TPropertyMask>& masks)
        : version_(version), masks_(masks) {}

    void Record(TPageBytes& bytes, int code) {
        bytes.Command(static_cast<uint8_t>(code), code % 5, 0, static_cast<uint8_t>(code % 2), 1000 + code);
        Numbers.emplace_back();
        std::istringstream fields(kLayouts[static_cast<size_t>(code)]);
        std::string field;
        while (fields >> field) {
            const size_t at = field.find('@');
            if (at != std::string::npos && version_ < std::stoi(field.substr(at + 1))) continue;
            Field(bytes, field[0], code);
        }
    }

    std::vector<std::vector<int>> Numbers;  // by code

private:
    void Field(TPageBytes& bytes, char kind, int code) {
        if (kind == 'L') {
            bytes.I32(2);
            Field(bytes, 'E', code);
            Field(bytes, 'E', code);
            return;
        }
        if (kind == 'P') {
            for (int id = 0; id < kComponentPropertyCount; ++id)
                if (MaskHas(masks_[static_cast<size_t>(code)], id)) Field(bytes, 'E', code);
            return;
        }
        const int n = ++counter_;
        Numbers.back().push_back(n);
        switch (kind) {
            case 'E':
                bytes.Expr(ExprText(n));
                break;
            case 's':
                bytes.Str("s" + std::to_string(n));
                break;
            case 'i':
                bytes.I32(n * 1000);
                break;
            case 'b':
                bytes.U8(static_cast<uint8_t>(n));
                break;
            case 'T':
                bytes.Str(std::string("text\0block", 10) + std::to_string(n));
                break;
            default:
                FAIL() << "bad layout";
        }
    }

    int32_t version_;
    const std::vector<TPropertyMask>& masks_;
    int counter_ = 0;
};

std::vector<uint8_t> AllCommandsPage(int32_t version, std::vector<std::vector<int>>* numbers = nullptr) {
    const std::vector<TPropertyMask> masks = TestMasks();
    TPageBytes bytes(version, 1, masks, kCommandCodeCount, kPropertyMaskBytes);
    bytes.Count(kCommandCodeCount);
    TLayoutWriter writer(version, masks);
    for (int code = 0; code < kCommandCodeCount; ++code)
        writer.Record(bytes, code);
    if (numbers) *numbers = writer.Numbers;
    return bytes.Bytes();
}

std::vector<uint8_t> Written(const TPage& page) {
    TTpMemoryStream out;
    page.SaveToStream(out);
    return out.Bytes();
}

class PageRecords : public ::testing::TestWithParam<int32_t> {};

TEST_P(PageRecords, EveryCommandReadsToItsEndAndWritesBackTheSameBytes) {
    const std::vector<uint8_t> original = AllCommandsPage(GetParam());
    TTpMemoryStream in(original);
    TPage page;
    page.LoadFromStream(in);
    EXPECT_EQ(in.Remaining(), 0);
    ASSERT_EQ(page.Count(), kCommandCodeCount);
    for (int code = 0; code < kCommandCodeCount; ++code) {
        EXPECT_EQ(static_cast<int>(page.Commands[static_cast<size_t>(code)]->GetCode()), code);
        EXPECT_EQ(page.Commands[static_cast<size_t>(code)]->LineId, 1000 + code);
    }
    const std::vector<uint8_t> first = Written(page);
    EXPECT_EQ(first, original);
    TTpMemoryStream again(first);
    TPage reread;
    reread.LoadFromStream(again);
    EXPECT_EQ(Written(reread), first);
}

INSTANTIATE_TEST_SUITE_P(Versions, PageRecords,
                         ::testing::Values(103, 104, 105, 106, 107, 108, 110, 111, 114));

// The values the layout writer gives, checked field by field, so that two
// fields of the same kind read in the wrong order are noticed.
TEST(PageRecordFields, FieldsLandWhereTheirNamesSay) {
    std::vector<std::vector<int>> numbers;
    TTpMemoryStream in(AllCommandsPage(111, &numbers));
    TPage page;
    page.LoadFromStream(in);
    ASSERT_EQ(page.Count(), kCommandCodeCount);
    auto at = [&](TCommandCode code) -> TCommand& { return *page.Commands[static_cast<size_t>(code)]; };
    // The k-th numbered field of a code's record.
    auto num = [&](TCommandCode code, size_t k) { return numbers[static_cast<size_t>(code)].at(k); };
    auto expr = [&](TCommandCode code, size_t k) { return ExprBytes(ExprText(num(code, k))); };
    auto str = [&](TCommandCode code, size_t k) { return "s" + std::to_string(num(code, k)); };
    auto i32 = [&](TCommandCode code, size_t k) { return num(code, k) * 1000; };

    using C = TCommandCode;
    const auto& jump = dynamic_cast<TComJump&>(at(C::Jump));
    EXPECT_EQ(jump.PageName, str(C::Jump, 0));
    EXPECT_EQ(jump.Target, i32(C::Jump, 1));
    EXPECT_EQ(StoredBytes(jump.Condition), expr(C::Jump, 2));
    const auto& call = dynamic_cast<TComCall&>(at(C::Call));
    EXPECT_EQ(call.PageName, str(C::Call, 0));
    EXPECT_EQ(call.Target, i32(C::Call, 1));
    EXPECT_EQ(call.ResultVar, str(C::Call, 2));
    EXPECT_EQ(StoredBytes(call.Condition), expr(C::Call, 3));
    ASSERT_EQ(call.Arguments.size(), 2u);
    EXPECT_EQ(StoredBytes(*call.Arguments[1]), expr(C::Call, 5));
    const auto& wait = dynamic_cast<TComWait&>(at(C::Wait));
    EXPECT_EQ(StoredBytes(wait.Condition), expr(C::Wait, 0));
    EXPECT_EQ(StoredBytes(wait.Time), expr(C::Wait, 1));
    EXPECT_EQ(StoredBytes(wait.BlockEvents), expr(C::Wait, 2));
    const auto& brk = dynamic_cast<TComBreak&>(at(C::Break));
    EXPECT_EQ(StoredBytes(brk.Condition), expr(C::Break, 0));
    EXPECT_EQ(brk.Target, i32(C::Break, 1));
    EXPECT_EQ(dynamic_cast<TComWhileLoop&>(at(C::WhileLoop)).LoopTarget, i32(C::WhileLoop, 1));
    EXPECT_EQ(dynamic_cast<TComWhile&>(at(C::While)).ExitTarget, i32(C::While, 1));

    const auto& movie = dynamic_cast<TComComponent&>(at(C::Movie));
    EXPECT_EQ(StoredBytes(*movie.Property(0)), expr(C::Movie, 0));
    EXPECT_EQ(StoredBytes(*movie.Property(162)), expr(C::Movie, 3));

    const auto& flip = dynamic_cast<TComFlip&>(at(C::Flip));
    EXPECT_EQ(StoredBytes(flip.WipeType), expr(C::Flip, 0));
    EXPECT_EQ(StoredBytes(flip.Duration), expr(C::Flip, 1));
    EXPECT_EQ(StoredBytes(flip.Reverse), expr(C::Flip, 2));
    EXPECT_EQ(StoredBytes(flip.Mode), expr(C::Flip, 3));
    ASSERT_EQ(flip.NameLists.size(), 2u);
    EXPECT_EQ(StoredBytes(*flip.NameLists[1]), expr(C::Flip, 5));
    EXPECT_EQ(StoredBytes(flip.ClearOld), expr(C::Flip, 6));
    EXPECT_EQ(StoredBytes(flip.Param1), expr(C::Flip, 8));
    EXPECT_EQ(StoredBytes(flip.WipeSource), expr(C::Flip, 9));
    EXPECT_EQ(StoredBytes(flip.BlockEvents), expr(C::Flip, 10));

    const auto& varNew = dynamic_cast<TComVarNew&>(at(C::VarNew));
    EXPECT_EQ(varNew.Name, str(C::VarNew, 0));
    EXPECT_EQ(varNew.Type, num(C::VarNew, 1));
    EXPECT_EQ(StoredBytes(varNew.InitialValue), expr(C::VarNew, 2));
    EXPECT_EQ(varNew.Scope, num(C::VarNew, 3));
    EXPECT_EQ(dynamic_cast<TComGetProp&>(at(C::GetProp)).VarName, str(C::GetProp, 2));

    const auto& textIns = dynamic_cast<TComTextIns&>(at(C::TextIns));
    EXPECT_EQ(textIns.TextData, std::string("text\0block", 10) + std::to_string(num(C::TextIns, 0)));
    EXPECT_EQ(StoredBytes(textIns.Target), expr(C::TextIns, 1));
    EXPECT_EQ(StoredBytes(textIns.BlockEvents), expr(C::TextIns, 4));
    EXPECT_EQ(StoredBytes(dynamic_cast<TComMovieStop&>(at(C::MovieStop)).BlockEvents), expr(C::MovieStop, 3));
    EXPECT_EQ(StoredBytes(dynamic_cast<TComCallHist&>(at(C::CallHist)).Format), expr(C::CallHist, 4));
    EXPECT_EQ(StoredBytes(dynamic_cast<TComEntryHist&>(at(C::FormatHist)).Format), expr(C::FormatHist, 1));
    EXPECT_EQ(StoredBytes(dynamic_cast<TComPropMotion&>(at(C::PropMotion)).Paused), expr(C::PropMotion, 6));

    const auto& save = dynamic_cast<TComGameSave&>(at(C::GameSave));
    EXPECT_EQ(StoredBytes(save.Slot), expr(C::GameSave, 0));
    EXPECT_EQ(save.Caption, str(C::GameSave, 1));
    EXPECT_EQ(save.Value, i32(C::GameSave, 2));
    EXPECT_EQ(StoredBytes(save.Text), expr(C::GameSave, 3));
    const auto& reset = dynamic_cast<TComReset&>(at(C::Reset));
    EXPECT_EQ(reset.PageName, str(C::Reset, 0));
    EXPECT_EQ(reset.Target, i32(C::Reset, 1));
    EXPECT_EQ(reset.Mode, num(C::Reset, 2));
    const auto& cabinet = dynamic_cast<TComCabinet&>(at(C::LoadCabinet));
    EXPECT_EQ(StoredBytes(*cabinet.Property(162)), expr(C::LoadCabinet, 3));
    EXPECT_EQ(StoredBytes(cabinet.Mode), expr(C::LoadCabinet, 4));
    ASSERT_EQ(cabinet.Names.size(), 2u);
    EXPECT_EQ(StoredBytes(*cabinet.Names[0]), expr(C::LoadCabinet, 5));
}

TEST(PageRecordFields, PropertySlotsFollowThePageMasksWhenWritten) {
    // Commands created for one page take their slots from its masks; the
    // writer writes exactly those slots.
    TPage page;
    page.PropertyMasks[static_cast<size_t>(TCommandCode::Sound)] = MaskOf({7, 28});
    page.Commands.push_back(CreateCommand(page, static_cast<uint8_t>(TCommandCode::Sound)));
    auto& sound = dynamic_cast<TComSound&>(*page.Commands[0]);
    ASSERT_NE(sound.Property(28), nullptr);
    EXPECT_EQ(sound.Property(29), nullptr);
    EXPECT_EQ(sound.Property(-1), nullptr);
    EXPECT_EQ(sound.Property(kComponentPropertyCount), nullptr);
    const std::vector<uint8_t> first = Written(page);
    TTpMemoryStream in(first);
    TPage reread;
    reread.LoadFromStream(in);
    ASSERT_EQ(reread.Count(), 1);
    EXPECT_NE(dynamic_cast<TComSound&>(*reread.Commands[0]).Property(7), nullptr);
    EXPECT_EQ(Written(reread), first);
}

TEST(PageRecordFields, PagesThatCarryNothingWriteOnlyTheirVersion) {
    for (int32_t version : {90, 200}) {
        TPage page;
        page.Version = version;
        TTpMemoryStream out;
        page.SaveToStream(out);
        EXPECT_EQ(out.GetSize(), 4);
        out.SetPosition(0);
        TPage reread;
        reread.LoadFromStream(out);
        EXPECT_EQ(reread.Version, version);
    }
}

}  // namespace
}  // namespace tova
