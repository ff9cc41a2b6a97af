#include "records/CoordinateEntry.h"

#include <gtest/gtest.h>

#include "records/Text.h"

namespace wendra {
namespace {

struct RefusalCase {
    const char* legend;
    CoordinateFields fields;
    int format;
    int field;
    const char* message;  // UTF-8
    const char* title;
};

const RefusalCase kRefusals[] = {
    {"an empty latitude", {u"", u"7.0"}, 0, 0, "Empty field", "Error!"},
    {"a blank longitude", {u"46°00.0", u"  "}, 1, 1, "Empty field", "Error!"},
    {"decimal degrees typed in the minutes format",
     {u"45.508333", u"7.0"},
     1,
     0,
     " 45.508333 is in DD.DDDDDD format and not DD°MM.MMMM",
     "Info!"},
    {"seconds typed in the decimal format",
     {u"45°30'15N", u"7.0"},
     0,
     0,
     " 45°30'15N is in DD°MM'SS.SS format and not DD.DDDDDD",
     "Info!"},
    {"minutes typed in the decimal format",
     {u"46.0", u"7°30.5E"},
     0,
     1,
     " 7°30.5E is in DD°MM.MMMM format and not DD.DDDDDD",
     "Info!"},
    {"no format reads it",
     {u"45.5Q", u"7.0"},
     0,
     0,
     "[Q] not valid in the string 45.5Q at format DD.DDDDDD",
     "Error!"},
    {"out of range in every format",
     {u"46°00'00", u"200°00'00E"},
     2,
     1,
     "[200°00'00] not valid in the string 200°00'00E at format DD°MM'SS.SS",
     "Error!"},
    {"degrees typed as an easting",
     {u"45°30'15", u"5000000", u"32"},
     3,
     0,
     " 45°30'15 is in DD°MM'SS.SS format and not UTM",
     "Info!"},
    {"an empty zone", {u"500000", u"5000000", u""}, 3, 2, "Empty field", "Error!"},
    {"a zone that does not exist",
     {u"500000", u"5000000", u"0"},
     3,
     2,
     "[0] not valid in the string 0 at format UTM",
     "Error!"},
    {"a letter in a Swiss value",
     {u"600000", u"2OOOOO"},
     4,
     1,
     "[O] not valid in the string 2OOOOO at format Swiss grid",
     "Error!"},
};

TEST(CoordinateEntry, RefusesWithTheMessageToShow) {
    for (const RefusalCase& c : kRefusals) {
        SCOPED_TRACE(c.legend);
        const CoordinateEntry entry = readCoordinateEntry(c.fields, c.format);
        EXPECT_FALSE(entry.accepted);
        EXPECT_EQ(entry.field, c.field);
        EXPECT_EQ(toUtf8(entry.message), c.message);
        EXPECT_EQ(toUtf8(entry.title), c.title);
    }
}

struct AcceptCase {
    const char* legend;
    CoordinateFields fields;
    int format;
    double latitude, longitude, tolerance;
};

const AcceptCase kAccepted[] = {
    {"decimal degrees", {u"46.95108", u"7.43864"}, 0, 46.95108, 7.43864, 1e-12},
    {"minutes, west", {u"45°30.5N", u"7°30W"}, 1, 45.0 + 30.5 / 60, -7.5, 1e-12},
    {"seconds, south", {u"33°52'07.68S", u"151°12'33.48E"}, 2, -33.8688, 151.2093, 1e-9},
    {"UTM", {u"444140.545", u"3684706.356", u"38N"}, 3, 33.3, 44.4, 1e-7},
    {"UTM south", {u"334368.634", u"6250948.345", u"56S"}, 3, -33.8688, 151.2093, 1e-7},
    {"Swiss grid ignores a third field",
     {u"700000", u"100000", u"junk"},
     4,
     46.0 + 2 / 60.0 + 38.86 / 3600,
     8.0 + 43 / 60.0 + 49.80 / 3600,
     0.01 / 3600},
};

TEST(CoordinateEntry, ConvertsTheFieldsToAPosition) {
    for (const AcceptCase& c : kAccepted) {
        SCOPED_TRACE(c.legend);
        const CoordinateEntry entry = readCoordinateEntry(c.fields, c.format);
        ASSERT_TRUE(entry.accepted) << toUtf8(entry.message);
        EXPECT_NEAR(entry.position.latitude, c.latitude, c.tolerance);
        EXPECT_NEAR(entry.position.longitude, c.longitude, c.tolerance);
        EXPECT_TRUE(entry.message.empty());
    }
}

TEST(CoordinateEntry, RefusesGridValuesBeyondThePole) {
    const CoordinateEntry entry = readCoordinateEntry({u"999999", u"9999999", u"32"}, 3);
    EXPECT_FALSE(entry.accepted);
    EXPECT_EQ(entry.field, 1);
    EXPECT_EQ(toUtf8(entry.title), "Error!");
}

}  // namespace
}  // namespace wendra
