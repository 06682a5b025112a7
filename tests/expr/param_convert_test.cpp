#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "expr/param_convert.h"
#include "expr/param_data.h"
#include "expr_test_util.h"

namespace tova {
namespace {

using test::ErrorOf;

TEST(FloatToText, GeneralFormWithFifteenDigits) {
    EXPECT_EQ(FloatToText(0.1L), "0.1");
    EXPECT_EQ(FloatToText(0.1), "0.1");  // the double nearest 0.1 rounds the same
    EXPECT_EQ(FloatToText(1e20L), "1E20");
    EXPECT_EQ(FloatToText(0.000001L), "1E-6");
    EXPECT_EQ(FloatToText(0.0L), "0");
    EXPECT_EQ(FloatToText(-0.0L), "0");
    EXPECT_EQ(FloatToText(2.5L), "2.5");
    EXPECT_EQ(FloatToText(-2.5L), "-2.5");
    EXPECT_EQ(FloatToText(100.0L), "100");
    EXPECT_EQ(FloatToText(1.0L / 3), "0.333333333333333");
    EXPECT_EQ(FloatToText(2.0L / 3), "0.666666666666667");
    EXPECT_EQ(FloatToText(-1.5e-7L), "-1.5E-7");
    EXPECT_EQ(FloatToText(1.25e300L), "1.25E300");
}

TEST(FloatToText, FormBoundaries) {
    // Fifteen integer digits stay fixed, sixteen go to the exponent form.
    EXPECT_EQ(FloatToText(999999999999999.0L), "999999999999999");
    EXPECT_EQ(FloatToText(1e15L), "1E15");
    EXPECT_EQ(FloatToText(123456789012345.6L), "123456789012346");
    // Rounding to 15 digits can carry into a sixteenth integer digit.
    EXPECT_EQ(FloatToText(999999999999999.9L), "1E15");
    // 1E-5 is the smallest magnitude written in fixed form.
    EXPECT_EQ(FloatToText(0.00001L), "0.00001");
    EXPECT_EQ(FloatToText(0.0000123L), "0.0000123");
    EXPECT_EQ(FloatToText(0.0000099L), "9.9E-6");
    EXPECT_EQ(FloatToText(0.0000099999999999999999L), "0.00001");
}

TEST(FloatToText, NonFinite) {
    EXPECT_EQ(FloatToText(std::numeric_limits<long double>::infinity()), "INF");
    EXPECT_EQ(FloatToText(-std::numeric_limits<long double>::infinity()), "-INF");
    EXPECT_EQ(FloatToText(std::numeric_limits<long double>::quiet_NaN()), "NAN");
}

TEST(TextToInt, DecimalHexBlanksAndFailures) {
    EXPECT_EQ(TryTextToInt("42"), 42);
    EXPECT_EQ(TryTextToInt("   -17"), -17);
    EXPECT_EQ(TryTextToInt("+8"), 8);
    EXPECT_EQ(TryTextToInt("$ff"), 255);
    EXPECT_EQ(TryTextToInt(" $7FFFFFFF"), 2147483647);
    EXPECT_EQ(TryTextToInt("$FFFFFFFF"), -1);
    EXPECT_EQ(TryTextToInt("-$10"), -16);
    EXPECT_EQ(TryTextToInt("2147483647"), 2147483647);
    EXPECT_EQ(TryTextToInt("-2147483648"), std::numeric_limits<int32_t>::min());
    for (const char* bad : {"", " ", "-", "$", "2147483648", "-2147483649", "$100000000", "12 ", "1.5",
                            "0x10", "1e3", "abc", "$G"})
        EXPECT_FALSE(TryTextToInt(bad).has_value()) << bad;
    EXPECT_EQ(TextToInt("oops"), 0);
}

TEST(TextToFloat, FormsAndFailures) {
    EXPECT_EQ(TryTextToFloat("2.5"), 2.5L);
    EXPECT_EQ(TryTextToFloat("  -3  "), -3.0L);
    EXPECT_EQ(TryTextToFloat("+1e3"), 1000.0L);
    EXPECT_EQ(TryTextToFloat("1.5E-2"), 0.015L);
    EXPECT_EQ(TryTextToFloat(".5"), 0.5L);
    EXPECT_EQ(TryTextToFloat("5."), 5.0L);
    for (const char* bad : {"", ".", "e5", "1e", "1e+", "1,5", "$10", "INF", "nan", "1 2", "--1", "1e99999"})
        EXPECT_FALSE(TryTextToFloat(bad).has_value()) << bad;
    EXPECT_EQ(TextToFloat("x"), 0.0L);
}

TEST(FloatToInt, TruncatesAndKeepsLow32Bits) {
    EXPECT_EQ(FloatToInt(2.9L), 2);
    EXPECT_EQ(FloatToInt(-2.9L), -2);
    EXPECT_EQ(FloatToInt(4294967296.0L + 5), 5);
    EXPECT_EQ(FloatToInt(2147483648.0L), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(FloatToInt(-9223372036854775808.0L), 0);
    EXPECT_FALSE(ErrorOf([] { FloatToInt(9223372036854775808.0L); }).empty());
    EXPECT_FALSE(ErrorOf([] { FloatToInt(std::nanl("")); }).empty());
}

// Reading each storage type as each requested type.
TEST(ParamConversion, ReadTable) {
    TParamInt i;
    i.SetInt(-5);
    EXPECT_TRUE(i.GetBool());
    EXPECT_EQ(i.GetInt(), -5);
    EXPECT_EQ(i.GetFloat(), -5.0L);
    EXPECT_EQ(i.GetStr(), "-5");

    TParamFloat f;
    f.SetFloat(-7.75L);
    EXPECT_TRUE(f.GetBool());
    EXPECT_EQ(f.GetInt(), -7);
    EXPECT_EQ(f.GetFloat(), -7.75L);
    EXPECT_EQ(f.GetStr(), "-7.75");

    TParamFlag b;
    b.SetBool(true);
    EXPECT_TRUE(b.GetBool());
    EXPECT_EQ(b.GetInt(), 1);
    EXPECT_EQ(b.GetFloat(), 1.0L);
    EXPECT_EQ(b.GetStr(), "TRUE");
    b.SetBool(false);
    EXPECT_EQ(b.GetInt(), 0);
    EXPECT_EQ(b.GetStr(), "FALSE");

    TParamStr s;
    s.SetStr(" $1F");
    EXPECT_FALSE(s.GetBool());
    EXPECT_EQ(s.GetInt(), 31);
    EXPECT_EQ(s.GetFloat(), 0.0L);  // no hexadecimal floats
    EXPECT_EQ(s.GetStr(), " $1F");
    s.SetStr(" 1.5e1 ");
    EXPECT_EQ(s.GetFloat(), 15.0L);
    EXPECT_EQ(s.GetInt(), 0);  // trailing blank and fraction fail as integers
    s.SetStr("TRUE");
    EXPECT_TRUE(s.GetBool());
    for (const char* notTrue : {"true", "1", "T", "5", "TRUE "}) {
        s.SetStr(notTrue);
        EXPECT_FALSE(s.GetBool()) << notTrue;
    }
}

TEST(ParamConversion, NewValuesReadDefaults) {
    TParamInt i;
    EXPECT_EQ(i.GetInt(), 0);
    EXPECT_EQ(i.GetStr(), "0");
    EXPECT_FALSE(i.GetBool());
    TParamStr s;
    EXPECT_EQ(s.GetStr(), "");
    EXPECT_EQ(s.GetInt(), 0);
    EXPECT_FALSE(s.GetBool());
    TParamFloat f;
    EXPECT_EQ(f.GetStr(), "0");
    TParamFlag b;
    EXPECT_EQ(b.GetStr(), "FALSE");
}

// Writing each source type into each storage type.
TEST(ParamConversion, WriteTable) {
    TParamInt i;
    i.SetBool(true);
    EXPECT_EQ(i.GetInt(), 1);
    i.SetFloat(2.9L);
    EXPECT_EQ(i.GetInt(), 2);
    i.SetFloat(-2.9L);
    EXPECT_EQ(i.GetInt(), -2);
    i.SetStr("-12");
    EXPECT_EQ(i.GetInt(), -12);
    i.SetStr("12abc");
    EXPECT_EQ(i.GetInt(), 0);

    TParamFloat f;
    f.SetBool(true);
    EXPECT_EQ(f.GetFloat(), 1.0L);
    f.SetInt(-3);
    EXPECT_EQ(f.GetFloat(), -3.0L);
    f.SetStr("0.25");
    EXPECT_EQ(f.GetFloat(), 0.25L);
    f.SetStr("zz");
    EXPECT_EQ(f.GetFloat(), 0.0L);

    TParamFlag b;
    b.SetInt(5);
    EXPECT_TRUE(b.GetBool());
    b.SetInt(0);
    EXPECT_FALSE(b.GetBool());
    b.SetFloat(0.5L);
    EXPECT_TRUE(b.GetBool());
    b.SetStr("TRUE");
    EXPECT_TRUE(b.GetBool());
    b.SetStr("true");
    EXPECT_FALSE(b.GetBool());

    TParamStr s;
    s.SetBool(true);
    EXPECT_EQ(s.GetStr(), "TRUE");
    s.SetInt(-40);
    EXPECT_EQ(s.GetStr(), "-40");
    s.SetFloat(1e20L);
    EXPECT_EQ(s.GetStr(), "1E20");
}

TEST(ParamConversion, FailedFloatWriteChangesNothing) {
    TParamInt i;
    i.SetDims({3});
    i.SetIntAt(2, 9);
    EXPECT_FALSE(ErrorOf([&] { i.SetFloat(1e30L); }).empty());
    EXPECT_EQ(i.GetCount(), 3);
    EXPECT_EQ(i.GetIntAt(2), 9);
}

}  // namespace
}  // namespace tova
