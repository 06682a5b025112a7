#include "core/sjis.h"

#include <gtest/gtest.h>

#include "core/path_names.h"

namespace tova {
namespace {

// "表" is 0x95 0x5C: its trail byte has the value of '\'.
const std::string kHyou = "\x95\x5C";
// Fullwidth "Ａ" is 0x82 0x60; 0x82 0x41 would look like "A" in its trail byte.
const std::string kTrailA = "\x82\x41";

TEST(Sjis, CharactersAreIteratedWithDoubleByteCharactersAsOne) {
    const std::string s = "a" + kHyou + "b\x81";  // a lone lead byte at the end stands alone
    EXPECT_EQ(SjisCharCount(s), 4u);
    EXPECT_EQ(SjisCharStarts(s), (std::vector<size_t>{0, 1, 3, 4}));
    EXPECT_EQ(SjisCharCode(s, 1), 0x955C);
    EXPECT_EQ(SjisCharCode(s, 4), 0x81);
    EXPECT_TRUE(IsSjisLeadByte(0x81) && IsSjisLeadByte(0x9F) && IsSjisLeadByte(0xE0) && IsSjisLeadByte(0xFC));
    EXPECT_FALSE(IsSjisLeadByte(0x80) || IsSjisLeadByte(0xA0) || IsSjisLeadByte(0xDF) || IsSjisLeadByte(0xFD));
}

TEST(Sjis, CaseFoldingNeverTouchesTrailBytes) {
    EXPECT_EQ(SjisLowerCase("ABC" + kTrailA + "Z"), "abc" + kTrailA + "z");
    EXPECT_EQ(SjisUpperCase("abc" + std::string("\x82\x61") + "z"), "ABC\x82\x61Z");
    // Half-width katakana (single bytes 0xA1-0xDF) are left alone.
    EXPECT_EQ(SjisLowerCase("\xB1"), "\xB1");
}

TEST(Sjis, ComparisonIgnoresAsciiCaseOnly) {
    EXPECT_TRUE(SjisSameText("BGM\\Title.OGG", "bgm\\title.ogg"));
    EXPECT_FALSE(SjisSameText("bgm/title.ogg", "bgm\\title.ogg"));
    // 0x82 0x41 and 0x82 0x61 are two different characters.
    EXPECT_FALSE(SjisSameText(kTrailA, "\x82\x61"));
    EXPECT_LT(SjisCompareText("abc", "ABD"), 0);
    EXPECT_GT(SjisCompareText("b", "A"), 0);
    EXPECT_LT(SjisCompareText("ab", "ABC"), 0);
    // Bytes compare unsigned: a double-byte character sorts after ASCII.
    EXPECT_GT(SjisCompareText(kHyou, "z"), 0);
}

TEST(Sjis, FindMatchesOnlyAtCharacterStarts) {
    // The '\' inside "表" is no match for a search of '\'.
    EXPECT_EQ(SjisFind(kHyou + "\\", "\\"), 2u);
    EXPECT_EQ(SjisFind(kHyou, "\\"), std::string_view::npos);
    EXPECT_EQ(SjisFind("abc", ""), 0u);
}

TEST(PathNames, SplitsAreDoubleByteAware) {
    const std::string dir = "data\\" + kHyou + "\\";
    EXPECT_EQ(ExtractFilePath(dir + "a.png"), dir);
    EXPECT_EQ(ExtractFileName(dir + "a.png"), "a.png");
    EXPECT_EQ(ExtractFilePath(kHyou + ".txt"), "");
    EXPECT_EQ(ExtractFileExt("bgm\\title.ogg"), ".ogg");
    EXPECT_EQ(ExtractFileExt("dir.d\\noext"), "");
    EXPECT_EQ(ChangeFileExt("/x/game.dat", ".ext"), "/x/game.ext");
    EXPECT_EQ(ChangeFileExt("/x.d/game", ".ext"), "/x.d/game.ext");
}

}  // namespace
}  // namespace tova
