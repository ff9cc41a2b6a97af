// The configuration and the point store: points that older configurations kept as
// "RIRUvo|Coord|" lines join the store and leave the file, and the points counter is
// the map view record's field 12.

#include <string>

#include "ConfigFixture.h"
#include "points/PointStore.h"

namespace wendra::test {
namespace {

class ConfigPointsTest : public ConfigTest {
protected:
    ConfigPointsTest() { store.setPoints(&points); }

    // The defaults with one more line after the alert.
    std::string withLine(const std::string& line) {
        std::string text = golden("defaults.ini");
        const size_t alert = text.find("NMEA2|");
        text.insert(alert, line + "\n");
        return text;
    }

    points::PointStore points;
};

TEST_F(ConfigPointsTest, AnOlderPointLineBecomesAPointAndIsNoLongerKept) {
    struct Case {
        const char* legend;
        const char* line;
        const char16_t* name;  // null: no point, the line is kept
        double latitude;
    };
    const Case cases[] = {
        {"a whole record",
         "RIRUvo|Coord|GPSCoord|4|Home|46.94798200|7.44744700|0|5|4|Alps|0||0||3|0||0|0|0.0|",
         u"Home", 46.947982},
        {"a record of the older layout, cut after the position",
         "RIRUvo|Coord|GPSCoord|4|Peak|46.50000000|8.00000000|", u"Peak", 46.5},
        {"another record kind", "RIRUvo|Coord|Bmp|4|a.bmp|", nullptr, 0.0},
        {"a point off the globe", "RIRUvo|Coord|GPSCoord|4|Moon|123.00000000|7.00000000|", nullptr,
         0.0},
    };
    for (const Case& c : cases) {
        points.clear();
        points.setChanged(false);
        const std::string line = c.line;
        ASSERT_TRUE(loadText(withLine(line))) << c.legend;
        const std::string text = saved();
        if (!c.name) {
            EXPECT_EQ(points.size(), 0u) << c.legend;
            EXPECT_NE(text.find(line + "\n"), std::string::npos) << c.legend << ": kept whole";
            continue;
        }
        ASSERT_EQ(points.size(), 1u) << c.legend;
        EXPECT_EQ(points.at(0).name, c.name) << c.legend;
        EXPECT_DOUBLE_EQ(points.at(0).latitude, c.latitude) << c.legend;
        EXPECT_TRUE(points.changed()) << c.legend << ": for the points file to take it";
        EXPECT_EQ(text.find("RIRUvo|Coord|"), std::string::npos) << c.legend;
    }
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(ConfigPointsTest, ThePointsCounterIsTheMapViewRecordsTwelfthField) {
    ASSERT_TRUE(loadText(golden("full.ini")));
    EXPECT_EQ(points.counter(), 17);
    EXPECT_FALSE(store.takeChanged());
    points.setCounter(18);  // a new point was numbered
    EXPECT_TRUE(store.takeChanged()) << "the configuration must be saved";
    const std::string text = saved();
    ASSERT_TRUE(loadText(text));
    EXPECT_EQ(config.status.lastPointNumber, 18);
    EXPECT_EQ(points.counter(), 18);
}

}  // namespace
}  // namespace wendra::test
