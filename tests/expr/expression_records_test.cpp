// The stored form of compiled expressions: layout, round trips, copies and
// damaged data.
#include <gtest/gtest.h>

#include <vector>

#include "core/binary_io.h"
#include "expr/build_tova_parser.h"
#include "expr/param_data.h"
#include "expr/param_var.h"
#include "expr/tova_parser.h"
#include "expr_test_util.h"

namespace tova {
namespace {

using test::ErrorOf;

std::vector<uint8_t> CompiledBytes(std::string_view text) {
    TBuildTovaParser compiler;
    compiler.Compile(text);
    TTpMemoryStream stream;
    compiler.SaveToStream(stream);
    return stream.Bytes();
}

TTovaParser Loaded(const std::vector<uint8_t>& bytes) {
    TTpMemoryStream stream(bytes);
    TTovaParser parser;
    parser.LoadFromStream(stream);
    return parser;
}

std::vector<uint8_t> Saved(const TTovaParser& parser) {
    TTpMemoryStream stream;
    parser.SaveToStream(stream);
    return stream.Bytes();
}

TEST(ExpressionRecords, StoredLayout) {
    TTpMemoryStream expected;
    WriteI32(expected, 2);
    WriteU8(expected, ocFunc);
    WriteString(expected, "____0");
    WriteI32(expected, 2);  // the arguments only
    WriteU8(expected, 0);   // IntToStr
    WriteU8(expected, kOperandReference);
    WriteString(expected, "n");
    WriteU8(expected, kOperandInt);
    WriteI32(expected, -3);
    WriteU8(expected, ocTo);
    WriteString(expected, "____arg");
    WriteI32(expected, 1);
    WriteU8(expected, kOperandReference);
    WriteString(expected, "____0");
    EXPECT_EQ(CompiledBytes("IntToStr(n, $FFFFFFFD)"), expected.Bytes());
}

TEST(ExpressionRecords, OperandTexts) {
    // Integer (decimal or $hex), float, boolean, string literal, else a name.
    const TTovaParser parser =
        Loaded(CompiledBytes("PushVar(12, $1F, 1.5, 1e3, TRUE, FALSE, True, \"x\", @Pi, 99999999999)"));
    ASSERT_EQ(parser.Records().size(), 3u);  // the literal, the call, the result
    const TOpeData& call = *parser.Records()[1];
    ASSERT_EQ(call.OperandCount(), 10);
    const std::vector<int> types = {PT_INT,  PT_INT,  PT_FLOAT, PT_FLOAT, PT_BOOL,
                                    PT_BOOL, PT_NONE, PT_NONE,  PT_NONE,  PT_FLOAT};
    for (int i = 0; i < call.OperandCount(); ++i)
        EXPECT_EQ(call.Operand(i).StoredType(), types[static_cast<size_t>(i)]) << i;
    EXPECT_EQ(call.Operand(1).GetInt(), 31);
    EXPECT_EQ(call.Operand(3).GetFloat(), 1000.0L);
    EXPECT_TRUE(call.Operand(4).GetBool());
    EXPECT_FALSE(call.Operand(5).GetBool());
    EXPECT_EQ(static_cast<const TParamVar&>(call.Operand(6)).TargetName, "True");
    EXPECT_EQ(static_cast<const TParamVar&>(call.Operand(7)).TargetName, "____0");
    EXPECT_EQ(parser.Records()[0]->Operand(0).StoredType(), PT_STR);
    EXPECT_EQ(parser.Records()[0]->Operand(0).GetStr(), "x");
}

TEST(ExpressionRecords, RoundTripAndAssign) {
    const std::vector<uint8_t> bytes =
        CompiledBytes("s = IntToStr(a[i + 1, 2] * -2.5, 3) ++ \"\\\"q\\\"\" ++ (b == TRUE)");
    const TTovaParser parser = Loaded(bytes);
    EXPECT_EQ(Saved(parser), bytes);

    TTovaParser copy;
    copy.Assign(parser);
    EXPECT_EQ(Saved(copy), bytes);
    ASSERT_EQ(copy.Records().size(), parser.Records().size());
    for (size_t i = 0; i < copy.Records().size(); ++i) {
        const TOpeData& original = *parser.Records()[i];
        const TOpeData& copied = *copy.Records()[i];
        ASSERT_EQ(copied.OperandCount(), original.OperandCount());
        for (int k = 0; k < copied.OperandCount(); ++k) {
            EXPECT_NE(&copied.Operand(k), &original.Operand(k));
            EXPECT_EQ(copied.References().size(), original.References().size());
        }
    }
    // Assigning over existing records replaces them.
    copy.Assign(Loaded(CompiledBytes("1")));
    EXPECT_EQ(copy.Records().size(), 1u);
}

TEST(ExpressionRecords, UnknownTagReadsAsReference) {
    TTpMemoryStream stream;
    WriteI32(stream, 1);
    WriteU8(stream, ocTo);
    WriteString(stream, "x");
    WriteI32(stream, 1);
    WriteU8(stream, 9);
    WriteString(stream, "y");
    stream.SetPosition(0);
    TTovaParser parser;
    parser.LoadFromStream(stream);
    ASSERT_EQ(parser.Records()[0]->References().size(), 1u);
    EXPECT_EQ(parser.Records()[0]->References()[0]->TargetName, "y");
    // A reference is always written back with tag 0.
    EXPECT_EQ(Saved(parser)[4 + 1 + 4 + 1 + 4], kOperandReference);
}

TEST(ExpressionRecords, EveryTruncationIsRefused) {
    const std::vector<uint8_t> bytes = CompiledBytes("x = GetProp(\"o\", 3) + 1.25 + a[1] + (TRUE == b)");
    for (size_t size = 0; size < bytes.size(); ++size) {
        TTpMemoryStream stream(
            std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size)));
        TTovaParser parser;
        EXPECT_THROW(parser.LoadFromStream(stream), ETovaError) << size;
    }
}

TEST(ExpressionRecords, ImpossibleCountsAreRefused) {
    const auto load = [](int32_t records, int32_t operands) {
        TTpMemoryStream stream;
        WriteI32(stream, records);
        WriteU8(stream, ocPlus);
        WriteString(stream, "x");
        WriteI32(stream, operands);
        stream.SetPosition(0);
        TTovaParser parser;
        parser.LoadFromStream(stream);
    };
    EXPECT_EQ(ErrorOf([&] { load(0x7FFFFFFF, 0); }),
              "damaged expression: record count 2147483647 exceeds the data");
    EXPECT_EQ(ErrorOf([&] { load(-1, 0); }), "damaged expression: record count -1 exceeds the data");
    EXPECT_EQ(ErrorOf([&] { load(1, 0x40000000); }),
              "damaged expression: operand count 1073741824 exceeds the data");
    EXPECT_EQ(ErrorOf([&] { load(1, -2); }), "damaged expression: operand count -2 exceeds the data");
    EXPECT_NO_THROW(load(1, 0));
}

TEST(ExpressionRecords, LoadingReplacesTheRecords) {
    TTovaParser parser = Loaded(CompiledBytes("a + b"));
    TTpMemoryStream stream(CompiledBytes("c"));
    parser.LoadFromStream(stream);
    ASSERT_EQ(parser.Records().size(), 1u);
    EXPECT_EQ(parser.Records()[0]->References()[0]->TargetName, "c");
}

}  // namespace
}  // namespace tova
