// The JSON reader: documents as the dumps and description files have them,
// what the writer's escapes read back as, and every kind of damaged text.
#include "core/json_value.h"

#include <gtest/gtest.h>

#include <utility>

#include "core/error.h"
#include "core/json_text.h"

namespace tova {
namespace {

std::string ErrorOf(std::string_view text) {
    try {
        ParseJson(text, "d.json");
    } catch (const ETovaError& e) {
        return e.what();
    }
    return "no error";
}

TEST(JsonValue, ReadsNestedDocumentsInOrder) {
    const TJsonValue doc = ParseJson(
        " {\"b\": [1, -2.5e1, true, false, null, {}], \"a\": {\"x\": \"y\"}, \"b\": 0.25, \"s\": \"\"} \r\n");
    ASSERT_EQ(doc.Kind, TJsonValue::TKind::Object);
    ASSERT_EQ(doc.Members.size(), 4u);
    EXPECT_EQ(doc.Members[0].Key, "b");  // document order, duplicates kept
    const TJsonValue& list = doc.Members[0].Value;
    ASSERT_EQ(list.Items.size(), 6u);
    EXPECT_EQ(list.Items[1].Number, -25);
    EXPECT_EQ(list.Items[1].String, "-2.5e1");  // the number as written
    EXPECT_TRUE(list.Items[2].Bool);
    EXPECT_EQ(list.Items[3].Kind, TJsonValue::TKind::Bool);
    EXPECT_EQ(list.Items[4].Kind, TJsonValue::TKind::Null);
    EXPECT_EQ(list.Items[5].Kind, TJsonValue::TKind::Object);
    EXPECT_EQ(doc.Member("b")->Number, 0.25);  // the later member wins
    EXPECT_EQ(doc.Member("a")->Member("x")->String, "y");
    EXPECT_EQ(doc.Member("s")->Kind, TJsonValue::TKind::String);
    EXPECT_EQ(doc.Member("none"), nullptr);
    EXPECT_EQ(list.Member("b"), nullptr);
}

TEST(JsonValue, ReadsBackWhatTheWriterEscapes) {
    const std::string cp932 = "a\"b\\c\nd\te\x01 \x82\xa0";  // ends in hiragana A
    const TJsonValue value = ParseJson(JsonString(cp932));
    EXPECT_EQ(value.String, "a\"b\\c\nd\te\x01 \xe3\x81\x82");
    EXPECT_EQ(ParseJson(R"("\/\b\f\r\u00e9\u3042\ud83d\ude00")").String,
              "/\b\f\r\xc3\xa9\xe3\x81\x82\xf0\x9f\x98\x80");
}

TEST(JsonValue, DamagedTextNamesTheOffset) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"", "offset 0: a value expected"},
        {"{\"frames\": [}", "offset 12: a value expected"},
        {"[1 2]", "offset 3: ']' expected"},
        {"{\"a\" 1}", "offset 5: ':' expected"},
        {"{a: 1}", "offset 1: a member name expected"},
        {"{\"a\": 1,}", "offset 8: a member name expected"},
        {"{} {}", "offset 3: text after the value"},
        {"\"open", "offset 5: an unterminated string"},
        {"\"open\\", "offset 6: an unterminated string"},
        {R"("C:\data")", R"(offset 4: a bad escape (a backslash is written \\))"},
        {R"("\u12")", "offset 3: a short \\u escape"},
        {R"("\u12G4")", "offset 5: a bad \\u escape"},
        {R"("\ud83d")", "offset 7: an unpaired surrogate in a \\u escape"},
        {R"("\ud83d\u0041")", "offset 13: an unpaired surrogate in a \\u escape"},
        {R"("\ude00")", "offset 7: an unpaired surrogate in a \\u escape"},
        {"tru", "offset 0: a value expected"},
    };
    for (const auto& [text, message] : cases)
        EXPECT_EQ(ErrorOf(text), "d.json: " + std::string(message)) << text;
    for (const char* number : {"-", "01", "+1", ".5", "1.", "1e", "--1", "1e+"})
        EXPECT_EQ(ErrorOf(number), "d.json: offset 0: a malformed number") << number;
}

TEST(JsonValue, RefusesNestingBeyondTheLimit) {
    const std::string deepest(kJsonMaxDepth + 1, '[');
    EXPECT_EQ(ParseJson(deepest + std::string(kJsonMaxDepth + 1, ']')).Kind, TJsonValue::TKind::Array);
    EXPECT_EQ(ErrorOf(deepest + "[]" + std::string(kJsonMaxDepth + 2, ']')),
              "d.json: offset " + std::to_string(kJsonMaxDepth + 1) + ": nested too deeply");
    EXPECT_EQ(ErrorOf(std::string(100000, '[')), "d.json: offset 65: nested too deeply");
}

}  // namespace
}  // namespace tova
