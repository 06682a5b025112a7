// The compiler: the records that texts compile to, and the texts it refuses.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/stream.h"
#include "expr/build_tova_parser.h"
#include "expr/ope_data.h"
#include "expr/param_types.h"
#include "expr/property_types.h"
#include "expr/sys_function_table.h"
#include "expr_test_util.h"

namespace tova {
namespace {

using test::ErrorOf;
using test::Sys;

// Each record as "op target operand ..." with the operand texts as compiled.
std::vector<std::string> Compiled(std::string_view text) {
    TBuildTovaParser compiler;
    compiler.Compile(text);
    std::vector<std::string> lines;
    for (const TBuildOpeData& record : compiler.Records()) {
        std::string line = OpeCodeName(record.Op) + " " + record.Target;
        for (const std::string& operand : record.Operands)
            line += " " + operand;
        lines.push_back(line);
    }
    return lines;
}

using TLines = std::vector<std::string>;

TEST(ExpressionCompile, DocumentedExamples) {
    EXPECT_EQ(Compiled("x = a + b * 2"), (TLines{"ocMul ____0 b 2", "ocPlus ____1 a ____0", "ocTo x ____1"}));
    EXPECT_EQ(Compiled("n > 3"), (TLines{"ocBig ____0 n 3", "ocTo ____arg ____0"}));
    // The call's target is numbered before its arguments.
    EXPECT_EQ(Compiled("IntToStr(a[1])"), (TLines{"ocDimTo ____d_2 a 1", "ocTo ____1 ____d_2",
                                                  "ocFunc ____0 IntToStr ____1", "ocTo ____arg ____0"}));
}

// Stored bytes of a compiled text.
std::vector<uint8_t> StoredBytes(std::string_view text,
                                 std::function<bool(std::string_view)> isVariable = {}) {
    TBuildTovaParser compiler;
    compiler.IsVariable = std::move(isVariable);
    compiler.Compile(text);
    TTpMemoryStream stream;
    compiler.SaveToStream(stream);
    return stream.Bytes();
}

// Named constants and RGB compile to exactly what their numbers give, so a
// page holds what the original's pages hold; a variable of the same name wins.
TEST(ExpressionCompile, ConstantsAndColoursAreTheirNumbers) {
    EXPECT_EQ(StoredBytes("GetProp(\"b\", PR_LEFT) + LT_BOX"), StoredBytes("GetProp(\"b\", 3) + 2"));
    EXPECT_EQ(StoredBytes("@KeyPush[VK_LEFT] | @KeyPush[VK_A]"), StoredBytes("@KeyPush[37] | @KeyPush[65]"));
    EXPECT_EQ(StoredBytes("x = WP_BLOCKRANDOM - HA_RIGHT - OT_VERTICAL - PM_TWISTER - VK_F12"),
              StoredBytes("x = 38 - 2 - 1 - 4 - 123"));
    EXPECT_EQ(StoredBytes("c = RGB(255, 128, 0)"), StoredBytes("c = 33023"));
    EXPECT_EQ(StoredBytes("c = RGB( 1 , 2 , 300 )"), StoredBytes("c = 2884097"));
    // Not constants: other spellings, unknown names, a variable's target.
    EXPECT_EQ(Compiled("pr_left + PR_NOSUCH"),
              (TLines{"ocPlus ____0 pr_left PR_NOSUCH", "ocTo ____arg ____0"}));
    EXPECT_EQ(Compiled("PR_LEFT = 3"), (TLines{"ocTo PR_LEFT 3"}));
    // A declared variable of a constant's name stays the variable.
    const auto declared = [](std::string_view name) { return name == "PR_LEFT"; };
    EXPECT_EQ(StoredBytes("y = PR_LEFT + PR_TOP", declared), StoredBytes("y = PR_LEFT + 4", declared));
    EXPECT_FALSE(ErrorOf([] { Compiled("RGB(1, 2)"); }).empty());
}

TEST(ExpressionCompile, PrecedenceAndAssociativity) {
    EXPECT_EQ(Compiled("10 - 3 - 2"),
              (TLines{"ocMinus ____0 10 3", "ocMinus ____1 ____0 2", "ocTo ____arg ____1"}));
    EXPECT_EQ(Compiled("a | b ^ c & d ++ e == f << g + h * i"),
              (TLines{"ocMul ____0 h i", "ocPlus ____1 g ____0", "ocShiftL ____2 f ____1",
                      "ocEqual ____3 e ____2", "ocComboStr ____4 d ____3", "ocAnd ____5 c ____4",
                      "ocXor ____6 b ____5", "ocOr ____7 a ____6", "ocTo ____arg ____7"}));
    // Two-character operators; "<>" is not-equal, "<=" and ">=" are not split.
    EXPECT_EQ(Compiled("a <> b"), (TLines{"ocNEqual ____0 a b", "ocTo ____arg ____0"}));
    EXPECT_EQ(Compiled("a >= b"), (TLines{"ocEBig ____0 a b", "ocTo ____arg ____0"}));
    EXPECT_EQ(Compiled("a>>b"), (TLines{"ocShiftR ____0 a b", "ocTo ____arg ____0"}));
}

TEST(ExpressionCompile, GroupsAndSigns) {
    // The group's copy into its temporary is removed.
    EXPECT_EQ(Compiled("x = (1 + 2) * 3"),
              (TLines{"ocPlus ____1 1 2", "ocMul ____2 ____1 3", "ocTo x ____2"}));
    EXPECT_EQ(Compiled("2 * -3"), (TLines{"ocMinus ____0 0 3", "ocMul ____1 2 ____0", "ocTo ____arg ____1"}));
    EXPECT_EQ(Compiled("-2 + 5"),
              (TLines{"ocMinus ____0 0 2", "ocPlus ____1 ____0 5", "ocTo ____arg ____1"}));
    EXPECT_EQ(Compiled("x = - - 3"), (TLines{"ocMinus ____0 0 3", "ocMinus ____1 0 ____0", "ocTo x ____1"}));
    EXPECT_EQ(Compiled("x = a * + b"), (TLines{"ocMul ____0 a b", "ocTo x ____0"}));
    // A group holding only a variable keeps its copy: the operand is no temporary.
    EXPECT_EQ(Compiled("x = (a)"), (TLines{"ocTo ____0 a", "ocTo x ____0"}));
}

TEST(ExpressionCompile, StringLiterals) {
    EXPECT_EQ(Compiled("s = \"a + b, (c)\" ++ \"\""),
              (TLines{"ocTo ____0 \"a + b, (c)\"", "ocTo ____1 \"\"", "ocComboStr ____2 ____0 ____1",
                      "ocTo s ____2"}));
    EXPECT_EQ(Compiled(R"(s = "say \"hi\"")"), (TLines{"ocTo ____0 \"say \"hi\"\"", "ocTo s ____0"}));
    EXPECT_EQ(Compiled(R"(s = "a\nb\\c\x")"), (TLines{"ocTo ____0 \"a\r\nb\\c\\x\"", "ocTo s ____0"}));
    // An escaped backslash does not escape the quote after it.
    EXPECT_EQ(Compiled(R"(s = "C:\\" ++ "x")"), (TLines{"ocTo ____0 \"C:\\\"", "ocTo ____1 \"x\"",
                                                        "ocComboStr ____2 ____0 ____1", "ocTo s ____2"}));
    // 0x95 0x5C is one double-byte character whose trail byte is a backslash.
    EXPECT_EQ(Compiled("s = \"\x95\x5C\""), (TLines{"ocTo ____0 \"\x95\x5C\"", "ocTo s ____0"}));
}

TEST(ExpressionCompile, DoubleByteNames) {
    // 0x83 0x5B has the trail byte '[': it is no element reference.
    EXPECT_EQ(Compiled("x\x83\x5B = 1"), (TLines{"ocTo x\x83\x5B 1"}));
    EXPECT_EQ(Compiled("\x95\xCF\x90\x94[2] = 1"),
              (TLines{"ocDimTo ____d_0 \x95\xCF\x90\x94 2", "ocTo ____d_0 1"}));
}

TEST(ExpressionCompile, CallArguments) {
    EXPECT_EQ(Compiled("PushVar(a, , b)"), (TLines{"ocFunc ____0 PushVar a  b", "ocTo ____arg ____0"}));
    EXPECT_EQ(Compiled("PopVar()"), (TLines{"ocFunc ____0 PopVar", "ocTo ____arg ____0"}));
    // Enclosing parentheses are stripped; commas inside brackets do not split.
    EXPECT_EQ(Compiled("IntToStr((n), m[1, 2])"),
              (TLines{"ocDimTo ____d_2 m 1 2", "ocTo ____1 ____d_2", "ocFunc ____0 IntToStr n ____1",
                      "ocTo ____arg ____0"}));
    // Nested calls: innermost first.
    EXPECT_EQ(Compiled("x = Length(IntToStr(n + 1))"),
              (TLines{"ocPlus ____2 n 1", "ocFunc ____0 IntToStr ____2", "ocFunc ____3 Length ____0",
                      "ocTo x ____3"}));
}

TEST(ExpressionCompile, BlankTextIsOneCopyOfItself) {
    EXPECT_EQ(Compiled("   "), (TLines{"ocTo ____arg    "}));
}

TEST(ExpressionCompile, MalformedTextsAreSyntaxErrors) {
    const std::string syntax = Sys("構文エラー");
    for (const char* text :
         {"(", ")", "x = (1", "f(1))", "a[1", "a]1", "= 3", "x = y = 3", "x = 1 +", "* 2", "1 + * 2",
          "x = a + -", "\"open", "x = a[1](2)", "1, 2", "[1]", "x = (1 + [2)]", "x = ()", "x == "}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ErrorOf([&] { Compiled(text); }), syntax);
    }
    EXPECT_EQ(ErrorOf([] { Compiled("a[]"); }), Sys("配列の添え字が不正です"));
    EXPECT_EQ(ErrorOf([] { Compiled("a[1,]"); }), Sys("配列の添え字が不正です"));
}

TEST(ExpressionCompile, DeepNestingIsRefused) {
    const auto nested = [](int depth) {
        return "x = " + std::string(depth, '(') + "1" + std::string(depth, ')');
    };
    // The innermost group is compiled first; the copies between the groups go.
    EXPECT_EQ(Compiled(nested(200)), (TLines{"ocTo ____0 1", "ocTo x ____0"}));
    EXPECT_EQ(ErrorOf([&] { Compiled(nested(300)); }), Sys("構文エラー"));
    const std::string calls = std::string(300, '(');
    EXPECT_EQ(ErrorOf([&] { Compiled("Not" + calls); }), Sys("構文エラー"));
}

TEST(ExpressionCompile, FunctionNamesAreCheckedWhenWritten) {
    TTpMemoryStream stream;
    TBuildTovaParser lower;
    lower.Compile("x = inttostr(5)");  // compiles: the name is looked up when the records are written
    EXPECT_EQ(ErrorOf([&] { lower.SaveToStream(stream); }), Sys("\"inttostr\" 関数名がありません"));
    EXPECT_EQ(stream.GetSize(), 0);  // nothing half-written

    TBuildTovaParser tooMany;
    tooMany.Compile("IntToStr(1, 2, 3)");
    EXPECT_EQ(ErrorOf([&] { tooMany.SaveToStream(stream); }), "IntToStr" + Sys(" 引数の数が不正です"));
    TBuildTovaParser tooFew;
    tooFew.Compile("Copy(s)");
    EXPECT_EQ(ErrorOf([&] { tooFew.SaveToStream(stream); }), "Copy" + Sys(" 引数の数が不正です"));
    TBuildTovaParser unbounded;
    unbounded.Compile("PushVar(a, b, c, d, e, f, g, h, i, j)");
    EXPECT_NO_THROW(unbounded.SaveToStream(stream));
}

TEST(ExpressionCompile, FunctionAndPropertyTables) {
    const auto check = [](std::string_view name, int id, int min, int max, int type) {
        const TSysFunctionInfo* info = FindSysFunction(name);
        ASSERT_NE(info, nullptr) << name;
        EXPECT_EQ(info, &SysFunctionInfo(id)) << name;
        EXPECT_EQ(info->MinArgs, min) << name;
        EXPECT_EQ(info->MaxArgs, max) << name;
        EXPECT_EQ(info->ResultType, type) << name;
    };
    check("IntToStr", 0, 1, 2, PT_STR);
    check("SetArray", 21, 2, -1, PT_INT);
    check("Float", 38, 1, 1, PT_FLOAT);
    check("DBCreateTable", 87, 2, 2, PT_BOOL);
    check("DBDirectGetStr", 114, 7, 7, PT_STR);
    check("DBClearRecord", 124, 0, 1, PT_BOOL);
    check("SetWallPaper", 125, 2, 2, PT_BOOL);
    check("ListSaveCaption", 134, 0, 2, PT_INT);
    check("PopVar", 156, 0, 0, PT_BOOL);
    EXPECT_EQ(FindSysFunction("Inttostr"), nullptr);
    EXPECT_EQ(PropertyValueType(0), PT_STR);      // PR_NAME
    EXPECT_EQ(PropertyValueType(32), PT_STR);     // an event
    EXPECT_EQ(PropertyValueType(47), PT_BOOL);    // PR_VISIBLE
    EXPECT_EQ(PropertyValueType(102), PT_FLOAT);  // PR_PARAM3
    EXPECT_EQ(PropertyValueType(162), PT_INT);    // PR_REPEATPOS
}

}  // namespace
}  // namespace tova
