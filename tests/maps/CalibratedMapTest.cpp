// The geometry of a calibrated map: line crossings, the pixel of a position on
// upright, rotated and trapezoid maps, the on-map test at its edges, and the
// definitions a map refuses or derives its title and group from.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "maps/CalibratedMap.h"

namespace wendra::test {
namespace {

using maps::CalibratedMap;
using maps::LineCrossing;
using maps::MapDefinition;
using maps::PlanePoint;

TEST(IntersectLines, Cases) {
    struct Case {
        const char* legend;
        PlanePoint p1, p2, p3, p4;
        LineCrossing crossing;
        PlanePoint point;
    };
    const Case cases[] = {
        {"cross inside A", {0, 0}, {2, 2}, {0, 2}, {2, 0}, LineCrossing::OnSegment, {1, 1}},
        {"cross at A's end", {0, 0}, {1, 1}, {0, 2}, {2, 0}, LineCrossing::OnSegment, {1, 1}},
        {"beyond A's end", {0, 0}, {0.5, 0.5}, {0, 2}, {2, 0}, LineCrossing::OffSegment, {1, 1}},
        {"before A's start", {2, 2}, {3, 3}, {0, 2}, {2, 0}, LineCrossing::OffSegment, {1, 1}},
        {"outside B only still on A",
         {0, 0},
         {2, 2},
         {5, -3},
         {4, -2},
         LineCrossing::OnSegment,
         {1, 1}},
        {"parallel", {0, 0}, {1, 1}, {0, 1}, {1, 2}, LineCrossing::Parallel, {0, 0}},
        {"nearly parallel",
         {0, 0},
         {1e-5, 0},
         {0, 1},
         {1e-5, 1 + 1e-9},
         LineCrossing::Parallel,
         {0, 0}},
        {"A is a point", {1, 1}, {1, 1}, {0, 2}, {2, 0}, LineCrossing::Parallel, {0, 0}},
    };
    for (const Case& c : cases) {
        const maps::LineIntersection i = maps::intersectLines(c.p1, c.p2, c.p3, c.p4);
        EXPECT_EQ(i.crossing, c.crossing) << c.legend;
        if (c.crossing == LineCrossing::Parallel) continue;
        EXPECT_NEAR(i.point.x, c.point.x, 1e-12) << c.legend;
        EXPECT_NEAR(i.point.y, c.point.y, 1e-12) << c.legend;
    }
}

MapDefinition definition(std::array<double, 4> lat, std::array<double, 4> lon, int width = 1000,
                         int height = 800) {
    MapDefinition d;
    d.imagePath = u"/maps/Harz/brocken.tile.jpg";
    d.cornerLatitudes = lat;
    d.cornerLongitudes = lon;
    d.width = width;
    d.height = height;
    d.bytesPerPixel = 2;
    return d;
}

const MapDefinition kUpright = definition({50, 50, 49, 49}, {10, 11, 10, 11});

TEST(CalibratedMap, EveryCornerMapsToItsCornerPixel) {
    const struct {
        const char* legend;
        MapDefinition d;
    } maps[] = {
        {"upright", kUpright},
        {"rotated", definition({50.02, 50.05, 49.02, 49.05}, {10.00, 11.00, 10.03, 11.03})},
        {"trapezoid, narrower at the top", definition({50, 50, 49, 49}, {10.2, 10.8, 10, 11})},
        {"trapezoid both ways", definition({50, 50.1, 49, 48.8}, {10.2, 10.8, 10, 11})},
    };
    // Corner 0 is the top-left pixel, and y counts from the bottom row.
    const float x[] = {0, 999, 0, 999}, y[] = {799, 799, 0, 0};
    for (const auto& m : maps) {
        CalibratedMap map;
        ASSERT_TRUE(map.setDefinition(m.d)) << m.legend;
        for (int k = 0; k < 4; ++k) {
            maps::MapPixel p;
            ASSERT_TRUE(map.geoToPixel(m.d.cornerLatitudes[k], m.d.cornerLongitudes[k], p))
                << m.legend;
            EXPECT_NEAR(p.x, x[k], 1e-3) << m.legend << " corner " << k;
            EXPECT_NEAR(p.y, y[k], 1e-3) << m.legend << " corner " << k;
        }
    }
}

TEST(CalibratedMap, UprightMapIsLinear) {
    CalibratedMap map;
    ASSERT_TRUE(map.setDefinition(kUpright));
    maps::MapPixel p;
    ASSERT_TRUE(map.geoToPixel(49.75, 10.25, p));
    EXPECT_NEAR(p.x, 0.25f * 999, 1e-3);
    EXPECT_NEAR(p.y, 0.75f * 799, 1e-3);
}

TEST(CalibratedMap, ContainsPosition) {
    CalibratedMap upright, rotated;
    ASSERT_TRUE(upright.setDefinition(kUpright));
    // A diamond: its bounding box holds corners of the box that are off the image.
    ASSERT_TRUE(rotated.setDefinition(definition({50, 49.5, 49.5, 49}, {10.5, 11, 10, 10.5})));
    const struct {
        const char* legend;
        const CalibratedMap& map;
        double lat, lon;
        bool inside;
    } cases[] = {
        {"centre", upright, 49.5, 10.5, true},
        {"top-left corner, on the box edge", upright, 50, 10, true},
        {"bottom-right corner: pixel (999, 0)", upright, 49, 11, true},
        {"just north of the box", upright, 50.000001, 10.5, false},
        {"just east of the box", upright, 49.5, 11.000001, false},
        {"diamond centre", rotated, 49.5, 10.5, true},
        {"in the box, outside the diamond", rotated, 49.9, 10.1, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.map.containsPosition(c.lat, c.lon), c.inside) << c.legend;
}

TEST(CalibratedMap, RefusesCornersThatPlaceNoPixel) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* legend;
        MapDefinition d;
    } cases[] = {
        {"top side without a longitude span", definition({50, 50, 49, 49}, {10, 10, 10, 11})},
        {"left side without a latitude span", definition({50, 50, 50, 49}, {10, 11, 10, 11})},
        {"a corner not a number", definition({50, nan, 49, 49}, {10, 11, 10, 11})},
        {"an infinite corner", definition({50, 50, 49, 49}, {10, 11, -HUGE_VAL, 11})},
    };
    for (const auto& c : cases) {
        CalibratedMap map;
        ASSERT_TRUE(map.setDefinition(kUpright));
        EXPECT_FALSE(map.setDefinition(c.d)) << c.legend;
        EXPECT_EQ(map.definition().cornerLatitudes, kUpright.cornerLatitudes) << c.legend;
        EXPECT_EQ(map.maxLongitude(), 11) << c.legend;
    }
    CalibratedMap removed;
    removed.markRemoved();
    EXPECT_FALSE(removed.setDefinition(kUpright));
}

TEST(CalibratedMap, DerivesTitleGroupAndScales) {
    CalibratedMap map;
    ASSERT_TRUE(map.setDefinition(kUpright));
    EXPECT_EQ(map.definition().title, u"brocken.tile");
    EXPECT_EQ(map.groupName(), u"Harz");
    EXPECT_DOUBLE_EQ(map.centreLatitude(), 49.5);
    // One degree across: 1000 pixels per 1/180 half-turn.
    EXPECT_FLOAT_EQ(map.scales().lonScale, 180000.0f);
    EXPECT_NEAR(map.scales().degreesPerPixelX, std::cos(49.5 * M_PI / 180) / 1000, 1e-9);
    EXPECT_FLOAT_EQ(map.scales().degreesPerPixelY, 1.0f / 800);

    MapDefinition titled = kUpright;
    titled.title = std::u16string(70, u'T');
    titled.imagePath = u"C:\\Maps\\Sea\\chart.png";
    ASSERT_TRUE(map.setDefinition(titled));
    EXPECT_EQ(map.definition().title.size(), maps::kMaxTitleLength);
    EXPECT_EQ(map.groupName(), u"Sea");

    titled.width = 0;  // no stored size and no image: scales stay 0
    ASSERT_TRUE(map.setDefinition(titled));
    EXPECT_EQ(map.scales().lonScale, 0.0f);
}

}  // namespace
}  // namespace wendra::test
