#include "core/encoding.h"

#include <gtest/gtest.h>

#include "core/error.h"

namespace tova {
namespace {

TEST(Encoding, RoundTripsJapaneseText) {
    const std::string cp932 = "\x83\x65\x83\x58\x83\x67";  // テスト
    EXPECT_EQ(Cp932ToUtf8(cp932), "テスト");
    EXPECT_EQ(Utf8ToCp932("テスト"), cp932);
    EXPECT_EQ(Utf8ToCp932("abc"), "abc");
    // The code page's own characters: the wave dash and the yen-less backslash.
    EXPECT_EQ(Cp932ToUtf8(Utf8ToCp932("～\\")), "～\\");
}

TEST(Encoding, BadInputIsReplacedOrRefused) {
    EXPECT_EQ(Cp932ToUtf8("a\x81"), "a\xEF\xBF\xBD");  // a lead byte without its trail byte
    EXPECT_THROW(Utf8ToCp932("\xF0\x9F\x98\x80"), ETovaError);  // an emoji has no code page 932 form
    EXPECT_THROW(Utf8ToCp932("\xFF"), ETovaError);
    EXPECT_EQ(Utf8ToCp932Lossy("a\xFF"), "a?");
}

TEST(Error, MessagesCarryTheSystemTextInBothEncodings) {
    const ETovaError e = ETovaError::Format("%s:ファイルがありません", {"\x83\x65.txt"});
    EXPECT_EQ(e.Message(), "\x83\x65.txt:" + Utf8ToCp932("ファイルがありません"));
    EXPECT_STREQ(e.what(), "テ.txt:ファイルがありません");
}

}  // namespace
}  // namespace tova
