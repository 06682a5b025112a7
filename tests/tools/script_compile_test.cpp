// What the compiler makes of a source: block structure, loop records and
// targets, labels, masks, expressions, attributes and its error messages.
#include <gtest/gtest.h>

#include "core/error.h"
#include "core/sjis.h"
#include "engine/command_component.h"
#include "engine/command_flow.h"
#include "engine/command_media.h"
#include "engine/page.h"
#include "expr/property_names.h"
#include "sdk/script_compiler.h"

namespace tova::sdk {
namespace {

std::unique_ptr<TPage> Compile(std::string_view source) {
    auto page = std::make_unique<TPage>();
    CompileScript(source, "test.tss", *page);
    return page;
}

std::vector<TCommandCode> Codes(const TPage& page) {
    std::vector<TCommandCode> codes;
    for (const auto& command : page.Commands)
        codes.push_back(command->GetCode());
    return codes;
}

std::vector<int32_t> Indents(const TPage& page) {
    std::vector<int32_t> indents;
    for (const auto& command : page.Commands)
        indents.push_back(command->Indent);
    return indents;
}

template <class T>
const T& At(const TPage& page, size_t index) {
    return static_cast<const T&>(*page.Commands.at(index));
}

bool Holds(const TTovaParser& parser, std::string_view text) {
    TTovaParser expected;
    CompileExpression(text, expected);
    TTpMemoryStream a, b;
    parser.SaveToStream(a);
    expected.SaveToStream(b);
    return a.Bytes() == b.Bytes();
}

std::string ErrorOf(std::string_view source) {
    try {
        Compile(source);
    } catch (const ETovaError& error) {
        return error.what();
    }
    return "no error";
}

using C = TCommandCode;

TEST(ScriptCompile, AWhileGetsItsLoopRecordsAndEveryLoopTarget) {
    const auto page = Compile(
        "VarNew count int 0\n"
        "While count < 10\n"
        "    Calc count = count + 1\n"
        "    If count == 5\n"
        "        Continue\n"
        "    Elseif count == 8\n"
        "        Break\n"
        "Label after\n"
        "Break\n");
    EXPECT_EQ(Codes(*page), (std::vector<C>{C::VarNew, C::WhileInit, C::While, C::Calc, C::If, C::Continue,
                                            C::Elseif, C::Break, C::WhileLoop, C::Label, C::Break}));
    EXPECT_EQ(Indents(*page), (std::vector<int32_t>{0, 0, 0, 1, 1, 2, 1, 2, 0, 0, 0}));
    EXPECT_EQ(At<TComWhile>(*page, 2).ExitTarget, 9);      // the command after the WhileLoop
    EXPECT_EQ(At<TComWhileLoop>(*page, 8).LoopTarget, 2);  // back to the test
    EXPECT_EQ(At<TComContinue>(*page, 5).Target, 8);       // the step runs before the next round
    EXPECT_EQ(At<TComBreak>(*page, 7).Target, 9);
    EXPECT_EQ(At<TComBreak>(*page, 10).Target, -1);  // outside any loop: the page ends
    EXPECT_TRUE(Holds(At<TComWhile>(*page, 2).Condition, "count < 10"));
    EXPECT_TRUE(Holds(At<TComBreak>(*page, 7).Condition, "TRUE"));
    EXPECT_TRUE(At<TComWhileInit>(*page, 1).Expression.Records().empty());
    EXPECT_TRUE(page->Commands[1]->IsChained());
}

TEST(ScriptCompile, WrittenLoopRecordsReplaceTheAddedOnesAndNestedLoopsCloseInnermostFirst) {
    const auto page = Compile(
        "WhileInit i = 0\n"
        "While i < 3\n"
        "    While j < 2\n"
        "        Break\n"
        "WhileLoop i = i + 1\n"
        "While k\n"
        "    While m\n"
        "        Continue\n");
    EXPECT_EQ(Codes(*page), (std::vector<C>{C::WhileInit, C::While, C::WhileInit, C::While, C::Break,
                                            C::WhileLoop, C::WhileLoop, C::WhileInit, C::While, C::WhileInit,
                                            C::While, C::Continue, C::WhileLoop, C::WhileLoop}));
    EXPECT_TRUE(Holds(At<TComWhileInit>(*page, 0).Expression, "i = 0"));
    EXPECT_TRUE(Holds(At<TComWhileLoop>(*page, 6).Expression, "i = i + 1"));
    EXPECT_EQ(At<TComWhileLoop>(*page, 5).Indent, 1);  // the inner loop's record
    EXPECT_EQ(At<TComBreak>(*page, 4).Target, 6);      // leaves the inner loop only
    EXPECT_EQ(At<TComWhile>(*page, 1).ExitTarget, 7);
    EXPECT_EQ(At<TComContinue>(*page, 11).Target, 12);
    EXPECT_EQ(At<TComWhile>(*page, 8).ExitTarget, 14);  // the end of the page
    EXPECT_EQ(At<TComWhileLoop>(*page, 13).LoopTarget, 8);
}

TEST(ScriptCompile, ExplicitTargetsAndRefusedLoopRecords) {
    const auto page = Compile(
        "[noinit noloop target=40] While x\n"
        "    [target=-3] Continue if y\n"
        "[target=1] WhileLoop\n");
    EXPECT_EQ(Codes(*page), (std::vector<C>{C::While, C::Continue, C::WhileLoop}));
    EXPECT_EQ(At<TComWhile>(*page, 0).ExitTarget, 40);
    EXPECT_EQ(At<TComContinue>(*page, 1).Target, -3);
    EXPECT_EQ(At<TComWhileLoop>(*page, 2).LoopTarget, 1);
}

TEST(ScriptCompile, JumpAndCallTargetLabelsOfThisPageOrIndexes) {
    const auto page = Compile(
        "Jump main.tsb later if n > 1\n"
        "Call \"sub.tsb\" 7 (n, \"x,y\", IntToStr(a[1, 2]), {}) -> r[2] if ready\n"
        "Call sub.tsb\n"
        "Label later\n"
        "PCReset \"title.tsb\" later full\n"
        "Reset title.tsb mode=9\n"
        "GameSave title.tsb later\n"
        "    Slot = 3\n");
    const auto& jump = At<TComJump>(*page, 0);
    EXPECT_EQ(jump.PageName, "main.tsb");
    EXPECT_EQ(jump.Target, 3);
    EXPECT_TRUE(Holds(jump.Condition, "n > 1"));
    const auto& call = At<TComCall>(*page, 1);
    EXPECT_EQ(call.Target, 7);
    EXPECT_EQ(call.ResultVar, "r[2]");
    ASSERT_EQ(call.Arguments.size(), 4u);
    EXPECT_TRUE(Holds(*call.Arguments[1], "\"x,y\""));
    EXPECT_TRUE(Holds(*call.Arguments[2], "IntToStr(a[1, 2])"));
    EXPECT_TRUE(call.Arguments[3]->Records().empty());
    EXPECT_TRUE(Holds(At<TComCall>(*page, 2).Condition, "TRUE"));
    EXPECT_TRUE(At<TComCall>(*page, 2).Arguments.empty());
    EXPECT_EQ(At<TComPCReset>(*page, 4).Target, 3);
    EXPECT_EQ(At<TComPCReset>(*page, 4).Mode, 1);
    EXPECT_EQ(At<TComPCReset>(*page, 5).Mode, 9);
    EXPECT_EQ(At<TComGameSave>(*page, 6).Value, 3);
    EXPECT_TRUE(Holds(At<TComGameSave>(*page, 6).Slot, "3"));
}

TEST(ScriptCompile, MasksAreTheUnionOfWhatEachCommandCodeWrites) {
    const auto page = Compile(
        "ImgNew\n"
        "    PR_NAME = \"bg\"\n"
        "    PR_LEFT = 10\n"
        "ImgNew\n"
        "    PR_TOP = 4\n"
        "SaveCabinet\n"
        "    PR_NAME = \"c\"\n"
        "    Mode = 1\n"
        "    Names = \"a\"\n"
        "    Names = \"b\"\n");
    const TPropertyMask& images = page->MaskFor(C::ImgNew);
    EXPECT_TRUE(MaskHas(images, 0) && MaskHas(images, 3) && MaskHas(images, 4));
    EXPECT_FALSE(MaskHas(images, 5));
    const auto& second = At<TComImgNew>(*page, 1);
    ASSERT_NE(second.Property(0), nullptr);
    EXPECT_TRUE(second.Property(0)->Records().empty());  // carried, but empty
    EXPECT_TRUE(Holds(*second.Property(4), "4"));
    EXPECT_EQ(At<TComCabinetSave>(*page, 2).Names.size(), 2u);
    EXPECT_EQ(page->MaskFor(C::Calc), TPropertyMask{});

    const auto masked = Compile("#mask ImgNew PR_NAME PR_LEFT 166\nImgNew\n    PR_LEFT = 1\n");
    EXPECT_TRUE(MaskHas(masked->MaskFor(C::ImgNew), 166));
    EXPECT_TRUE(At<TComImgNew>(*masked, 0).Property(0)->Records().empty());
    EXPECT_NE(ErrorOf("#mask ImgNew PR_NAME\nImgNew\n    PR_LEFT = 1\n").find("test.tss:3:"),
              std::string::npos);
}

TEST(ScriptCompile, HeaderAttributesAndVersionDependentFields) {
    const auto page = Compile(
        "#page version=106 result=str\n"
        "[chained=0 disabled line=42] Wait 100 while busy\n"
        "    [indent=-2, chained=7] Label \"odd name\"\n"
        "VarNew v float 1.5 scope=local\n"
        "Comment note # kept as written\n");
    EXPECT_EQ(page->Version, 106);
    EXPECT_EQ(page->ResultType, 4);
    const auto& wait = At<TComWait>(*page, 0);
    EXPECT_EQ(wait.Chained, 0);
    EXPECT_EQ(wait.Disabled, 1);
    EXPECT_EQ(wait.LineId, 42);
    EXPECT_TRUE(Holds(wait.Time, "100"));
    EXPECT_TRUE(Holds(wait.Condition, "busy"));
    EXPECT_EQ(At<TComLabel>(*page, 1).Indent, -2);
    EXPECT_EQ(At<TComLabel>(*page, 1).Chained, 7);
    EXPECT_EQ(At<TComLabel>(*page, 1).Name, "odd name");
    const auto& var = At<TComVarNew>(*page, 2);
    EXPECT_EQ(var.Type, 2);
    EXPECT_EQ(var.Scope, 2);
    EXPECT_TRUE(Holds(var.InitialValue, "1.5"));
    EXPECT_EQ(At<TComComment>(*page, 3).Name, "note # kept as written");
    EXPECT_NE(ErrorOf("#page version=106\nWait\n    BlockEvents = TRUE\n").find("test.tss:3:"),
              std::string::npos);
}

TEST(ScriptCompile, LineIdIsTheSourceLineUnlessGiven) {
    const auto page = Compile("# a comment\n\nCalc x = 1\nWhile x < 3\n    [line=7] Calc x = x + 1\n");
    // Calc, the added WhileInit, While, Calc, the added WhileLoop.
    ASSERT_EQ(page->Count(), 5);
    EXPECT_EQ(page->Commands[0]->LineId, 3);
    EXPECT_EQ(page->Commands[1]->LineId, 0);
    EXPECT_EQ(page->Commands[2]->LineId, 4);
    EXPECT_EQ(page->Commands[3]->LineId, 7);
    EXPECT_EQ(page->Commands[4]->LineId, 0);
    // The decompiled form puts each command on its own line again, so only
    // the LineId that differs from its new line is written.
    const std::string text = DecompileScript(*page);
    EXPECT_NE(text.find("[line=3] Calc x = 1\n[line=4] While x < 3\n    [line=7] Calc"), std::string::npos)
        << text;
}

TEST(ScriptCompile, TextIsConvertedToCodePage932AndEscapesGiveRawBytes) {
    const auto page = Compile(
        "TextIns \"\xe3\x81\x82\\r\\n\\x82\\\"\\\\\"\n"
        "    Target = \"\xe7\xaa\x93\"\n"
        "Label \xe9\x96\x8b\xe5\xa7\x8b\n");
    EXPECT_EQ(At<TComTextIns>(*page, 0).TextData, "\x82\xa0\r\n\x82\"\\");
    EXPECT_TRUE(Holds(At<TComTextIns>(*page, 0).Target, "\"\x91\x8b\""));
    EXPECT_EQ(At<TComLabel>(*page, 1).Name, "\x8aJ\x8en");
}

TEST(ScriptCompile, ErrorsNameTheSourceAndLine) {
    const struct {
        const char* source;
        const char* where;
    } cases[] = {
        {"Calc x = 1\nFrobnicate\n", "test.tss:2: unknown command"},
        {"If a\n  Calc b = 1\n", "test.tss:2: indentation"},
        {"Calc s = \"\xf0\x9f\x98\x80\"\n", "test.tss:1:"},
        {"Label \"open\n", "test.tss:1: the string is not closed"},
        {"Wait 1\n    Time = 2\n", "test.tss:2: the field is given twice"},
        {"Calc x = 1\n    Colour = 2\n", "test.tss:2: this command has no such field"},
        {"\n\nCalc x = (1\n", "test.tss:3:"},
        {"[target=3] Calc x = 1\n", "test.tss:1: only While"},
        {"Calc x = 1\n#page version=110\n", "test.tss:2:"},
        {"Jump a.tsb nowhere\n", "test.tss:1: no such label"},
        {"If\n", "test.tss:1: an expression expected"},
        {"Calc x = IntToStr(1, 2, 3, 4, 5)\n", "test.tss:1:"},
        {"#page version=120\nCalc x = 1\n", "test.tss:2:"},
        {"Calc {ocTo x bogus:1}\n", "test.tss:1:"},
    };
    for (const auto& c : cases)
        EXPECT_NE(ErrorOf(c.source).find(c.where), std::string::npos)
            << c.source << " -> " << ErrorOf(c.source);
}

TEST(ScriptCompile, AHandWrittenSourceDecompilesToWhatWasWritten) {
    const std::string source =
        "#page version=114 result=int\n"
        "VarNew count int 0\n"
        "While count < 10\n"
        "    Calc count = count + 1\n"
        "    Break if count == 8\n"
        "Calc x = a + b * 2\n"
        "Calc y = (a + b) * -c\n"
        "If s ++ \"\\\"q\\\"\" == t\n"
        "    Call sub.tsb (count, \"x\") -> result[2]\n"
        "Else\n"
        "    Exit\n"
        "Wait 300 while Not(skip)\n"
        "Button\n"
        "    PR_NAME = \"ok\"\n"
        "    PR_LEFT = 100\n"
        "SetProp\n"
        "    Object = \"ok\"\n"
        "    PropertyId = PR_TOP\n"
        "    Value = 5\n";
    const auto page = Compile(source);
    EXPECT_EQ(DecompileScript(*page), source);
}

TEST(ScriptCompile, PropertyNamesByIdAndBack) {
    EXPECT_EQ(PropertyName(0), "PR_NAME");
    EXPECT_EQ(PropertyName(36), "PR_ONLBTNDOWN");
    EXPECT_EQ(PropertyName(162), "PR_REPEATPOS");
    EXPECT_EQ(PropertyName(163), "");
    EXPECT_EQ(PropertyName(-1), "");
    for (int id = 0; id < 163; ++id)
        EXPECT_EQ(PropertyIdOfName(PropertyName(id)), id);
    EXPECT_EQ(PropertyIdOfName("pr_name"), std::nullopt);
}

}  // namespace
}  // namespace tova::sdk
