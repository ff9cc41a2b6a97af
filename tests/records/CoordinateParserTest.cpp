#include "records/CoordinateParser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "records/CoordinateFormat.h"
#include "records/Text.h"

namespace wendra {
namespace {

constexpr int kLat = kRoleLatitude;
constexpr int kLon = kRoleLongitude;
constexpr int kZone = kRoleUtmZone;

struct AcceptCase {
    const char* legend;
    const char16_t* text;
    int role;
    int format;
    double value;
};

const AcceptCase kAccepted[] = {
    {"decimal degrees", u"45.508333", kLat, 0, 45.508333},
    {"leading minus", u"-45.5", kLat, 0, -45.5},
    {"south", u"45.5S", kLat, 0, -45.5},
    {"letters in either case", u"45.5s", kLat, 0, -45.5},
    {"west", u"7.5W", kLon, 0, -7.5},
    {"ouest", u"7.5O", kLon, 0, -7.5},
    {"east", u"7.5e", kLon, 0, 7.5},
    {"the letter decides over the minus", u"-45.5S", kLat, 0, -45.5},
    {"even when it says north", u"-45.5N", kLat, 0, 45.5},
    {"spaces around and before the letter", u" 45.5 N ", kLat, 0, 45.5},
    {"whole degrees", u"45", kLat, 0, 45.0},
    {"a bare point", u"45.", kLat, 0, 45.0},
    {"no whole part", u".5", kLat, 0, 0.5},
    {"the pole", u"90", kLat, 0, 90.0},
    {"the antimeridian", u"-180", kLon, 0, -180.0},
    {"minutes", u"45°30.5N", kLat, 1, 45.0 + 30.5 / 60},
    {"minutes after a space", u"45 30.5", kLat, 1, 45.0 + 30.5 / 60},
    {"minutes run together, as in NMEA", u"4530.5", kLat, 1, 45.0 + 30.5 / 60},
    {"three degree digits run together", u"00730.5W", kLon, 1, -(7.0 + 30.5 / 60)},
    {"59.99 minutes", u"45°59.99", kLat, 1, 45.0 + 59.99 / 60},
    {"seconds", u"45°30'15.5N", kLat, 2, 45.0 + 30.0 / 60 + 15.5 / 3600},
    {"seconds after a space", u"45 30'15", kLat, 2, 45.0 + 30.0 / 60 + 15.0 / 3600},
    {"a closing second mark", u"45°30'15.5\"N", kLat, 2, 45.0 + 30.0 / 60 + 15.5 / 3600},
    {"seconds west", u"-122°30'00.00W", kLon, 2, -122.5},
    {"easting", u"444140.5", kLat, 3, 444140.5},
    {"northing", u"3684706", kLon, 3, 3684706.0},
    {"zone", u"32", kZone, 3, 32.0},
    {"southern zone", u"56S", kZone, 3, -56.0},
    {"southern zone, small letter", u"56s", kZone, 3, -56.0},
    {"a band letter counts as north", u"32T", kZone, 3, 32.0},
    {"zone letter after a space", u"32 N", kZone, 3, 32.0},
    {"zone with a minus", u"-32", kZone, 3, -32.0},
    {"Swiss grid", u"600072.37", kLat, 4, 600072.37},
    {"Swiss grid, negative", u"-5", kLon, 4, -5.0},
};

TEST(CoordinateParser, Accepts) {
    for (const AcceptCase& c : kAccepted) {
        SCOPED_TRACE(c.legend);
        const CoordinateParse parse = parseCoordinate(c.text, c.role, c.format);
        ASSERT_TRUE(parse.ok) << parse.errorStart << ".." << parse.errorEnd;
        EXPECT_NEAR(parse.value, c.value, 1e-12);
    }
}

struct RefuseCase {
    const char* legend;
    const char16_t* text;
    int role;
    int format;
    size_t start, end;  // the offending characters
};

const RefuseCase kRefused[] = {
    {"a latitude beyond 90", u"90.000001", kLat, 0, 0, 9},
    {"a longitude beyond 180", u"180.5E", kLon, 0, 0, 5},
    {"negative beyond 90", u"-91", kLat, 0, 0, 3},
    {"a wrong letter", u"45.5Q", kLat, 0, 4, 5},
    {"a longitude letter on a latitude", u"45.5E", kLat, 0, 4, 5},
    {"anything after the letter", u"45.5NX", kLat, 0, 5, 6},
    {"everything after the letter", u"45.5N 12", kLat, 0, 5, 8},
    {"a decimal comma", u"45,5", kLat, 0, 2, 3},
    {"nothing at all", u"", kLat, 0, 0, 0},
    {"only spaces", u"  ", kLat, 0, 2, 2},
    {"a lone minus", u"-", kLat, 0, 1, 1},
    {"a lone point", u".", kLat, 0, 1, 1},
    {"an exponent", u"1e5", kLat, 0, 1, 2},
    {"a wrong letter after minutes", u"45°30.5Q", kLat, 1, 7, 8},
    {"sixty minutes", u"45°60", kLat, 1, 3, 5},
    {"decimal degrees are not minutes", u"45.5", kLat, 1, 2, 3},
    {"minutes missing", u"45°", kLat, 1, 3, 3},
    {"two digits cannot hold minutes", u"45", kLat, 1, 2, 2},
    {"beyond the pole by minutes", u"90°00.1N", kLat, 1, 0, 7},
    {"seconds in the minutes format", u"45°30'15", kLat, 1, 5, 6},
    {"a point where the minute mark goes", u"45°30.5", kLat, 2, 5, 6},
    {"sixty minutes with seconds", u"45°60'00", kLat, 2, 3, 5},
    {"sixty seconds", u"45°30'60", kLat, 2, 6, 8},
    {"seconds missing", u"45°30'", kLat, 2, 6, 6},
    {"a minute mark for the degree sign", u"45'30'15", kLat, 2, 2, 3},
    {"an easting beyond the grid", u"1000001", kLat, 3, 0, 7},
    {"a negative easting", u"-5", kLat, 3, 0, 2},
    {"a unit after the easting", u"444140m", kLat, 3, 6, 7},
    {"zone 0", u"0", kZone, 3, 0, 1},
    {"zone 61", u"61S", kZone, 3, 0, 2},
    {"half a zone", u"32.5", kZone, 3, 0, 4},
    {"anything after the zone letter", u"32NX", kZone, 3, 3, 4},
    {"not a letter after the zone", u"32!", kZone, 3, 2, 3},
    {"a letter after a Swiss value", u"600000E", kLat, 4, 6, 7},
    {"an unknown format", u"45.5", kLat, 5, 0, 4},
    {"an accented letter", u"45°30.5\u00E9", kLat, 1, 7, 8},
    {"a character outside the basic plane is one span", u"45.5\U0001F600", kLat, 0, 4, 6},
};

TEST(CoordinateParser, RefusesWithTheOffendingSpan) {
    for (const RefuseCase& c : kRefused) {
        SCOPED_TRACE(c.legend);
        const CoordinateParse parse = parseCoordinate(c.text, c.role, c.format);
        ASSERT_FALSE(parse.ok) << parse.value;
        EXPECT_EQ(parse.errorStart, c.start);
        EXPECT_EQ(parse.errorEnd, c.end);
    }
}

TEST(CoordinateParser, HugeDigitRunsAreRefusedNotOverflowed) {
    const std::u16string digits(400, u'9');
    for (int format : {0, 3, 4}) {
        const CoordinateParse parse = parseCoordinate(digits, kLat, format);
        EXPECT_FALSE(parse.ok) << format;
        EXPECT_EQ(parse.errorEnd, digits.size()) << format;
    }
    const std::u16string longFraction = u"45." + std::u16string(5000, u'1');
    EXPECT_TRUE(parseCoordinate(longFraction, kLat, 0).ok);
}

// What the program shows, the user can type back: the parser reads every formatted
// value to within the format's last digit.
TEST(CoordinateParser, ReadsBackWhatTheFormatterWrites) {
    const double lastDigit[] = {0.5e-6, 0.5e-4 / 60, 0.5e-2 / 3600};
    for (int format = 0; format <= 2; ++format) {
        for (int role : {kLat, kLon}) {
            const double largest = role == kLat ? 90.0 : 180.0;
            for (double value = -largest; value <= largest; value += 0.987654321) {
                std::u16string text;
                formatCoordinate(text, value, role, format);
                const CoordinateParse parse = parseCoordinate(text, role, format);
                ASSERT_TRUE(parse.ok) << toUtf8(text);
                ASSERT_NEAR(parse.value, value, lastDigit[format] + 1e-12) << toUtf8(text);
            }
        }
    }
    for (int zone = -60; zone <= 60; ++zone) {
        if (zone == 0) continue;
        std::u16string text;
        formatCoordinate(text, zone, kZone, kFormatUtm);
        EXPECT_EQ(parseCoordinate(text, kZone, kFormatUtm).value, zone) << toUtf8(text);
    }
}

}  // namespace
}  // namespace wendra
