#include <gtest/gtest.h>

#include "sysfunc_pure_test_util.h"

namespace tova {
namespace {

using namespace tova::pure;
using test::BoolOf;
using test::IntOf;
using test::StrOf;
using test::Sys;
using test::TVar;

// Two double-byte characters whose trail bytes look like ASCII ('\' and 'A')
// and one letter: a byte-wise scan would go wrong on every one of them.
const std::string kMixed = Sys("表ア") + "x";

TEST(SysFuncPureJStrings, LengthCountsCharacters) {
    EXPECT_EQ(IntOf(Length, {kMixed}), 5);
    EXPECT_EQ(IntOf(JLength, {kMixed}), 3);
    // A lead byte without its trail byte is one character.
    EXPECT_EQ(IntOf(JLength, {"a\x81"}), 2);
}

TEST(SysFuncPureJStrings, JCopy) {
    EXPECT_EQ(StrOf(JCopy, {kMixed, 2, 2}), Sys("ア") + "x");
    EXPECT_EQ(StrOf(JCopy, {kMixed, 2}), Sys("ア") + "x");
    EXPECT_EQ(StrOf(JCopy, {kMixed, 0, 1}), Sys("表"));
    EXPECT_EQ(StrOf(JCopy, {kMixed, -5, 2}), Sys("表ア"));
    EXPECT_EQ(StrOf(JCopy, {kMixed, 3, 50}), "x");
    EXPECT_EQ(StrOf(JCopy, {kMixed, 4}), "");
    EXPECT_EQ(StrOf(JCopy, {kMixed, 1, -1}), "");
}

TEST(SysFuncPureJStrings, JDelete) {
    TVar s(PT_STR);
    s.Value().SetStr(kMixed);
    test::Invoke(JDelete, PT_STR, {s, 0, 2});  // position 0 counts as 1
    EXPECT_EQ(s.Value().GetStr(), "x");
    s.Value().SetStr(kMixed);
    test::Invoke(JDelete, PT_STR, {s, 2});
    EXPECT_EQ(s.Value().GetStr(), Sys("表"));
    s.Value().SetStr(kMixed);
    test::Invoke(JDelete, PT_STR, {s, 4, 1});
    test::Invoke(JDelete, PT_STR, {s, 1, 0});
    EXPECT_EQ(s.Value().GetStr(), kMixed);
}

TEST(SysFuncPureJStrings, JInsert) {
    TVar s(PT_STR);
    s.Value().SetStr(kMixed);
    test::Invoke(JInsert, PT_STR, {"-", s, 2});
    EXPECT_EQ(s.Value().GetStr(), Sys("表-ア") + "x");
    test::Invoke(JInsert, PT_STR, {"<", s, 0});
    EXPECT_EQ(s.Value().GetStr(), Sys("<表-ア") + "x");
    test::Invoke(JInsert, PT_STR, {">", s, 99});
    EXPECT_EQ(s.Value().GetStr(), Sys("<表-ア") + "x>");
}

TEST(SysFuncPureJStrings, JPosFindsOnlyWholeCharacters) {
    EXPECT_EQ(IntOf(JPos, {"x", kMixed}), 3);
    EXPECT_EQ(IntOf(JPos, {Sys("ア"), kMixed}), 2);
    // The trail bytes '\' and 'A' are not characters of the text.
    EXPECT_EQ(IntOf(JPos, {"\\", kMixed}), 0);
    EXPECT_EQ(IntOf(JPos, {"A", kMixed}), 0);
    EXPECT_EQ(IntOf(JPos, {"", kMixed}), 0);
    EXPECT_EQ(IntOf(Pos, {"A", kMixed}), 4);  // the byte search does see it
}

TEST(SysFuncPureJStrings, JTrimRemovesBothKindsOfSpaceOnly) {
    EXPECT_EQ(StrOf(JTrim, {Sys(" 　a　b 　")}), Sys("a　b"));
    EXPECT_EQ(StrOf(JTrim, {"\ta\t"}), "\ta\t");
    // "メ@" ends in the bytes 0x81 0x40, which are no full-width space there.
    const std::string tricky = Sys("メ") + "@";
    EXPECT_EQ(StrOf(JTrim, {tricky}), tricky);
    EXPECT_EQ(StrOf(JTrim, {"a\x81"}), "a\x81");
}

TEST(SysFuncPureJStrings, FixStrDropsACutCharacter) {
    const std::string text = Sys("表ア");
    EXPECT_EQ(StrOf(FixStr, {text.substr(0, 3)}), Sys("表"));
    EXPECT_EQ(StrOf(FixStr, {text}), text);
    // A lone lead byte in the middle is part of a (damaged) pair, not cut.
    EXPECT_EQ(StrOf(FixStr, {"a\x81"
                             "b"}),
              "a\x81"
              "b");
}

TEST(SysFuncPureJStrings, IsDelimiterTestsTheCharacterAtACharacterPosition) {
    EXPECT_TRUE(BoolOf(IsDelimiter, {",;", "a;b", 2}));
    EXPECT_FALSE(BoolOf(IsDelimiter, {",;", "a;b", 1}));
    EXPECT_FALSE(BoolOf(IsDelimiter, {",;", "a;b", 4}));
    // Position 2 is the whole "ア"; its trail byte 'A' is no delimiter.
    EXPECT_FALSE(BoolOf(IsDelimiter, {"A", kMixed, 2}));
    EXPECT_TRUE(BoolOf(IsDelimiter, {Sys("、ア"), kMixed, 2}));
    EXPECT_TRUE(BoolOf(IsDelimiter, {"x", kMixed, 3}));
}

}  // namespace
}  // namespace tova
