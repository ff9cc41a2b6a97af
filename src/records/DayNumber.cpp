#include "records/DayNumber.h"

#include <cmath>

namespace wendra {

namespace {

constexpr double kSecondsPerDay = 86400.0;

// Days from 1601-01-01 to the civil date (proleptic Gregorian), after the
// well-known era-based conversion.
long long daysFrom1601(int year, int month, int day) {
    const long long y = static_cast<long long>(year) - (month <= 2 ? 1 : 0);
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yearOfEra = y - era * 400;
    const long long m = month;
    const long long dayOfYear = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    constexpr long long kDaysFrom0000To1601 = 584694;  // 0000-03-01 based count of 1601-01-01
    return era * 146097 + dayOfEra - kDaysFrom0000To1601;
}

platform::CivilTime civilFromDays1601(long long days) {
    constexpr long long kDaysFrom0000To1601 = 584694;
    const long long z = days + kDaysFrom0000To1601;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long dayOfEra = z - era * 146097;
    const long long yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long mp = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    platform::CivilTime t;
    t.year = year;
    t.month = month;
    t.day = day;
    return t;
}

}  // namespace

double dayNumberFromCivil(const platform::CivilTime& local) {
    const long long days = daysFrom1601(local.year, local.month, local.day);
    const double seconds = local.hour * 3600.0 + local.minute * 60.0 + local.second +
                           local.millisecond / 1000.0;
    return static_cast<double>(days) + seconds / kSecondsPerDay - kDayNumberOrigin;
}

double currentDayNumber() { return dayNumberFromCivil(platform::clock().localNow()); }

platform::CivilTime civilFromDayNumber(double day) {
    // Rounded, not truncated: a Day number made from whole seconds comes back to
    // the same second although the double sits a hair below it.
    const long long seconds = std::llround((day + kDayNumberOrigin) * kSecondsPerDay);
    long long days = seconds / 86400;
    long long rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    platform::CivilTime t = civilFromDays1601(days);
    t.hour = static_cast<int>(rest / 3600);
    t.minute = static_cast<int>(rest / 60 % 60);
    t.second = static_cast<int>(rest % 60);
    return t;
}

}  // namespace wendra
