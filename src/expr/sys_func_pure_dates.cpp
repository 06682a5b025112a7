// Date values: a float counting days since 1899-12-30 in the proleptic
// Gregorian calendar. The integral part (truncated toward zero) is the day,
// so negative values count back from that date; the absolute value of the
// fraction is the time of day. Years 1 to 9999 are representable.
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "core/error.h"
#include "expr/sys_func_pure.h"

namespace tova::pure {
namespace {

constexpr int64_t kMsPerDay = 86400000;
// 1970-01-01, the epoch of the civil-date arithmetic below, as a day number.
constexpr int64_t kUnixEpochDay = 25569;
// Day numbers of 0001-01-01 and 9999-12-31.
constexpr int64_t kFirstDay = -693593;
constexpr int64_t kLastDay = 2958465;

struct TCivilDate {
    int32_t Year;
    int32_t Month;
    int32_t Day;
};

bool IsLeapYear(int32_t year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int32_t DaysInMonth(int32_t year, int32_t month) {
    static constexpr int32_t kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days since 1970-01-01 of a civil date (eras of 400 years of 146097 days).
int64_t DaysFromCivil(int32_t year, int32_t month, int32_t day) {
    const int64_t y = int64_t{year} - (month <= 2 ? 1 : 0);
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yearOfEra = y - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

TCivilDate CivilFromDays(int64_t days) {
    const int64_t z = days + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t dayOfEra = z - era * 146097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t mp = (5 * dayOfYear + 2) / 153;
    const auto day = static_cast<int32_t>(dayOfYear - (153 * mp + 2) / 5 + 1);
    const auto month = static_cast<int32_t>(mp < 10 ? mp + 3 : mp - 9);
    const auto year = static_cast<int32_t>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    return {year, month, day};
}

struct TDateTimeParts {
    int64_t Day;     // since 1899-12-30
    int64_t TimeMs;  // 0 .. kMsPerDay - 1
};

// Rounds to whole milliseconds first, so that a time computed as a fraction
// (23:59:59 is 86399/86400) comes back as exactly the same time.
TDateTimeParts SplitDateTime(long double value) {
    const long double ms = std::round(value * kMsPerDay);
    constexpr long double kLowest = static_cast<long double>(kFirstDay * kMsPerDay - (kMsPerDay - 1));
    constexpr long double kHighest = static_cast<long double>((kLastDay + 1) * kMsPerDay - 1);
    if (!(ms >= kLowest && ms <= kHighest)) throw ETovaError("Invalid date value");
    const auto total = static_cast<int64_t>(ms);
    return {total / kMsPerDay, std::llabs(total % kMsPerDay)};
}

TCivilDate DateOf(const TSysCall& call) {
    return CivilFromDays(SplitDateTime(FloatArg(call, 1)).Day - kUnixEpochDay);
}

struct TTimeOfDay {
    int32_t Hour;
    int32_t Minute;
    int32_t Second;
};

TTimeOfDay TimeOf(const TSysCall& call) {
    const int64_t seconds = SplitDateTime(FloatArg(call, 1)).TimeMs / 1000;
    return {static_cast<int32_t>(seconds / 3600), static_cast<int32_t>(seconds / 60 % 60),
            static_cast<int32_t>(seconds % 60)};
}

// 1 = Sunday .. 7 = Saturday; day 0 (1899-12-30) was a Saturday.
int32_t WeekDayOf(const TSysCall& call) {
    const int64_t day = SplitDateTime(FloatArg(call, 1)).Day;
    return static_cast<int32_t>(((day % 7 + 7) + 6) % 7) + 1;
}

}  // namespace

void EncodeDate(TSysCall& call) {
    const int32_t year = IntArg(call, 1), month = IntArg(call, 2), day = IntArg(call, 3);
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        throw ETovaError("EncodeDate: invalid date");
    call.Target.SetFloat(static_cast<long double>(DaysFromCivil(year, month, day) + kUnixEpochDay));
}

void EncodeTime(TSysCall& call) {
    const int32_t hour = IntArg(call, 1), minute = IntArg(call, 2), second = IntArg(call, 3);
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        throw ETovaError("EncodeTime: invalid time");
    call.Target.SetFloat(static_cast<long double>(hour * 3600 + minute * 60 + second) / 86400.0L);
}

void DecodeDate(TSysCall& call) {
    const TCivilDate date = DateOf(call);
    call.Arg(2).SetInt(date.Year);
    call.Arg(3).SetInt(date.Month);
    call.Arg(4).SetInt(date.Day);
}

void DecodeTime(TSysCall& call) {
    const TTimeOfDay time = TimeOf(call);
    call.Arg(2).SetInt(time.Hour);
    call.Arg(3).SetInt(time.Minute);
    call.Arg(4).SetInt(time.Second);
}

void GetYear(TSysCall& call) {
    call.Target.SetInt(DateOf(call).Year);
}
void GetMonth(TSysCall& call) {
    call.Target.SetInt(DateOf(call).Month);
}
void GetDay(TSysCall& call) {
    call.Target.SetInt(DateOf(call).Day);
}
void GetHour(TSysCall& call) {
    call.Target.SetInt(TimeOf(call).Hour);
}
void GetMin(TSysCall& call) {
    call.Target.SetInt(TimeOf(call).Minute);
}
void GetSec(TSysCall& call) {
    call.Target.SetInt(TimeOf(call).Second);
}
void GetWeek(TSysCall& call) {
    call.Target.SetInt(WeekDayOf(call));
}

void GetWeekStr(TSysCall& call) {
    static constexpr const char* kNames[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                             "Thursday", "Friday", "Saturday"};
    call.Target.SetStr(kNames[WeekDayOf(call) - 1]);
}

void GetWeekJStr(TSysCall& call) {
    static constexpr const char* kNames[] = {"日", "月", "火", "水", "木", "金", "土"};
    call.Target.SetStr(SysText(kNames[WeekDayOf(call) - 1]));
}

}  // namespace tova::pure
