// Shifting and stretching a selection of maps about its centre: the extent that the
// correction dialog starts from, and the corners after a correction.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "maps/MapCorrection.h"

namespace wendra::test {
namespace {

using maps::CalibratedMap;

constexpr double kHalfTurnKm = 20037.508342789242;
constexpr double kKmPerDegree = kHalfTurnKm / 180.0;

// A north-up map of the given box, its size stored so that no image is read.
std::unique_ptr<CalibratedMap> mapOf(double south, double north, double west, double east,
                                     int width) {
    maps::MapDefinition d;
    d.imagePath = u"/maps/a.png";
    d.cornerLatitudes = {north, north, south, south};
    d.cornerLongitudes = {west, east, west, east};
    d.width = width;
    d.height = 100;
    d.bytesPerPixel = 2;
    auto map = std::make_unique<CalibratedMap>();
    EXPECT_TRUE(map->setDefinition(d));
    return map;
}

double cosDeg(double degrees) {
    return std::cos(degrees * std::numbers::pi / 180.0);
}

TEST(MapCorrection, ExtentSumsTheSpansAndWidthsOfTheSelection) {
    auto west = mapOf(59.0, 61.0, 10.0, 11.0, 500);
    auto east = mapOf(60.0, 61.0, 11.0, 13.0, 1500);
    const std::vector<CalibratedMap*> selection = {west.get(), east.get()};
    const maps::MapExtent extent = maps::mapExtent(selection);
    EXPECT_DOUBLE_EQ(extent.centreLatitude, 60.0);
    EXPECT_DOUBLE_EQ(extent.centreLongitude, 11.5);
    EXPECT_EQ(extent.widthSum, 2000);
    EXPECT_NEAR(extent.kmPerPixel, 3.0 * kKmPerDegree * 0.5 / 2000, 1e-12);
    EXPECT_NEAR(extent.widthKm, 3.0 * kKmPerDegree * 0.5, 1e-9);
    EXPECT_EQ(maps::mapExtent({}).widthSum, 0) << "nothing selected, nothing to step";
}

// Legend: the correction asked, then where the selection's box lands. Two maps side by
// side at 60 degrees north, together 2 degrees wide (about 111 km there).
TEST(MapCorrection, CornersMoveAndScaleAboutTheSelectionCentre) {
    const double widthKm = 2.0 * kKmPerDegree * cosDeg(60.0);
    struct Case {
        const char* legend;
        double north, east, width;
        double south, northEdge, westEdge, eastEdge;  // of the whole selection after
    };
    const Case cases[] = {
        {"nothing", 0, 0, 0, 59.0, 61.0, 10.0, 12.0},
        {"10 km north moves latitudes only", 10, 0, 0, 59.0 + 10 / kKmPerDegree,
         61.0 + 10 / kKmPerDegree, 10.0, 12.0},
        {"10 km west at 60 degrees is twice as many degrees", 0, -10, 0, 59.0, 61.0,
         10.0 - 20 / kKmPerDegree, 12.0 - 20 / kKmPerDegree},
        {"adding the selection's width doubles it about the centre", 0, 0, widthKm, 58.0, 62.0, 9.0,
         13.0},
        {"halving and moving", 10, 0, -widthKm / 2, 59.5 + 10 / kKmPerDegree,
         60.5 + 10 / kKmPerDegree, 10.5, 11.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        auto west = mapOf(59.0, 61.0, 10.0, 11.0, 500);
        auto east = mapOf(59.0, 61.0, 11.0, 12.0, 500);
        const std::vector<CalibratedMap*> selection = {west.get(), east.get()};
        EXPECT_EQ(maps::correctMaps(selection, c.north, c.east, c.width, true), 2);
        EXPECT_NEAR(west->minLatitude(), c.south, 1e-9);
        EXPECT_NEAR(east->maxLatitude(), c.northEdge, 1e-9);
        EXPECT_NEAR(west->minLongitude(), c.westEdge, 1e-9);
        EXPECT_NEAR(east->maxLongitude(), c.eastEdge, 1e-9);
        EXPECT_NEAR(west->maxLongitude(), east->minLongitude(), 1e-9) << "they still meet";
        EXPECT_TRUE(east->definition().userFlags & maps::kMapActive);
        EXPECT_EQ(east->definition().width, 500) << "the size stays known";
    }
}

}  // namespace
}  // namespace wendra::test
