#include <gtest/gtest.h>

#include <cmath>

#include "maps/CalibratedMap.h"
#include "netmaps/Mercator.h"
#include "netmaps/TileLevel.h"
#include "netmaps/TileMap.h"
#include "netmaps/TileUrlBuilder.h"

namespace wendra::netmaps {
namespace {

constexpr double kWorldEdge = 85.0511287798;  // latitude of the Web Mercator edges

// Real places and the tile the public servers give them, by the usual slippy-map
// formula (zoom, column, row from the north). The world here counts one level more
// and rows from the south: the OpenStreetMap template must still ask for that tile.
struct Place {
    const char* name;
    double latitude;
    double longitude;
    int zoom;
    int column;
    int row;
};

constexpr Place kPlaces[] = {
    {"Berlin", 52.5200, 13.4050, 12, 2200, 1343},
    {"Zermatt, Alps", 46.0207, 7.7491, 12, 2136, 1456},
    {"Sydney, south and east", -33.8688, 151.2093, 12, 3768, 2457},
    {"Rio, south and west", -22.9068, -43.1729, 12, 1556, 2315},
    {"Anchorage, north and west", 61.2181, -149.9003, 12, 342, 1161},
    {"Chamonix, fine level", 45.9237, 6.8694, 16, 34018, 23335},
};

TEST(TileAddress, RealPlacesGetTheirStandardTile) {
    SourceSettings settings;
    TileUrlBuilder builder;
    for (const Place& p : kPlaces) {
        SCOPED_TRACE(p.name);
        const int level = p.zoom + 1;
        const QuarterTile q = quarterTilePosition(p.latitude, p.longitude, level);
        const TileAddress tile{q.qx / 4, q.qy / 4, level};
        ASSERT_TRUE(valid(tile));
        EXPECT_EQ(tile.x, p.column);
        EXPECT_EQ(rowFromNorth(tile), p.row);
        const TileCorners c = tileCorners(tile);
        EXPECT_TRUE(c.west <= p.longitude && p.longitude < c.east);
        EXPECT_TRUE(c.south <= p.latitude && p.latitude < c.north);
        const std::string expected = "https://tile.openstreetmap.org/" + std::to_string(p.zoom) +
                                     "/" + std::to_string(p.column) + "/" + std::to_string(p.row) +
                                     ".png";
        EXPECT_EQ(builder.build(tile, source::kOsmMapnikRoad, settings).base, expected);
    }
}

TEST(TileAddress, CornersRoundTripAndNeighboursShareEdges) {
    for (int level : {1, 2, 5, 13, 21}) {
        const int n = tilesPerAxis(level);
        for (int x : {0, n / 3, n - 1}) {
            for (int y : {0, n / 2, n - 1}) {
                SCOPED_TRACE(tileKey({x, y, level}));
                const TileCorners c = tileCorners({x, y, level});
                EXPECT_NEAR(mercatorX(c.west) * n, x, 1e-6);
                EXPECT_NEAR(mercatorX(c.east) * n, x + 1, 1e-6);
                EXPECT_NEAR(mercatorY(c.south) * n, y, 1e-6);
                EXPECT_NEAR(mercatorY(c.north) * n, y + 1, 1e-6);
                if (y + 1 < n) {
                    EXPECT_DOUBLE_EQ(tileCorners({x, y + 1, level}).south, c.north);
                }
            }
        }
    }
    const TileCorners world = tileCorners({0, 0, 1});
    EXPECT_DOUBLE_EQ(world.west, -180);
    EXPECT_DOUBLE_EQ(world.east, 180);
    EXPECT_NEAR(world.north, kWorldEdge, 1e-9);
    EXPECT_NEAR(world.south, -kWorldEdge, 1e-9);
}

TEST(TileAddress, TileMapIsACalibratedMapOfItsGroup) {
    const TileAddress tile{2051, 1500, 12};
    const TileMap tm = tileMap(tile, source::kOsmPiste, u"/cache/t.jpg");
    EXPECT_EQ(tm.definition.title, u"12-00001500-00002051");
    EXPECT_EQ(tm.groupName, u"OSM-Piste");
    EXPECT_EQ(tm.definition.userFlags, maps::kMapInternetTile);
    EXPECT_EQ(tileCachePath("/cache/", source::kOsmPiste, tile),
              "/cache/OSM-Piste/12/00001500/00002051.jpg");

    maps::CalibratedMap map;
    ASSERT_TRUE(map.setDefinition(tm.definition));
    EXPECT_EQ(map.definition().width, kTilePixels);
    const TileCorners c = tileCorners(tile);
    maps::MapPixel topLeft, bottomRight;
    ASSERT_TRUE(map.geoToPixel(c.north, c.west, topLeft));
    ASSERT_TRUE(map.geoToPixel(c.south, c.east, bottomRight));
    constexpr double kLastPixel = kTilePixels - 1;
    EXPECT_NEAR(topLeft.x, 0, 1e-2);
    EXPECT_NEAR(topLeft.y, kLastPixel, 1e-2);  // rows count from the bottom
    EXPECT_NEAR(bottomRight.x, kLastPixel, 1e-2);
    EXPECT_NEAR(bottomRight.y, 0, 1e-2);
}

TEST(TileLevel, FollowsTheScaleWithinItsBounds) {
    // Legend: 64 * 2^A pixels per half-turn at the equator is level A; the Mercator
    // stretch (1 / cos) at 60 degrees is one level; the rounding starts at .333.
    struct Case {
        const char* legend;
        double scale;
        double latitude;
        int maxLevel;
        int level;
    } cases[] = {
        {"equator, exact", 64.0 * 1024, 0, 21, 10},
        {"60 degrees north is one level coarser", 64.0 * 1024, 60, 21, 9},
        {"60 degrees south too", 64.0 * 1024, -60, 21, 9},
        {"just below the rounding point", 64.0 * 1024 * std::pow(2, 0.332), 0, 21, 10},
        {"just above it", 64.0 * 1024 * std::pow(2, 0.334), 0, 21, 11},
        {"capped by the maximum level", 64.0 * 1024, 0, 8, 8},
        {"never finer than level 21", 1e30, 0, 21, 21},
        {"never coarser than level 2", 10, 0, 21, 2},
        {"a zero scale", 0, 0, 21, 2},
        {"at the pole", 64.0 * 1024, 90, 21, 2},
        {"no scale at all", std::nan(""), 0, 21, 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(viewTileLevel(c.scale, c.latitude, c.maxLevel), c.level) << c.legend;

    const QuarterTile centre = quarterTilePosition(0, 0, 3);  // 16 quarters per axis
    EXPECT_EQ(centre.qx, 8);
    EXPECT_EQ(centre.qy, 8);
    const QuarterTile pole = quarterTilePosition(90, 180, 3);
    EXPECT_EQ(pole.qx, 15) << "the date line stays in the last column";
    EXPECT_EQ(pole.qy, 15) << "the pole stays in the northern row";
    EXPECT_EQ(quarterTilePosition(-90, -180, 21).qy, 0);
}

}  // namespace
}  // namespace wendra::netmaps
