#include "records/CoordinateFormat.h"

#include <gtest/gtest.h>

#include <cmath>

#include "records/Text.h"

namespace wendra {
namespace {

struct CoordinateCase {
    const char* legend;
    double value;
    int role;
    int format;
    const char* expected;  // UTF-8
};

const CoordinateCase kCoordinateCases[] = {
    {"decimal north", 45.5, kRoleLatitude, 0, "45.500000N"},
    {"decimal south", -33.8688, kRoleLatitude, 0, "33.868800S"},
    {"decimal west", -0.5, kRoleLongitude, 0, "0.500000W"},
    {"zero is north", 0.0, kRoleLatitude, 0, "0.000000N"},
    {"zero is east", 0.0, kRoleLongitude, 0, "0.000000E"},
    {"minutes", 45.5083333333, kRoleLatitude, 1, "45°30.5000N"},
    {"minutes west", -7.43864, kRoleLongitude, 1, "7°26.3184W"},
    {"ten-thousandths round up above one half", 10 + 12.34567 / 60, kRoleLatitude, 1,
     "10°12.3457N"},
    {"and down below it", 10 + 12.34563 / 60, kRoleLatitude, 1, "10°12.3456N"},
    {"59.99999 minutes carry into the degree", 45 + 59.99999 / 60, kRoleLatitude, 1, "46°00.0000N"},
    {"seconds", 46.95108, kRoleLatitude, 2, "46°57'03.89N"},
    {"seconds west", -122.5, kRoleLongitude, 2, "122°30'00.00W"},
    {"hundredths carry through seconds and minutes", 45 + 59 / 60.0 + 59.999 / 3600, kRoleLatitude,
     2, "46°00'00.00N"},
    {"easting", 444140.545, kRoleLatitude, 3, "444141"},
    {"northing", 6250948.345, kRoleLongitude, 3, "6250948"},
    {"southern zone", -56, kRoleUtmZone, 3, "56S"},
    {"northern zone", 32, kRoleUtmZone, 3, "32N"},
    {"Swiss grid value", 600072.37, kRoleLatitude, 4, "600072.37"},
    {"no value in degrees", -999999.0, kRoleLatitude, 1, ""},
    {"positive marker in degrees", 999999.0, kRoleLongitude, 2, ""},
    {"no value on the grid", -999999.0, kRoleUtmZone, 3, ""},
    {"not a number", std::nan(""), kRoleLatitude, 0, ""},
    {"unknown format", 45.5, kRoleLatitude, 5, ""},
};

TEST(CoordinateFormat, OneValueInEachFormat) {
    for (const CoordinateCase& c : kCoordinateCases) {
        SCOPED_TRACE(c.legend);
        std::u16string text = u"x";
        formatCoordinate(text, c.value, c.role, c.format);
        EXPECT_EQ(toUtf8(text), c.expected);
        text = u"x";
        appendCoordinate(text, c.value, c.role, c.format);
        EXPECT_EQ(toUtf8(text), std::string("x") + c.expected);
    }
}

struct PositionCase {
    const char* legend;
    double latitude, longitude;
    int format;
    const char* expected;
};

const PositionCase kPositionCases[] = {
    {"decimal", 46.95108, 7.43864, 0, "46.951080N,7.438640E"},
    {"minutes", 46.95108, 7.43864, 1, "46°57.0648N,7°26.3184E"},
    {"seconds", 46.95108, 7.43864, 2, "46°57'03.89N,7°26'19.10E"},
    {"UTM", 46.95108, 7.43864, 3, "381189 5200911 32N"},
    {"UTM south", -33.8688, 151.2093, 3, "334369 6250948 56S"},
    {"Swiss grid: the survey's published example", 46 + 2 / 60.0 + 38.87 / 3600,
     8 + 43 / 60.0 + 49.79 / 3600, 4, "699999.76 99999.97"},
    {"Swiss grid south of its box", 44.9, 7.0, 4, "---"},
    {"Swiss grid east of its box", 46.0, 11.1, 4, "---"},
    {"latitude not set", -999999.0, 7.0, 0, ""},
    {"longitude not set", 46.0, -999999.0, 3, ""},
    {"unknown format", 46.0, 7.0, -1, ""},
};

TEST(CoordinateFormat, Positions) {
    for (const PositionCase& c : kPositionCases) {
        SCOPED_TRACE(c.legend);
        std::u16string text = u"x";
        formatPosition(text, c.latitude, c.longitude, c.format);
        EXPECT_EQ(toUtf8(text), c.expected);
    }
}

TEST(CoordinateFormat, SwissBoxIncludesItsEdges) {
    for (const auto& [latitude, longitude] : {std::pair{45.0, 5.3}, {48.5, 11.0}}) {
        std::u16string text;
        formatPosition(text, latitude, longitude, kFormatSwiss);
        EXPECT_NE(text, u"---") << latitude << " " << longitude;
        EXPECT_NE(text.find(u' '), std::u16string::npos);
    }
}

TEST(CoordinateFormat, NmeaFields) {
    struct {
        const char* legend;
        double value;
        int role;
        const char* expected;
    } const cases[] = {
        {"latitude", 46.95108, kRoleLatitude, "4657.0648,N,"},
        {"longitude takes three degree digits", 7.43864, kRoleLongitude, "00726.3184,E,"},
        {"south", -33.8688, kRoleLatitude, "3352.1280,S,"},
        {"west", -151.2093, kRoleLongitude, "15112.5580,W,"},
        {"carry", 45 + 59.99999 / 60, kRoleLatitude, "4600.0000,N,"},
        {"not set leaves empty fields", -999999.0, kRoleLatitude, ",,"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.legend);
        std::string text = "$GPGLL,";
        appendNmeaCoordinate(text, c.value, c.role);
        EXPECT_EQ(text, std::string("$GPGLL,") + c.expected);
    }
}

}  // namespace
}  // namespace wendra
