#include "records/UnitFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "records/DayNumber.h"
#include "records/Text.h"
#include "support/FakeClock.h"

namespace wendra {
namespace {

struct FormatCase {
    const char* legend;
    std::function<void(std::u16string&)> format;
    const char* expected;  // UTF-8
};

void expectAll(std::initializer_list<FormatCase> cases) {
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(c.legend);
        std::u16string text = u"before ";
        c.format(text);
        EXPECT_EQ(toUtf8(text), c.expected);
    }
}

constexpr float kNone = 999999.0f;
const float kNaN = std::nanf("");

TEST(UnitFormat, Speed) {
    expectAll({
        {"one decimal below 9.95", [](auto& t) { formatSpeed(t, 9.94f, 0); }, "9.9km/h"},
        {"none from 9.95 up", [](auto& t) { formatSpeed(t, 12.3f, 0); }, "12km/h"},
        {"knots", [](auto& t) { formatSpeed(t, 20.0f, 2); }, "11nd"},
        {"statute miles", [](auto& t) { formatSpeed(t, 10.0f, 1); }, "6.2mi/h"},
        {"aeronautical keeps km/h", [](auto& t) { formatSpeed(t, 100.0f, 3); }, "100km/h"},
        {"forced decimal", [](auto& t) { formatSpeed(t, 12.3f, 0, true); }, "12.3km/h"},
        {"negative by magnitude", [](auto& t) { formatSpeed(t, -12.3f, 0); }, "-12km/h"},
        {"small negative", [](auto& t) { formatSpeed(t, -5.0f, 0); }, "-5.0km/h"},
        {"no value", [](auto& t) { formatSpeed(t, kNone, 0); }, ""},
        {"beyond no value", [](auto& t) { formatSpeed(t, 5e6f, 0); }, ""},
        {"not a number", [](auto& t) { formatSpeed(t, kNaN, 0); }, ""},
        {"unknown system", [](auto& t) { formatSpeed(t, 10.0f, 4); }, ""},
        {"append keeps the text", [](auto& t) { appendSpeed(t, 9.94f, 0); }, "before 9.9km/h"},
    });
}

TEST(UnitFormat, Pace) {
    expectAll({
        {"minutes per km", [](auto& t) { formatPace(t, 11.538462f, 0); }, "5'12s/km"},
        {"round", [](auto& t) { formatPace(t, 12.0f, 0); }, "5'00s/km"},
        {"per mile", [](auto& t) { formatPace(t, 10.0f, 1); }, "9'39s/mi"},
        {"per nautical mile", [](auto& t) { formatPace(t, 20.0f, 2); }, "5'33s/nd"},
        {"walking slowly: hours", [](auto& t) { formatPace(t, 0.5f, 3); }, "2:00:00s/km"},
        {"standing still", [](auto& t) { formatPace(t, 0.0f, 0); }, ""},
        {"no value", [](auto& t) { formatPace(t, kNone, 0); }, ""},
        {"vanishing speed", [](auto& t) { formatPace(t, 1e-30f, 0); }, ""},
        {"append", [](auto& t) { appendPace(t, 12.0f, 0); }, "before 5'00s/km"},
    });
}

TEST(UnitFormat, Distance) {
    expectAll({
        {"metres below 1 km", [](auto& t) { formatDistance(t, 0.5f, 0); }, "500m"},
        {"two decimals below 10", [](auto& t) { formatDistance(t, 1.5f, 0); }, "1.50km"},
        {"one decimal below 100", [](auto& t) { formatDistance(t, 12.34f, 3); }, "12.3km"},
        {"none from 100", [](auto& t) { formatDistance(t, 123.4f, 0); }, "123km"},
        {"feet below 0.1 mi", [](auto& t) { formatDistance(t, 0.05f, 1); }, "164ft"},
        {"miles below 1", [](auto& t) { formatDistance(t, 1.0f, 1); }, "0.621mi"},
        {"feet forced", [](auto& t) { formatDistance(t, 1.0f, 1, 1); }, "3281ft"},
        {"miles forced", [](auto& t) { formatDistance(t, 0.05f, 1, -1); }, "0.031mi"},
        {"miles below 100", [](auto& t) { formatDistance(t, 20.0f, 1); }, "12.4mi"},
        {"miles from 100", [](auto& t) { formatDistance(t, 200.0f, 1); }, "124mi"},
        {"nautical miles forced", [](auto& t) { formatDistance(t, 0.05f, 2, -1); }, "0.027mn"},
        {"metres below 0.1 mn", [](auto& t) { formatDistance(t, 0.05f, 2); }, "50m"},
        {"metres forced at sea", [](auto& t) { formatDistance(t, 0.5f, 2, 1); }, "500m"},
        {"nautical miles below 10", [](auto& t) { formatDistance(t, 5.0f, 2); }, "2.70mn"},
        {"no value", [](auto& t) { formatDistance(t, kNone, 0); }, ""},
        {"unknown system", [](auto& t) { formatDistance(t, 0.5f, 7); }, ""},
        {"append", [](auto& t) { appendDistance(t, 0.5f, 0); }, "before 500m"},
    });
}

TEST(UnitFormat, AltitudeAndClimb) {
    expectAll({
        {"metres", [](auto& t) { formatAltitude(t, 1234.4f, 0); }, "1234m"},
        {"feet", [](auto& t) { formatAltitude(t, 1000.0f, 1); }, "3281ft"},
        {"feet below sea level", [](auto& t) { formatAltitude(t, -10.0f, 2); }, "-33ft"},
        {"no altitude", [](auto& t) { formatAltitude(t, kNone, 0); }, ""},
        {"climb, one decimal", [](auto& t) { formatClimbSpeed(t, 5.0f, 0); }, "5.0m/mn"},
        {"climb, none", [](auto& t) { formatClimbSpeed(t, 12.0f, 0); }, "12m/mn"},
        {"climb in feet", [](auto& t) { formatClimbSpeed(t, 3.0f, 1); }, "9.8ft/mn"},
        {"climb in feet, big", [](auto& t) { formatClimbSpeed(t, 4.0f, 3); }, "13ft/mn"},
        {"sinking", [](auto& t) { formatClimbSpeed(t, -20.0f, 0); }, "-20m/mn"},
        {"no climb", [](auto& t) { formatClimbSpeed(t, kNone, 0); }, ""},
        {"append", [](auto& t) { appendAltitude(t, 12.0f, 0); }, "before 12m"},
    });
}

TEST(UnitFormat, NumbersPercentagesAndSignal) {
    expectAll({
        {"number, small", [](auto& t) { formatNumber(t, 3.14159f); }, "3.1"},
        {"number, large", [](auto& t) { formatNumber(t, 42.4f); }, "42"},
        {"number, forced", [](auto& t) { formatNumber(t, 42.4f, true); }, "42.4"},
        {"number, none", [](auto& t) { formatNumber(t, kNone); }, ""},
        {"percentage", [](auto& t) { formatPercentage(t, 55.55f); }, "56%"},
        {"small percentage", [](auto& t) { formatPercentage(t, 5.5f); }, "5.5%"},
        {"percentage, none", [](auto& t) { formatPercentage(t, kNone); }, ""},
        {"signal", [](auto& t) { formatSignalLevel(t, 33.333f); }, "33.3dB"},
        {"append", [](auto& t) { appendPercentage(t, 5.5f); }, "before 5.5%"},
    });
}

TEST(UnitFormat, ByteSizeKeepsFourCharacters) {
    expectAll({
        {"nothing", [](auto& t) { formatByteSize(t, 0); }, "0 b"},
        {"bytes up to 1023", [](auto& t) { formatByteSize(t, 1023); }, "1023 b"},
        {"one kilobyte", [](auto& t) { formatByteSize(t, 1024); }, "1.00 Kb"},
        {"a point left fourth goes", [](auto& t) { formatByteSize(t, 126419); }, "123 Kb"},
        {"largest in Kb", [](auto& t) { formatByteSize(t, 1048575); }, "1023 Kb"},
        {"one megabyte", [](auto& t) { formatByteSize(t, 1048576); }, "1.00 Mb"},
        {"1.234 Mb", [](auto& t) { formatByteSize(t, 1293943); }, "1.23 Mb"},
        {"tens of Mb", [](auto& t) { formatByteSize(t, 12345678); }, "11.7 Mb"},
        {"beyond 32 bits", [](auto& t) { formatByteSize(t, 5000000000LL); }, "4768 Mb"},
        {"append", [](auto& t) { appendByteSize(t, 12); }, "before 12 b"},
    });
}

constexpr double kSecond = 1.0 / 86400.0;

TEST(UnitFormat, Durations) {
    expectAll({
        {"one hour", [](auto& t) { formatDuration(t, 1.0 / 24.0, 0); }, "1:00:00s"},
        {"one hour, short", [](auto& t) { formatDuration(t, 1.0 / 24.0, 0, true); }, "1:00mn"},
        {"seconds", [](auto& t) { formatDuration(t, 30 * kSecond, 0); }, "30s"},
        {"seconds, short", [](auto& t) { formatDuration(t, 30 * kSecond, 0, true); }, "<1mn"},
        {"minutes", [](auto& t) { formatDuration(t, 90 * kSecond, 0); }, "1'30s"},
        {"minutes, short", [](auto& t) { formatDuration(t, 90 * kSecond, 0, true); }, "1mn"},
        {"59.6 s carries", [](auto& t) { formatDuration(t, 59.6 * kSecond, 0); }, "1'00s"},
        {"carry into the hour", [](auto& t) { formatDuration(t, 3599.6 * kSecond, 0); },
         "1:00:00s"},
        {"59.4 s stays", [](auto& t) { formatDuration(t, 59.4 * kSecond, 0); }, "59s"},
        {"negative", [](auto& t) { formatDuration(t, -90 * kSecond, 0); }, "-1'30s"},
        {"more than a day", [](auto& t) { formatDuration(t, 25.0 / 24.0, 0); }, "25:00:00s"},
        {"zero duration", [](auto& t) { formatDuration(t, 0.0, 0); }, "0s"},
        {"no value", [](auto& t) { formatDuration(t, 999999.0, 0); }, ""},
        {"not a number", [](auto& t) { formatDuration(t, std::nan(""), 0); }, ""},
        {"append", [](auto& t) { appendDuration(t, 30 * kSecond, 0); }, "before 30s"},
    });
}

TEST(UnitFormat, ClockTimesCountDaysFromToday) {
    test::FakeClock fake;
    platform::ScopedClock scoped(fake);
    fake.local = {2024, 5, 17, 12, 0, 0, 0};
    const double today = dayNumberFromCivil({2024, 5, 17, 0, 0, 0, 0});
    const double afternoon = (14 * 3600 + 5 * 60 + 10) * kSecond;
    expectAll({
        {"today", [&](auto& t) { formatDuration(t, today + afternoon, 1); }, "14:05:10s"},
        {"tomorrow", [&](auto& t) { formatDuration(t, today + 1 + afternoon, 1); },
         "14:05:10s j+1"},
        {"two days ago", [&](auto& t) { formatDuration(t, today - 2 + afternoon, 1); },
         "14:05:10s j-2"},
        {"without the day", [&](auto& t) { formatDuration(t, today + 1 + afternoon, -1); },
         "14:05:10s"},
        {"short", [&](auto& t) { formatDuration(t, today + 1 + afternoon, 1, true); },
         "14:05mn j+1"},
        {"midnight today", [&](auto& t) { formatDuration(t, today, 1); }, "0s"},
        {"zero is no time", [&](auto& t) { formatDuration(t, 0.0, 1); }, ""},
        {"zero is no time either", [&](auto& t) { formatDuration(t, 0.0, -1); }, ""},
        {"before the origin still counts forward from midnight",
         [&](auto& t) {
             formatDuration(t, dayNumberFromCivil({1999, 12, 31, 6, 30, 0, 0}), -1);
         },
         "6:30:00s"},
    });
}

}  // namespace
}  // namespace wendra
