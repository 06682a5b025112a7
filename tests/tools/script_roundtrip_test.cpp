// Decompiling any page and compiling the text again gives back the page's
// bytes: pages written by hand here with odd targets, masks, indents,
// attribute bytes, strings and expression records, and seeded random pages.
#include <gtest/gtest.h>

#include <random>

#include "core/binary_io.h"
#include "core/error.h"
#include "engine/command_component.h"
#include "engine/command_flow.h"
#include "engine/command_media.h"
#include "engine/page.h"
#include "expr/param_data.h"
#include "expr/param_var.h"
#include "sdk/script_compiler.h"
#include "sdk/script_fields.h"
#include "sdk/script_structure.h"

namespace tova::sdk {
namespace {

std::vector<uint8_t> PageBytes(const TPage& page) {
    TTpMemoryStream stream;
    page.SaveToStream(stream);
    return stream.Bytes();
}

// Reads the page's bytes back, so that what is compared is what a file holds.
std::unique_ptr<TPage> Reloaded(const TPage& page, std::string name = "") {
    auto copy = std::make_unique<TPage>();
    copy->Name = std::move(name);
    TTpMemoryStream stream(PageBytes(page));
    copy->LoadFromStream(stream);
    return copy;
}

// Decompiles, compiles the text and checks the bytes; returns the text.
std::string ExpectRoundTrip(const TPage& original) {
    const std::string text = DecompileScript(original);
    TPage compiled;
    try {
        CompileScript(text, "decompiled.tss", compiled);
    } catch (const ETovaError& error) {
        ADD_FAILURE() << error.what() << "\n" << text;
        return text;
    }
    EXPECT_EQ(PageBytes(compiled), PageBytes(original)) << text;
    return text;
}

template <class T>
T& Add(TPage& page, TCommandCode code, int32_t indent = 0) {
    page.Commands.push_back(CreateCommand(page, static_cast<uint8_t>(code)));
    T& command = static_cast<T&>(*page.Commands.back());
    command.Indent = indent;
    command.Chained = 1;
    return command;
}

std::unique_ptr<TOpeData> Record(uint8_t op, std::string target, uint8_t functionId = 0) {
    return std::make_unique<TOpeData>(op, std::move(target), functionId);
}

template <class T, class V>
std::unique_ptr<TCustomParam> Constant(V value) {
    auto param = std::make_unique<T>();
    param->Items[0] = value;
    return param;
}

TEST(ScriptRoundTrip, TargetsAndLoopRecordsThatNoSourceWouldGiveArePrintedExplicitly) {
    TPage page;
    auto& loop = Add<TComWhile>(page, TCommandCode::While);  // no WhileInit before it
    CompileExpression("i < 3", loop.Condition);
    loop.ExitTarget = 77;
    Add<TComBreak>(page, TCommandCode::Break, 1).Target = -5;
    Add<TComContinue>(page, TCommandCode::Continue, 1).Target = 1;
    auto& step = Add<TComWhileLoop>(page, TCommandCode::WhileLoop);
    step.LoopTarget = 3;
    Add<TComWhileLoop>(page, TCommandCode::WhileLoop, 2).LoopTarget = 0;  // belongs to no While
    Add<TComBreak>(page, TCommandCode::Break).Target = -1;  // outside any loop: the computed one
    auto& jump = Add<TComJump>(page, TCommandCode::Jump);
    jump.PageName = "other.tsb";
    jump.Target = 12;
    const std::string text = ExpectRoundTrip(page);
    EXPECT_NE(text.find(" noinit target=77] While i < 3"), std::string::npos) << text;
    EXPECT_NE(text.find(" target=-5] Break if {}"), std::string::npos) << text;
    EXPECT_NE(text.find(" target=3] WhileLoop"), std::string::npos) << text;
    EXPECT_NE(text.find("Jump other.tsb 12 if {}"), std::string::npos) << text;
}

TEST(ScriptRoundTrip, PlainLoopRecordsAreLeftOutOnlyWhereAddingThemBackGivesTheSameList) {
    TPage page;
    Add<TComWhileInit>(page, TCommandCode::WhileInit);
    auto& loop = Add<TComWhile>(page, TCommandCode::While);
    CompileExpression("n > 0", loop.Condition);
    loop.ExitTarget = 4;
    Add<TComCalc>(page, TCommandCode::Calc, 1);
    Add<TComWhileLoop>(page, TCommandCode::WhileLoop).LoopTarget = 1;
    // A deeper command right after the loop: without the WhileLoop written,
    // it would belong to the body.
    Add<TComCalc>(page, TCommandCode::Calc, 3);
    const std::string text = ExpectRoundTrip(page);
    EXPECT_NE(text.find("WhileLoop"), std::string::npos) << text;

    page.Commands.pop_back();
    const std::string shorter = ExpectRoundTrip(page);
    EXPECT_EQ(shorter.find("WhileInit"), std::string::npos) << shorter;
    EXPECT_EQ(shorter.find("WhileLoop"), std::string::npos) << shorter;
}

TEST(ScriptRoundTrip, MasksWiderThanWhatIsWrittenAndBitsPastTheLastProperty) {
    TPage page;
    MaskSet(page.PropertyMasks[static_cast<size_t>(TCommandCode::ImgNew)], 0);
    MaskSet(page.PropertyMasks[static_cast<size_t>(TCommandCode::ImgNew)], 3);
    MaskSet(page.PropertyMasks[static_cast<size_t>(TCommandCode::ImgNew)], 165);
    MaskSet(page.PropertyMasks[static_cast<size_t>(TCommandCode::Calc)], 7);
    auto& image = Add<TComImgNew>(page, TCommandCode::ImgNew);
    CompileExpression("\"bg\"", *image.Property(0));  // PR_LEFT stays empty
    const std::string text = ExpectRoundTrip(page);
    EXPECT_NE(text.find("#mask ImgNew PR_NAME PR_LEFT 165"), std::string::npos) << text;
    EXPECT_NE(text.find("#mask Calc PR_ZOOMX"), std::string::npos) << text;
}

TEST(ScriptRoundTrip, StoredRecordsNoTextCompilesToFallBackToTheRawForm) {
    TPage page;
    auto& calc = Add<TComCalc>(page, TCommandCode::Calc);
    auto odd = Record(42, "x\x81");  // unknown operator, a target that is not valid code page 932
    odd->AddOperand(Constant<TParamInt>(-7));
    odd->AddOperand(Constant<TParamFloat>(0.1L));
    odd->AddOperand(Constant<TParamFlag>(uint8_t{1}));
    odd->AddOperand(Constant<TParamStr>(std::string("a\rb\"\\")));
    odd->AddReference("");
    calc.Expression.AddRecord(std::move(odd));
    auto call = Record(ocFunc, "____0", 250);  // no such function
    call->AddReference("____1");
    calc.Expression.AddRecord(std::move(call));
    auto& condition = Add<TComIf>(page, TCommandCode::If);
    CompileExpression("(a + b) * 2 > -c", condition.Condition);
    condition.Condition.AddRecord(Record(ocTo, "____arg"));  // one record too many
    const std::string text = ExpectRoundTrip(page);
    EXPECT_NE(text.find("Calc {42 \"x\\x81\" int:-7 float:"), std::string::npos) << text;
    EXPECT_NE(text.find("ocFunc:250 ____0 ____1"), std::string::npos) << text;
}

TEST(ScriptRoundTrip, StringsWithAnyBytesCommentsAndOddNames) {
    TPage page;
    Add<TComLabel>(page, TCommandCode::Label).Name = "if";
    Add<TComLabel>(page, TCommandCode::Label).Name = "5";
    Add<TComComment>(page, TCommandCode::Comment).Name = "two\r\nlines";
    Add<TComComment>(page, TCommandCode::Comment).Name = " # spaced";
    Add<TComComment>(page, TCommandCode::Comment).Name = "= not a field";
    Add<TComComment>(page, TCommandCode::Comment, 1).Name = "plain # text";
    Add<TComTextIns>(page, TCommandCode::TextIns).TextData = std::string("\x00\xff\x82\xa0\x81", 5);
    auto& var = Add<TComVarNew>(page, TCommandCode::VarNew);
    var.Name = "a b";
    var.Type = 9;
    var.Scope = 7;
    CompileExpression("x scope=1", var.InitialValue);
    auto& call = Add<TComCall>(page, TCommandCode::Call);
    call.PageName = "";
    call.ResultVar = "r[1, 2]";
    call.Arguments.push_back(std::make_unique<TTovaParser>());
    call.Arguments.push_back(std::make_unique<TTovaParser>());
    CompileExpression("IntToStr(a, b)", *call.Arguments.back());
    auto& wait = Add<TComWait>(page, TCommandCode::Wait);
    CompileExpression("while", wait.Time);
    ExpectRoundTrip(page);
}

TEST(ScriptRoundTrip, CommonFieldsOfEveryValue) {
    TPage page;
    auto& a = Add<TComDoEvent>(page, TCommandCode::DoEvent, -3);
    a.Chained = 0;
    a.Disabled = 200;
    a.LineId = -1;
    auto& b = Add<TComTerminate>(page, TCommandCode::Terminate, 1000);
    b.Chained = 255;
    b.Disabled = 1;
    auto& image = Add<TComImgNew>(page, TCommandCode::ImgNew, 40);
    (void)image;
    const std::string text = ExpectRoundTrip(page);
    EXPECT_NE(text.find("[chained=0 disabled=200 line=-1 indent=-3] DoEvent"), std::string::npos) << text;
}

TEST(ScriptRoundTrip, OldVersionsAndPagesThePlayerDoesNotRead) {
    for (const int32_t version : {103, 106, 110, 99, 115}) {
        {
            TTpMemoryStream bytes;
            WriteI32(bytes, version);
            WriteU8(bytes, 4);
            WriteI32(bytes, 0);
            WriteI32(bytes, 0);
            WriteI32(bytes, 1);
            TPage page;
            auto& wait = Add<TComWait>(page, TCommandCode::Wait);
            page.Version = version;
            CompileExpression("100", wait.Time);
            wait.SaveToStream(bytes);
            bytes.SetPosition(0);
            TPage loaded;
            loaded.LoadFromStream(bytes);
            ExpectRoundTrip(loaded);
        }
    }
}

TEST(ScriptRoundTrip, JumpTargetsPrintLabelsOnlyForThisPage) {
    TPage page;
    Add<TComLabel>(page, TCommandCode::Label).Name = "top";
    auto& self = Add<TComJump>(page, TCommandCode::Jump);
    self.PageName = "dir\\Main.tsb";
    self.Target = 0;
    auto& other = Add<TComCall>(page, TCommandCode::Call);
    other.PageName = "sub.tsb";
    other.Target = 0;
    auto& reset = Add<TComPCReset>(page, TCommandCode::PCReset);
    reset.PageName = "main.tsb";
    reset.Mode = 3;
    const std::unique_ptr<TPage> named = Reloaded(page, "main.tsb");
    const std::string text = ExpectRoundTrip(*named);
    EXPECT_NE(text.find("Jump dir\\Main.tsb top if {}\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Call sub.tsb if {}\n"), std::string::npos) << text;
    EXPECT_NE(text.find("PCReset main.tsb top mode=3"), std::string::npos) << text;
}

// Seeded random pages: every command type, random common fields, and each
// expression either compiled from a sample text or made of random records.
class TRandomPage {
public:
    explicit TRandomPage(uint32_t seed) : random_(seed) {}

    std::unique_ptr<TPage> Make() {
        TPage page;
        page.Version = 103 + Below(12);
        page.ResultType = static_cast<uint8_t>(Below(6));
        for (auto& mask : page.PropertyMasks)
            for (auto& byte : mask)
                byte = Below(3) == 0 ? static_cast<uint8_t>(random_()) : 0;
        const int count = Below(40);
        for (int i = 0; i < count; ++i)
            AddCommand(page);
        return Reloaded(page, "page.tsb");
    }

private:
    int Below(int n) { return static_cast<int>(random_() % static_cast<uint32_t>(n)); }

    std::string Name() {
        static const char* const kNames[] = {"a",        "page.tsb", "",        "if", "x y",
                                             "\x82\xa0", "\x81",     "@Result", "3",  "____0"};
        return kNames[Below(10)];
    }

    void Fill(TTovaParser& parser) {
        static const char* const kTexts[] = {
            "x = 1 + 2 * 3",
            "(a + b) * c",
            "n > 3",
            "\"a\\\"b\" ++ s",
            "IntToStr(a[1, 2])",
            "-x * y",
            "2 * -3",
            "a - (b - c)",
            "TRUE",
            "1.5",
            "x = y",
            "a[i + 1] = 2",
        };
        parser.Clear();
        const int kind = Below(4);
        if (kind == 0) return;
        if (kind < 3) return CompileExpression(kTexts[Below(12)], parser);
        for (int r = Below(3) + 1; r > 0; --r) {
            const auto op = static_cast<uint8_t>(Below(25));
            auto record = Record(op, Below(2) ? "____" + std::to_string(Below(3)) : Name(),
                                 static_cast<uint8_t>(Below(200)));
            for (int k = Below(4); k > 0; --k) {
                switch (Below(5)) {
                    case 0:
                        record->AddOperand(Constant<TParamInt>(static_cast<int32_t>(random_())));
                        break;
                    case 1:
                        record->AddOperand(Constant<TParamFloat>(static_cast<long double>(random_()) / 7));
                        break;
                    case 2:
                        record->AddOperand(Constant<TParamFlag>(static_cast<uint8_t>(Below(2))));
                        break;
                    case 3:
                        record->AddOperand(Constant<TParamStr>(Name()));
                        break;
                    default:
                        record->AddReference(Name());
                        break;
                }
            }
            parser.AddRecord(std::move(record));
        }
    }

    void AddCommand(TPage& page) {
        page.Commands.push_back(CreateCommand(page, static_cast<uint8_t>(Below(kCommandCodeCount))));
        TCommand& c = *page.Commands.back();
        c.Indent = Below(10) == 0 ? Below(100) - 50 : Below(4);
        c.Chained = static_cast<uint8_t>(Below(4) ? 1 : Below(256));
        c.Disabled = static_cast<uint8_t>(Below(4) ? 0 : Below(256));
        c.LineId = Below(3) ? 0 : Below(1000);
        for (const TFieldSlot& slot : ExpressionFields(c)) {
            if (slot.Parser) Fill(*slot.Parser);
            for (int n = slot.List ? Below(3) : 0; n > 0; --n) {
                slot.List->push_back(std::make_unique<TTovaParser>());
                Fill(*slot.List->back());
            }
        }
        if (TComComponent* component = ComponentOf(c))
            for (auto& slot : component->Properties)
                if (slot) Fill(*slot);
        const int32_t target = Below(3) ? Below(10) : static_cast<int32_t>(random_());
        switch (c.GetCode()) {
            case TCommandCode::Label:
            case TCommandCode::Comment:
                static_cast<TComLabel&>(c).Name = Name();
                break;
            case TCommandCode::Jump:
                static_cast<TComJump&>(c).PageName = Name();
                static_cast<TComJump&>(c).Target = target;
                break;
            case TCommandCode::Call:
                static_cast<TComCall&>(c).PageName = Name();
                static_cast<TComCall&>(c).ResultVar = Name();
                static_cast<TComCall&>(c).Target = target;
                break;
            case TCommandCode::VarNew:
                static_cast<TComVarNew&>(c).Name = Name();
                static_cast<TComVarNew&>(c).Type = static_cast<uint8_t>(Below(7));
                static_cast<TComVarNew&>(c).Scope = static_cast<uint8_t>(Below(6));
                break;
            case TCommandCode::VarDel:
                static_cast<TComVarDel&>(c).Name = Name();
                break;
            case TCommandCode::GetProp:
                static_cast<TComGetProp&>(c).VarName = Name();
                break;
            case TCommandCode::TextIns:
                static_cast<TComTextIns&>(c).TextData = Name();
                break;
            case TCommandCode::PCReset:
            case TCommandCode::Reset:
                static_cast<TComPCReset&>(c).PageName = Name();
                static_cast<TComPCReset&>(c).Target = target;
                static_cast<TComPCReset&>(c).Mode = static_cast<uint8_t>(Below(4));
                break;
            case TCommandCode::GameSave:
                static_cast<TComGameSave&>(c).Caption = Name();
                static_cast<TComGameSave&>(c).Value = target;
                break;
            default:
                if (int32_t* field = LoopTargetField(c)) *field = target;
                break;
        }
    }

    std::mt19937 random_;
};

TEST(ScriptRoundTrip, SeededRandomPages) {
    for (uint32_t seed = 1; seed <= 120; ++seed) {
        SCOPED_TRACE(seed);
        const std::unique_ptr<TPage> page = TRandomPage(seed).Make();
        ExpectRoundTrip(*page);
        if (HasFailure()) break;
    }
}

}  // namespace
}  // namespace tova::sdk
