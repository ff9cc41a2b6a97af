// The licences of the tile servers: while tiles of a source are painted its text shows
// at the bottom right of the map; without a painted tile of a source with a text the
// corner keeps the map.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "maps/MapCatalogue.h"
#include "maps/MapShell.h"
#include "support/TestPaths.h"
#include "view/FrameFixture.h"
#include "view/MapAttribution.h"

namespace wendra::test {
namespace {

constexpr double kLat = 45.0;  // the fixture's centre, in degrees
constexpr double kLon = 9.0;
const platform::ColorRef kTileColour = platform::rgb(0x00, 0xf8, 0x00);

void putLittle(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// An 8 x 8 BMP of the tile colour.
std::string greenBmp() {
    constexpr int kSide = 8;
    std::string bmp = "BM";
    putLittle(bmp, 54 + kSide * kSide * 3, 4);
    putLittle(bmp, 0, 4);
    putLittle(bmp, 54, 4);
    putLittle(bmp, 40, 4);
    putLittle(bmp, kSide, 4);
    putLittle(bmp, kSide, 4);
    putLittle(bmp, 1, 2);
    putLittle(bmp, 24, 2);
    for (int i = 0; i < 6; ++i) putLittle(bmp, 0, 4);
    for (int i = 0; i < kSide * kSide; ++i) bmp += std::string("\x00\xf8\x00", 3);
    return bmp;
}

// The fixture's frame over a catalogue of one-colour maps, without a position marker.
class MapAttributionTest : public FrameFixture {
protected:
    MapAttributionTest() : catalogue(shell) {
        writeFile(folder / "tile.bmp", greenBmp());
        data.positionShown = false;
        data.maps = &catalogue;
        data.attributionOf = [](std::u16string_view group) -> std::u16string {
            if (group == u"OSM-Mapnik-Road") return u"\u00a9 OpenStreetMap contributors";
            if (group == u"OSM-Piste") return u"\u00a9 OpenStreetMap contributors";
            return {};
        };
    }

    // A map around (lat, lon) that covers the whole view when `span` is 0.1 degrees.
    maps::MapPtr addMap(double lat, double lon, double span, std::u16string group) {
        maps::MapDefinition d;
        d.imagePath = (folder / "tile.bmp").u16string();
        d.userFlags = maps::kMapActive | (group.empty() ? 0 : maps::kMapInternetTile);
        d.cornerLatitudes = {lat + span, lat + span, lat - span, lat - span};
        d.cornerLongitudes = {lon - span, lon + span, lon - span, lon + span};
        d.groupName = std::move(group);
        maps::MapPtr map = catalogue.newMap();
        EXPECT_TRUE(map->setDefinition(d));
        map->loadNow();
        EXPECT_EQ(map->status(), maps::MapStatus::ActiveLoaded);
        return map;
    }

    // Pixels of the text colour in the bottom-right corner, where the texts go.
    int textPixelsInCorner() const {
        return countIn({kWidth - 120, kHeight - 14, kWidth, kHeight},
                       px(data.colours.active(false).draw));
    }

    TempDir folder;
    maps::MapShell shell;
    maps::MapCatalogue catalogue;
};

TEST_F(MapAttributionTest, ShowsTheTextOfEachSourceWhoseTilesArePainted) {
    struct Case {
        const char* legend;
        double lat;  // centre of the one map
        const char16_t* group;
        bool shown;
    };
    const Case cases[] = {
        {"a tile of a source with a text, on screen", kLat, u"OSM-Mapnik-Road", true},
        {"a tile of that source, off screen", kLat + 1.0, u"OSM-Mapnik-Road", false},
        {"a tile of a source without a text", kLat, u"Google-Sat", false},
        {"a calibrated map of the user's", kLat, u"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        catalogue.removeInternetMaps();
        for (std::size_t i = 0; i < catalogue.size(); ++i) catalogue.removeMapAt(i);
        catalogue.purgeRemoved();
        addMap(c.lat, kLon, 0.1, c.group);
        paint();
        EXPECT_EQ(!paintedAttributions(data).empty(), c.shown);
        EXPECT_EQ(textPixelsInCorner() > 0, c.shown);
        if (!c.shown && c.lat == kLat) {
            EXPECT_EQ(buffer.at(kWidth - 1, kHeight - 1), platform::toPixel16(kTileColour))
                << "the corner keeps the map";
        }
    }
}

// Two sources painted in one frame whose texts are the same show it once; the text
// goes with the frame that painted the tiles, not the next one.
TEST_F(MapAttributionTest, SharedTextsShowOnceAndOnlyWhileTilesArePainted) {
    addMap(kLat, kLon, 0.1, u"OSM-Mapnik-Road");
    addMap(kLat, kLon, 0.01, u"OSM-Piste");  // inside the other: both paint
    paint();
    EXPECT_EQ(paintedAttributions(data).size(), 1u);
    catalogue.removeInternetMaps();
    paint();
    EXPECT_TRUE(paintedAttributions(data).empty());
    EXPECT_EQ(textPixelsInCorner(), 0);
}

}  // namespace
}  // namespace wendra::test
