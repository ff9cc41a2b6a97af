#include "records/DayNumber.h"

#include <gtest/gtest.h>

#include <ctime>

#include "support/FakeClock.h"

namespace wendra {
namespace {

using platform::CivilTime;

struct DayCase {
    const char* legend;
    CivilTime local;
    double day;
};

const DayCase kDayCases[] = {
    {"the origin", {2000, 9, 26, 0, 0, 0, 0}, 0.0},
    {"noon the day after", {2000, 9, 27, 12, 0, 0, 0}, 1.5},
    {"evening before the origin is negative", {2000, 9, 25, 18, 0, 0, 0}, -0.25},
    {"the start of the count, 1601", {1601, 1, 1, 0, 0, 0, 0}, -146000.0},
    {"a leap day", {2024, 2, 29, 12, 0, 0, 0}, 8556.5},
    {"after 2038", {2038, 1, 19, 3, 14, 8, 0}, 13629.134814814815},
    {"2100 is not a leap year", {2100, 3, 1, 0, 0, 0, 0}, 36315.0},
};

TEST(DayNumber, CountsDaysFromTheOrigin) {
    for (const DayCase& c : kDayCases) {
        SCOPED_TRACE(c.legend);
        EXPECT_NEAR(dayNumberFromCivil(c.local), c.day, 1e-9);
        EXPECT_EQ(civilFromDayNumber(c.day), c.local);
    }
}

// The definition, computed another way: the 100-nanosecond count since 1601 of the
// local clock, in days, minus 146000. The C library's calendar gives the count.
double dayNumberByDefinition(const CivilTime& t) {
    std::tm tm{};
    tm.tm_year = t.year - 1900;
    tm.tm_mon = t.month - 1;
    tm.tm_mday = t.day;
    tm.tm_hour = t.hour;
    tm.tm_min = t.minute;
    tm.tm_sec = t.second;
    constexpr long long kSeconds1601To1970 = 11644473600LL;
    const long long ticks =
        (static_cast<long long>(timegm(&tm)) + kSeconds1601To1970) * 10000000LL +
        t.millisecond * 10000LL;
    return static_cast<double>(ticks) / 10000000.0 / 86400.0 - 146000.0;
}

TEST(DayNumber, AgreesWithTheDefinitionAcrossCenturies) {
    for (int year = 1601; year <= 2399; year += 7) {
        for (int month = 1; month <= 12; month += 1) {
            const CivilTime t{year, month, 1 + (year + month) % 28, month + 5, year % 60, 59, 0};
            ASSERT_NEAR(dayNumberFromCivil(t), dayNumberByDefinition(t), 1e-9)
                << year << "-" << month;
            ASSERT_EQ(civilFromDayNumber(dayNumberFromCivil(t)), t) << year << "-" << month;
        }
    }
}

TEST(DayNumber, InverseKeepsWholeSecondsOnly) {
    const CivilTime withMilliseconds{2021, 7, 4, 23, 59, 58, 400};
    const CivilTime back = civilFromDayNumber(dayNumberFromCivil(withMilliseconds));
    EXPECT_EQ(back, (CivilTime{2021, 7, 4, 23, 59, 58, 0}));
    // One second before midnight does not roll into the next day.
    EXPECT_EQ(civilFromDayNumber(dayNumberFromCivil({2021, 12, 31, 23, 59, 59, 0})),
              (CivilTime{2021, 12, 31, 23, 59, 59, 0}));
}

TEST(DayNumber, CurrentDayNumberReadsTheInstalledClock) {
    test::FakeClock fake;
    platform::ScopedClock scoped(fake);
    fake.local = {2000, 9, 26, 6, 0, 0, 0};
    EXPECT_DOUBLE_EQ(currentDayNumber(), 0.25);
    fake.advanceMilliseconds(86400LL * 1000);
    EXPECT_DOUBLE_EQ(currentDayNumber(), 1.25);
    // Local time, not UTC: the zone offset plays no part.
    fake.offsetSeconds = 7200;
    EXPECT_DOUBLE_EQ(currentDayNumber(), 1.25);
}

}  // namespace
}  // namespace wendra
