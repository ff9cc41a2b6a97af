#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "track/Track.h"
#include "track/TrackPoint.h"
#include "view/AltitudeGraph.h"
#include "view/ColourSet.h"
#include "view/MapSampleGrid.h"
#include "view/ViewGeometry.h"

namespace wendra::test {
namespace {

using platform::rgb;

TEST(ColourSet, RecordsReadWriteAndSwapForTheNight) {
    struct Case {
        const char* legend;
        const char* line;  // offered to the reader; nullptr: defaults only
        int record;        // what the reader says the line was, -1 none
        ColourRole role;
        bool night;
        platform::ColorRef expected;  // the frame's colour for the role afterwards
    };
    const Case cases[] = {
        {"day default", nullptr, -1, ColourRole::Gps, false, rgb(0xff, 0x00, 0x00)},
        {"night default swaps the role", nullptr, -1, ColourRole::Gps, true, rgb(0xff, 0x70, 0x70)},
        {"night text is light grey", nullptr, -1, ColourRole::Draw, true, rgb(0xd0, 0xd0, 0xd0)},
        {"night background is black", nullptr, -1, ColourRole::Back, true, rgb(0, 0, 0)},
        {"RRGGBB in the file, red first", "RIRUvo|TRK_COLOR|123456|\n", 2, ColourRole::Trk, false,
         rgb(0x12, 0x34, 0x56)},
        {"a night key leaves the day", "RIRUvo|SEL_COLOR_NT|abcdef|\n", 5, ColourRole::Sel, false,
         rgb(0x00, 0xa0, 0x00)},
        {"... and sets the night", "RIRUvo|SEL_COLOR_NT|abcdef|\n", 5, ColourRole::Sel, true,
         rgb(0xab, 0xcd, 0xef)},
        {"the last key", "RIRUvo|BACK_COLOR_NT|010203|7|\n", 11, ColourRole::Back, true,
         rgb(0x01, 0x02, 0x03)},
        {"a damaged value keeps the default", "RIRUvo|NAV_COLOR|zz|\n", 6, ColourRole::Nav, false,
         rgb(0x00, 0x00, 0xa0)},
        {"an empty value keeps the default", "RIRUvo|DRAW_COLOR||\n", 8, ColourRole::Draw, false,
         rgb(0, 0, 0)},
        {"an unknown key is not a colour", "RIRUvo|FOG_COLOR|123456|\n", -1, ColourRole::Gps, false,
         rgb(0xff, 0x00, 0x00)},
        {"a longer key is not the shorter one", "RIRUvo|GPS_COLOR_NTX|123456|\n", -1,
         ColourRole::Gps, true, rgb(0xff, 0x70, 0x70)},
    };
    for (const Case& c : cases) {
        ColourSet set;
        if (c.line) {
            EXPECT_EQ(set.readColourRecord(c.line), c.record) << c.legend;
        }
        const ViewColours colours = set.active(c.night);
        const platform::ColorRef byRole[] = {colours.gps, colours.trk,  colours.sel,
                                             colours.nav, colours.draw, colours.back};
        EXPECT_EQ(byRole[static_cast<int>(c.role)], c.expected) << c.legend;
        EXPECT_EQ(colours.grid, c.night ? kGridNightColour : kGridDayColour) << c.legend;

        // What is written reads back to the same set.
        std::string text;
        set.writeColours(text);
        ColourSet again;
        std::size_t start = 0;
        int records = 0;
        for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
            records += again.readColourRecord(text.substr(start, end + 1 - start)) >= 0;
        EXPECT_EQ(records, ColourSet::kRecords) << c.legend;
        EXPECT_EQ(again.colourRecord(c.record < 0 ? 0 : c.record),
                  set.colourRecord(c.record < 0 ? 0 : c.record))
            << c.legend;
    }
    ColourSet defaults;
    EXPECT_EQ(defaults.colourRecord(0), "RIRUvo|GPS_COLOR|ff0000|\n");
    EXPECT_EQ(defaults.colourRecord(3), "RIRUvo|TRK_COLOR_NT|00a000|\n");
}

TEST(MapSampleGrid, CellsPerSideFollowTheScale) {
    struct Case {
        float scale;
        int cells;
    };
    // N = 1.5 (ln scale - 5.5): 21.5, 12.5, 5.6, 2.1, then held at 0.5.
    const Case cases[] = {{4.0e8f, 1},  {1.0e6f, 1}, {1.0e4f, 2}, {1000.0f, 7},
                          {100.0f, 32}, {0.0f, 1},   {-5.0f, 1}};
    for (const Case& c : cases)
        EXPECT_EQ(MapSampleGrid::cellsPerSide(c.scale), c.cells) << "scale " << c.scale;
}

TEST(MapSampleGrid, CornersAreThePositionsUnderTheirPixels) {
    struct Case {
        const char* legend;
        double lat, lon;  // centre, units
        float scale;
        int rotation;
        bool allCells;  // every cell has a corner on the earth
    };
    const Case cases[] = {
        {"north-up, seven by seven", 0.25, 0.05, 1000.0f, 0, true},
        {"turned view", -0.2, 0.7, 1.0e4f, 30, true},
        {"over the pole, zoomed far out", 0.5, 0.0, 100.0f, 0, false},
    };
    for (const Case& c : cases) {
        ViewGeometry view;
        view.placeRect({0, 0, 240, 200});
        view.scale = c.scale;
        view.setTargetHeading(c.rotation);
        view.jumpRotation();
        view.setCentre(c.lat, c.lon);
        MapSampleGrid grid;
        const auto& cells = grid.build(view, {240, 200});
        const int p = MapSampleGrid::cellsPerSide(c.scale);
        if (c.allCells)
            EXPECT_EQ(static_cast<int>(cells.size()), p * p) << c.legend;
        else
            EXPECT_LT(static_cast<int>(cells.size()), p * p) << c.legend;
        ASSERT_FALSE(cells.empty()) << c.legend;
        for (const maps::MapCell& cell : cells) {
            EXPECT_EQ(cell[0].y, cell[1].y) << c.legend;
            EXPECT_EQ(cell[0].x, cell[2].x) << c.legend;
            EXPECT_EQ(cell[3].x, cell[1].x) << c.legend;
            EXPECT_EQ(cell[3].y, cell[2].y) << c.legend;
            EXPECT_LT(cell[0].x, cell[3].x) << c.legend;
            EXPECT_LT(cell[0].y, cell[3].y) << c.legend;
            bool anyOnEarth = false;
            for (const maps::CellCorner& corner : cell) {
                bool onEarth = false;
                const LatLon at = view.fromScreen(corner.x, corner.y, &onEarth);
                anyOnEarth = anyOnEarth || onEarth;
                EXPECT_NEAR(corner.latitude, at.lat * 180.0, 1e-9) << c.legend;
                EXPECT_NEAR(corner.longitude, at.lon * 180.0, 1e-9) << c.legend;
            }
            EXPECT_TRUE(anyOnEarth) << c.legend;
        }
    }
}

TEST(AltitudeRange, RoundsOutToFiftyMetresOrAHundredFeet) {
    struct Case {
        const char* legend;
        std::vector<float> altitudes;
        int unitSystem;
        float min, max;  // metres
    };
    const Case cases[] = {
        {"empty track, metric", {}, 0, 0.0f, 50.0f},
        {"empty track, statute: 100 ft", {}, 1, 0.0f, 30.48f},
        {"metric", {123.0f, 870.0f}, 0, 100.0f, 900.0f},
        {"aeronautical altitudes are metric", {123.0f, 870.0f}, 3, 100.0f, 900.0f},
        {"statute in feet", {123.0f, 870.0f}, 1, 400.0f / 3.2808299f, 2900.0f / 3.2808299f},
        {"low flat track still has the 50 m top", {10.0f, 12.0f}, 0, 0.0f, 50.0f},
        {"below the sea", {-20.0f, -5.0f}, 0, -50.0f, 50.0f},
    };
    for (const Case& c : cases) {
        Track track;
        for (const float a : c.altitudes) track.main().append()->altitude = a;
        const AltitudeRange range = AltitudeRange::of(track, c.unitSystem);
        EXPECT_NEAR(range.minMetres, c.min, 0.01f) << c.legend;
        EXPECT_NEAR(range.maxMetres, c.max, 0.01f) << c.legend;
    }
}

}  // namespace
}  // namespace wendra::test
