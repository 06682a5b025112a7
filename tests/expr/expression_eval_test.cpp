// Evaluation: typing by operand 0, the arithmetic rules, temporaries and
// what a failing expression leaves behind.
#include <gtest/gtest.h>

#include <cstdio>
#include <limits>

#include "expr/build_tova_parser.h"
#include "expr/param_data.h"
#include "expr/param_var.h"
#include "expr/tova_parser.h"
#include "expr_test_util.h"
#include "support/bounded_child.h"

namespace tova {
namespace {

using test::ErrorOf;
using test::Sys;

// IntToStr, GetProp (reports the type of its target) and Calc (runs a nested expression).
class TFakeDispatcher : public TFunctionDispatcher {
public:
    void CallFunction(TParamCollectionItem& target, int functionId,
                      std::span<TCustomParam* const> operands) override {
        switch (functionId) {
            case 0: {
                char text[32];
                const int digits = operands.size() > 1 ? operands[1]->GetInt() : 0;
                std::snprintf(text, sizeof text, "%.*d", digits, operands[0]->GetInt());
                target.SetStr(text);
                break;
            }
            case 2:
                PropTargetType = target.GetParamType();
                break;
            case 136:
                if (RunStatement(operands[0]->GetStr(), *Evaluator)) target.SetStr("TRUE");
                break;
            default:
                break;
        }
    }
    TOpeEvaluator* Evaluator = nullptr;
    int PropTargetType = -1;
};

class ExpressionEval : public ::testing::Test {
protected:
    ExpressionEval() { dispatcher_.Evaluator = &evaluator_; }

    TParamCollectionItem* Var(const std::string& name, int type) {
        return vars_.Declare(name, type, VK_GLOBAL).Item;
    }
    // Compiles, stores, reads back and runs text; the value or null.
    const TCustomParam* Run(std::string_view text) {
        TBuildTovaParser compiler;
        compiler.Compile(text);
        TTpMemoryStream stream;
        compiler.SaveToStream(stream);
        stream.SetPosition(0);
        parser_.LoadFromStream(stream);
        parser_.Execute(evaluator_);
        return parser_.Result.get();
    }
    // The value as text followed by its type code, for compact expectations.
    std::string Value(std::string_view text) {
        const TCustomParam* result = Run(text);
        if (!result) return "none";
        return result->GetStr() + ":" + std::to_string(result->GetParamType());
    }
    int TemporaryCount() const {
        int count = 0;
        for (int i = 0; i < vars_.Count(); ++i)
            count += vars_.Item(i)->GetName().starts_with("____") ? 1 : 0;
        return count;
    }

    TParamCollection vars_;
    TFakeDispatcher dispatcher_;
    TOpeEvaluator evaluator_{vars_, &dispatcher_};
    TTovaParser parser_;
};

TEST_F(ExpressionEval, ArithmeticFollowsOperandZero) {
    EXPECT_EQ(Value("1 + 2 * 3"), "7:1");
    EXPECT_EQ(Value("(1 + 2) * 3"), "9:1");
    EXPECT_EQ(Value("10 - 3 - 2"), "5:1");
    EXPECT_EQ(Value("2 * -3"), "-6:1");
    EXPECT_EQ(Value("-2 + 5"), "3:1");
    EXPECT_EQ(Value("7 / 2"), "3:1");
    EXPECT_EQ(Value("-7 / 2"), "-3:1");
    EXPECT_EQ(Value("7.0 / 2"), "3.5:2");
    EXPECT_EQ(Value("2 / 7.0"), "0:1");
    EXPECT_EQ(Value("1 + 2.5"), "3:1");
    EXPECT_EQ(Value("2.5 + 1"), "3.5:2");
    EXPECT_EQ(Value("\"a\" + \"b\""), "0:4");
    EXPECT_EQ(Value("\"12\" + 3"), "15:4");
    EXPECT_EQ(Value("\"ab\" ++ \"cd\""), "abcd:4");
    EXPECT_EQ(Value("1 ++ 2.5"), "12.5:4");
}

TEST_F(ExpressionEval, IntegerEdges) {
    EXPECT_EQ(Value("-7 % 3"), "-1:1");
    EXPECT_EQ(Value("7 % -3"), "1:1");
    EXPECT_EQ(Value("-8 >> 1"), "2147483644:1");
    EXPECT_EQ(Value("1 << 33"), "2:1");
    EXPECT_EQ(Value("-1 << 31"), "-2147483648:1");
    EXPECT_EQ(Value("2147483647 + 1"), "-2147483648:1");
    EXPECT_EQ(Value("65536 * 65536"), "0:1");
    EXPECT_EQ(Value("$80000000 / -1"), "-2147483648:1");
    EXPECT_EQ(Value("$80000000 % -1"), "0:1");
    EXPECT_EQ(Value("6 & 3 | 8 ^ 1"), "11:1");
    Var("t", PT_BOOL)->SetBool(true);
    Var("f", PT_BOOL)->SetBool(false);
    EXPECT_EQ(Value("t & t"), "1:1");
    EXPECT_EQ(Value("t & f"), "0:1");
}

TEST_F(ExpressionEval, DivisionByZeroEndsTheExpression) {
    Var("x", PT_INT)->SetInt(4);
    for (const char* text : {"x = 5 / 0", "x = 5 % 0", "x = 5.0 / 0", "x = 0.0 / 0"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Run(text), nullptr);
        EXPECT_EQ(vars_.FindItem("x")->GetInt(), 4);
    }
    EXPECT_EQ(Value("1 / 0 + 1"), "none");
}

TEST_F(ExpressionEval, ComparisonsFollowOperandZero) {
    EXPECT_EQ(Value("\"abc\" < \"abd\""), "TRUE:3");
    EXPECT_EQ(Value("\"B\" < \"a\""), "TRUE:3");
    EXPECT_EQ(Value("\"ab\" < \"abc\""), "TRUE:3");
    EXPECT_EQ(Value("\"\x82\xA0\" > \"z\""), "TRUE:3");  // bytes compare unsigned
    EXPECT_EQ(Value("\"10\" < \"9\""), "TRUE:3");
    EXPECT_EQ(Value("10 < \"9\""), "FALSE:3");
    EXPECT_EQ(Value("1 == TRUE"), "TRUE:3");
    EXPECT_EQ(Value("TRUE == 1"), "TRUE:3");
    EXPECT_EQ(Value("\"TRUE\" == TRUE"), "TRUE:3");
    EXPECT_EQ(Value("2 == TRUE"), "FALSE:3");
    EXPECT_EQ(Value("TRUE > FALSE"), "TRUE:3");
    EXPECT_EQ(Value("1.5 >= 1.5"), "TRUE:3");
    EXPECT_EQ(Value("1 <= 1.9"), "TRUE:3");  // 1.9 read as the integer 1
    EXPECT_EQ(Value("\"a\" <> \"A\""), "TRUE:3");
}

TEST_F(ExpressionEval, AssignmentConvertsToTheTarget) {
    TParamCollectionItem* x = Var("x", PT_INT);
    TParamCollectionItem* s = Var("s", PT_STR);
    EXPECT_EQ(Run("X = 2.9"), nullptr);  // names ignore case; an assignment has no value
    EXPECT_EQ(x->GetInt(), 2);
    Run("s = 1 + 2");
    EXPECT_EQ(s->GetStr(), "3");
    Run("s = \"say \\\"hi\\\"\\n\"");
    EXPECT_EQ(s->GetStr(), "say \"hi\"\r\n");
    EXPECT_EQ(TemporaryCount(), 0);
}

TEST_F(ExpressionEval, ElementReferences) {
    TParamCollectionItem* a = Var("a", PT_INT);
    a->SetDims({3, 4});
    Run("a[1, 2] = 7");
    EXPECT_EQ(a->GetIntAt(6), 7);
    EXPECT_EQ(Value("a[1, 2] + a[0, 0 + 1]"), "7:1");
    EXPECT_EQ(Value("a[2, 4]"), "none");  // beyond the elements
    EXPECT_EQ(Value("a[1]"), "none");     // wrong index count
    // A reference to an element addresses the same element.
    TParamCollectionItem* r = Var("r", PT_NONE);
    static_cast<TParamVar&>(r->Value()).BindElement(a, 6);
    EXPECT_EQ(Value("r + 1"), "8:1");
    Run("r = 9");
    EXPECT_EQ(a->GetIntAt(6), 9);
    EXPECT_EQ(TemporaryCount(), 0);
}

TEST_F(ExpressionEval, FailureKeepsEarlierEffects) {
    TParamCollectionItem* x = Var("x", PT_INT);
    auto first = std::make_unique<TOpeData>(ocTo, "x");
    first->AddOperand(std::make_unique<TParamInt>());
    static_cast<TParamInt&>(first->Operand(0)).Items[0] = 5;
    auto second = std::make_unique<TOpeData>(ocPlus, "____0");
    second->AddReference("missing");
    second->AddReference("x");
    auto third = std::make_unique<TOpeData>(ocTo, "____arg");
    third->AddReference("x");
    TTovaParser parser;
    parser.AddRecord(std::move(first));
    parser.AddRecord(std::move(second));
    parser.AddRecord(std::move(third));
    parser.Execute(evaluator_);
    EXPECT_EQ(x->GetInt(), 5);
    EXPECT_EQ(parser.Result, nullptr);
    EXPECT_EQ(TemporaryCount(), 0);

    TTemporaryList created;
    EXPECT_EQ(ErrorOf([&] { evaluator_.Evaluate(*parser.Records()[1], created); }),
              Sys("\"missing\" 変数がありません"));
    EXPECT_TRUE(created.empty());
    EXPECT_EQ(ErrorOf([] {
                  TParamCollection vars;
                  TOpeEvaluator evaluator(vars);
                  TTemporaryList list;
                  evaluator.Evaluate(TOpeData(ocTo, "nowhere"), list);
              }),
              Sys("不正な式\r\n\r\n代入先:nowhere演算タイプ:ocTo"));
}

TEST_F(ExpressionEval, InvalidOperatorCodes) {
    Var("x", PT_INT)->SetInt(3);
    for (const uint8_t op : {uint8_t{ocNone}, uint8_t{21}, uint8_t{255}}) {
        TOpeData record(op, "____0");
        record.AddReference("x");
        TTemporaryList created;
        EXPECT_EQ(ErrorOf([&] { evaluator_.Evaluate(record, created); }),
                  Sys("不正な式\r\n\r\n代入先:____0演算タイプ:") + OpeCodeName(op) + "\r\n3");
        EXPECT_TRUE(created.empty());
    }
}

TEST_F(ExpressionEval, FunctionCalls) {
    Var("n", PT_INT)->SetInt(5);
    EXPECT_EQ(Value("IntToStr(n, 3)"), "005:4");
    EXPECT_EQ(Value("IntToStr(-n, 3)"), "-005:4");
    EXPECT_EQ(Value("Length(\"abc\")"), "0:1");  // not implemented by the fake: the default of its type
    Run("GetProp(\"o\", 95)");
    EXPECT_EQ(dispatcher_.PropTargetType, PT_FLOAT);
    Run("GetProp(\"o\", 47)");
    EXPECT_EQ(dispatcher_.PropTargetType, PT_BOOL);
    dispatcher_.PropTargetType = -1;
    EXPECT_EQ(Value("GetProp(\"o\", 163)"), "none");
    EXPECT_EQ(dispatcher_.PropTargetType, -1);
    evaluator_.SetDispatcher(nullptr);
    EXPECT_EQ(Value("IntToStr(n)"), ":4");
}

TEST_F(ExpressionEval, NestedEvaluationSeesOuterTemporaries) {
    TParamCollectionItem* y = Var("y", PT_STR);
    // The literal is held in ____0, which the inner statement reads.
    EXPECT_EQ(Value("Calc(\"y = ____0\")"), "TRUE:4");
    EXPECT_EQ(y->GetStr(), "y = ____0");
    EXPECT_EQ(TemporaryCount(), 0);
    // The inner statement's own ____0 is the outer one: it is written in
    // place and left for the outer evaluation to destroy.
    EXPECT_EQ(Value("Calc(\"y = ____0 ++ ____0\")"), "TRUE:4");
    EXPECT_EQ(y->GetStr(), "y = ____0 ++ ____0y = ____0 ++ ____0");
    EXPECT_EQ(TemporaryCount(), 0);
}

TEST_F(ExpressionEval, ResultOfBlankAndMissing) {
    EXPECT_EQ(Value("   "), "none");
    EXPECT_EQ(Value("missing + 1"), "none");
    Var("n", PT_INT)->SetInt(4);
    const TCustomParam* result = Run("n > 3");
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->StoredType(), PT_BOOL);
    EXPECT_TRUE(result->GetBool());
}

TEST_F(ExpressionEval, RunStatement) {
    TParamCollectionItem* x = Var("x", PT_INT);
    EXPECT_TRUE(RunStatement("  x = 5  ", evaluator_));
    EXPECT_EQ(x->GetInt(), 5);
    EXPECT_FALSE(RunStatement(" \t ", evaluator_));
    EXPECT_FALSE(RunStatement("x = (", evaluator_));
    EXPECT_FALSE(RunStatement("x = nosuch(1)", evaluator_));
    EXPECT_TRUE(RunStatement("undeclared = \"1\"", evaluator_));  // fails silently when run
    EXPECT_EQ(vars_.FindItem("undeclared"), nullptr);
    EXPECT_EQ(TemporaryCount(), 0);
}

// RGB of expressions builds the colour from its parts, each cut to a byte.
TEST_F(ExpressionEval, ColoursFromParts) {
    Var("r", PT_INT)->SetInt(255);
    Var("g", PT_INT)->SetInt(128);
    Var("b", PT_INT)->SetInt(256 + 1);
    EXPECT_EQ(Value("RGB(r, g, b)"), "98559:1");
    EXPECT_EQ(Value("RGB(r - 255, 0, g * 2 - 1)"), std::to_string(255 << 16) + ":1");
}

// A script that doubles a text without end stops at the text limit like any
// failing expression, holding the last text that fitted, instead of taking
// the machine's memory.
TEST_F(ExpressionEval, ATextStopsGrowingAtTheLimit) {
    const testing::TChildResult result = testing::RunBounded(
        [this] {
            TParamCollectionItem* s = Var("s", PT_STR);
            s->SetStr(std::string(1 << 20, 'x'));
            for (int i = 0; i < 8; ++i)
                Run("s = s ++ s");
            return s->GetStr().size() == size_t{64} << 20 &&
                   !ErrorOf([&] { s->SetStr(std::string((size_t{64} << 20) + 1, 'y')); }).empty();
        },
        {.MaxResidentBytes = int64_t{768} << 20});
    EXPECT_TRUE(result.Passed()) << result.Describe();
}

}  // namespace
}  // namespace tova
