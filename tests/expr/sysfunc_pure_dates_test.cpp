#include <gtest/gtest.h>

#include <limits>

#include "sysfunc_pure_test_util.h"

namespace tova {
namespace {

using namespace tova::pure;
using test::ErrorOf;
using test::FloatOf;
using test::IntOf;
using test::Invoke;
using test::StrOf;
using test::Sys;
using test::TVar;

TEST(SysFuncPureDates, EncodeDateCountsFromTheEpochDay) {
    EXPECT_EQ(FloatOf(EncodeDate, {1899, 12, 30}), 0.0L);
    EXPECT_EQ(FloatOf(EncodeDate, {1899, 12, 29}), -1.0L);
    EXPECT_EQ(FloatOf(EncodeDate, {2000, 1, 1}), 36526.0L);
    EXPECT_EQ(FloatOf(EncodeDate, {2024, 2, 29}), 45351.0L);
    EXPECT_EQ(FloatOf(EncodeDate, {1800, 1, 1}), -36522.0L);
    EXPECT_EQ(FloatOf(EncodeDate, {1, 1, 1}), -693593.0L);
    EXPECT_EQ(FloatOf(EncodeDate, {9999, 12, 31}), 2958465.0L);
}

TEST(SysFuncPureDates, EncodeDateRefusesDaysThatDoNotExist) {
    EXPECT_EQ(FloatOf(EncodeDate, {2000, 2, 29}), 36585.0L);  // divisible by 400: leap
    struct TDate {
        int32_t Y, M, D;
    };
    for (const TDate date : {TDate{1900, 2, 29},
                             {2023, 2, 29},
                             {2024, 4, 31},
                             {2024, 13, 1},
                             {2024, 0, 1},
                             {2024, 1, 0},
                             {0, 1, 1},
                             {10000, 1, 1}}) {
        EXPECT_FALSE(ErrorOf([&] {
                         FloatOf(EncodeDate, {date.Y, date.M, date.D});
                     }).empty())
            << date.Y << "-" << date.M << "-" << date.D;
    }
}

TEST(SysFuncPureDates, EncodeTimeIsTheFractionOfADay) {
    EXPECT_EQ(FloatOf(EncodeTime, {12, 0, 0}), 0.5L);
    EXPECT_EQ(FloatOf(EncodeTime, {6, 0, 0}), 0.25L);
    EXPECT_FALSE(ErrorOf([] { FloatOf(EncodeTime, {24, 0, 0}); }).empty());
    EXPECT_FALSE(ErrorOf([] { FloatOf(EncodeTime, {0, 60, 0}); }).empty());
    EXPECT_FALSE(ErrorOf([] { FloatOf(EncodeTime, {0, 0, -1}); }).empty());
}

TEST(SysFuncPureDates, DecodeIntoVariables) {
    TVar y(PT_INT), m(PT_INT), d(PT_STR);
    const long double value = 45351.0L + 18.0L / 24 + 30.0L / 1440 + 15.0L / 86400;
    auto result = Invoke(DecodeDate, PT_INT, {value, y, m, d});
    EXPECT_EQ(y.Value().GetInt(), 2024);
    EXPECT_EQ(m.Value().GetInt(), 2);
    EXPECT_EQ(d.Value().GetStr(), "29");
    EXPECT_EQ(result->GetInt(), 0);
    Invoke(DecodeTime, PT_INT, {value, y, m, d});
    EXPECT_EQ(y.Value().GetInt(), 18);
    EXPECT_EQ(m.Value().GetInt(), 30);
    EXPECT_EQ(d.Value().GetStr(), "15");
}

TEST(SysFuncPureDates, NegativeValuesCountBackWithAnAbsoluteTimeOfDay) {
    // -1.25 is 1899-12-29 06:00, not 1899-12-28 18:00.
    EXPECT_EQ(IntOf(GetYear, {-1.25}), 1899);
    EXPECT_EQ(IntOf(GetDay, {-1.25}), 29);
    EXPECT_EQ(IntOf(GetHour, {-1.25}), 6);
    // Between -1 and 0 the day is still the epoch day.
    EXPECT_EQ(IntOf(GetDay, {-0.5}), 30);
    EXPECT_EQ(IntOf(GetHour, {-0.5}), 12);
    EXPECT_EQ(IntOf(GetYear, {-693593.5}), 1);
}

TEST(SysFuncPureDates, TimesRoundToTheMillisecond) {
    const long double lastSecond = FloatOf(EncodeTime, {23, 59, 59});
    EXPECT_EQ(IntOf(GetHour, {lastSecond}), 23);
    EXPECT_EQ(IntOf(GetMin, {lastSecond}), 59);
    EXPECT_EQ(IntOf(GetSec, {lastSecond}), 59);
    // Less than half a millisecond before midnight is midnight of the next day.
    const long double almostOne = 1.0L - 1e-10L;
    EXPECT_EQ(IntOf(GetDay, {almostOne}), 31);
    EXPECT_EQ(IntOf(GetHour, {almostOne}), 0);
    // Milliseconds are dropped from the seconds, after the rounding.
    EXPECT_EQ(IntOf(GetSec, {10.9994L / 86400}), 10);
    EXPECT_EQ(IntOf(GetSec, {10.9996L / 86400}), 11);
}

TEST(SysFuncPureDates, LeapDaysDecode) {
    EXPECT_EQ(IntOf(GetMonth, {36585}), 2);  // 2000-02-29
    EXPECT_EQ(IntOf(GetDay, {36585}), 29);
    EXPECT_EQ(IntOf(GetDay, {60}), 28);  // 1900 has no 29 February
    EXPECT_EQ(IntOf(GetMonth, {61}), 3);
    EXPECT_EQ(IntOf(GetDay, {61}), 1);
}

TEST(SysFuncPureDates, DaysOfTheWeek) {
    EXPECT_EQ(IntOf(GetWeek, {0}), 7);  // 1899-12-30 was a Saturday
    EXPECT_EQ(IntOf(GetWeek, {1}), 1);
    EXPECT_EQ(IntOf(GetWeek, {-1}), 6);
    EXPECT_EQ(IntOf(GetWeek, {-7.5}), 7);
    EXPECT_EQ(IntOf(GetWeek, {45351.9}), 5);  // 2024-02-29, a Thursday
    EXPECT_EQ(StrOf(GetWeekStr, {0}), "Saturday");
    EXPECT_EQ(StrOf(GetWeekJStr, {1}), Sys("日"));
    EXPECT_EQ(StrOf(GetWeekJStr, {45351}), Sys("木"));
}

TEST(SysFuncPureDates, ValuesOutsideTheYearsOneTo9999AreRefused) {
    const long double nan = std::numeric_limits<long double>::quiet_NaN();
    for (const long double value : {2958466.0L, -693594.0L, 1e300L, nan}) {
        EXPECT_FALSE(ErrorOf([&] { IntOf(GetYear, {value}); }).empty()) << static_cast<double>(value);
        EXPECT_FALSE(ErrorOf([&] { IntOf(GetWeek, {value}); }).empty());
    }
    EXPECT_EQ(IntOf(GetYear, {2958465.99}), 9999);
}

}  // namespace
}  // namespace tova
