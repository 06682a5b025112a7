#include <gtest/gtest.h>

#include "core/encoding.h"
#include "expr/zenkaku.h"
#include "sysfunc_pure_test_util.h"

namespace tova {
namespace {

using test::StrOf;
using test::Sys;

std::string Bytes(unsigned from, unsigned to) {
    std::string out;
    for (unsigned c = from; c <= to; ++c)
        out += static_cast<char>(c);
    return out;
}

const std::string kAscii = Bytes(0x20, 0x7E);
const std::string kHalfWidthBlock = Bytes(0xA1, 0xDF);

TEST(Zenkaku, EveryPrintableAsciiCharacterHasItsFullWidthForm) {
    EXPECT_EQ(HanToZen(kAscii),
              Sys("　！”＃＄％＆’（）＊＋，－．／０１２３４５６７８９：；＜＝＞？"
                  "＠ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ［￥］＾＿"
                  "‘ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ｛｜｝") +
                  "\x81\x60");  // the wave dash
}

TEST(Zenkaku, EveryHalfWidthKanaHasItsFullWidthForm) {
    EXPECT_EQ(Cp932ToUtf8(HanToZen(kHalfWidthBlock)),
              "。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソ"
              "タチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン゛゜");
}

TEST(Zenkaku, VoicedMarksCombineWithTheirRowsOnly) {
    EXPECT_EQ(HanToZen(Sys("ｶﾞ1")), Sys("ガ１"));
    EXPECT_EQ(HanToZen(Sys("ｶﾞｷﾞｺﾞｻﾞｿﾞﾀﾞﾄﾞﾊﾞﾎﾞ")), Sys("ガギゴザゾダドバボ"));
    EXPECT_EQ(HanToZen(Sys("ﾊﾟﾋﾟﾎﾟ")), Sys("パピポ"));
    // u, the kana outside those rows and a semi-voiced mark after a non-ha
    // kana keep the mark as a character of its own.
    EXPECT_EQ(HanToZen(Sys("ｳﾞｱﾞﾅﾞｶﾟﾟ")), Sys("ウ゛ア゛ナ゛カ゜゜"));
    EXPECT_EQ(HanToZen(Sys("ﾞﾊ")), Sys("゛ハ"));
    // The mark belongs to the kana before it: the second kana stands alone.
    EXPECT_EQ(HanToZen(Sys("ﾊﾊﾞ")), Sys("ハバ"));
}

TEST(Zenkaku, HanToZenDropsBytesWithoutAForm) {
    EXPECT_EQ(HanToZen("a\r\nb\t\x7F\x80\xA0\xFD\xFE\xFF"
                       "c"),
              Sys("ａｂｃ"));
    // A lead byte cut from its trail byte is dropped too.
    EXPECT_EQ(HanToZen("a\x81"), Sys("ａ"));
    EXPECT_EQ(HanToZen("a\xE0"), Sys("ａ"));
    // Double-byte characters stay, even when their trail byte looks like ASCII.
    EXPECT_EQ(HanToZen(Sys("漢表ア") + "x"), Sys("漢表アｘ"));
    EXPECT_EQ(HanToZen(""), "");
}

TEST(Zenkaku, ZenToHanReversesHanToZen) {
    EXPECT_EQ(ZenToHan(HanToZen(kAscii)), kAscii);
    EXPECT_EQ(ZenToHan(HanToZen(kHalfWidthBlock)), kHalfWidthBlock);
    EXPECT_EQ(ZenToHan(Sys("ガギグゲゴザジズゼゾダヂヅデドバビブベボパピプペポヴ")),
              Sys("ｶﾞｷﾞｸﾞｹﾞｺﾞｻﾞｼﾞｽﾞｾﾞｿﾞﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟｳﾞ"));
}

TEST(Zenkaku, ZenToHanTakesTheOtherFormsOfAsciiAndDropsTheRest) {
    EXPECT_EQ(ZenToHan(Sys("“ａ”")), "\"a\"");
    EXPECT_EQ(ZenToHan(Sys("＼￥｀‘")), "\\\\``");
    EXPECT_EQ(ZenToHan(Sys("漢字かなabcヵヶヰ")), "abc");
    // Single bytes are copied, whatever they are.
    EXPECT_EQ(ZenToHan(Sys("ｱ\r\n") + "\x7F"), Sys("ｱ\r\n") + "\x7F");
    EXPECT_EQ(ZenToHan(Sys("Ａ") + "\x82"), "A\x82");
}

TEST(Zenkaku, TheFunctionsConvertTheirArgument) {
    EXPECT_EQ(StrOf(pure::HanToZen, {Sys("ｶﾞ1\r\n")}), Sys("ガ１"));
    EXPECT_EQ(StrOf(pure::ZenToHan, {Sys("ガ１漢")}), Sys("ｶﾞ1"));
    EXPECT_EQ(StrOf(pure::HanToZen, {12}), Sys("１２"));
}

}  // namespace
}  // namespace tova
