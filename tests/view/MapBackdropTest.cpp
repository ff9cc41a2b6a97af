// The maps under the track: a loaded map, painted through the view's frame, shows at
// each screen pixel the map pixel that the map's own calibration puts there.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ViewFixture.h"
#include "maps/MapCatalogue.h"
#include "maps/MapShell.h"
#include "support/TestPaths.h"
#include "view/MapBackdrop.h"

namespace wendra::test {
namespace {

// 181 x 181 pixels: each pixel's index (row from the top * 181 + column) fits the 15
// colour bits of a view pixel, so a screen pixel tells which map pixel it shows.
constexpr int kSide = 181;

void putLittle(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// A 24-bit BMP whose pixel (column, row from the top) holds its own index.
std::string indexedBmp() {
    const int rowBytes = (kSide * 3 + 3) / 4 * 4;
    std::string bmp = "BM";
    putLittle(bmp, 54 + rowBytes * kSide, 4);
    putLittle(bmp, 0, 4);
    putLittle(bmp, 54, 4);
    putLittle(bmp, 40, 4);
    putLittle(bmp, kSide, 4);
    putLittle(bmp, kSide, 4);
    putLittle(bmp, 1, 2);
    putLittle(bmp, 24, 2);
    for (int i = 0; i < 6; ++i) putLittle(bmp, 0, 4);
    for (int fromBottom = 0; fromBottom < kSide; ++fromBottom) {
        const int row = kSide - 1 - fromBottom;
        for (int column = 0; column < kSide; ++column) {
            const int index = row * kSide + column;
            bmp.push_back(static_cast<char>((index & 31) << 3));          // blue
            bmp.push_back(static_cast<char>(((index >> 5) & 31) << 3));   // green
            bmp.push_back(static_cast<char>(((index >> 10) & 31) << 3));  // red
        }
        bmp.append(static_cast<std::size_t>(rowBytes - kSide * 3), '\0');
    }
    return bmp;
}

// The map pixel a view pixel shows, x from the left, y from the bottom row.
maps::MapPixel shownPixel(platform::Pixel16 pixel) {
    const int index = ((pixel >> 11) << 10) | (((pixel >> 6) & 31) << 5) | (pixel & 31);
    return {static_cast<float>(index % kSide), static_cast<float>(kSide - 1 - index / kSide)};
}

class MapBackdropTest : public ViewFixture {
protected:
    MapBackdropTest() : catalogue(shell) {
        scene.infoLineMode = 0;
        writeFile(folder / "pattern.bmp", indexedBmp());
        // Slightly turned and sheared, wider than the view on every side (the view
        // spans about 45.018 to 44.982 north and 8.969 to 9.031 east).
        maps::MapDefinition d;
        d.title = u"pattern";
        d.imagePath = (folder / "pattern.bmp").u16string();
        d.userFlags = maps::kMapActive;
        d.cornerLatitudes = {45.027, 45.029, 44.975, 44.977};
        d.cornerLongitudes = {8.955, 9.040, 8.953, 9.038};
        map = catalogue.newMap();
        EXPECT_TRUE(map->setDefinition(d));
        map->loadNow();
        EXPECT_EQ(map->status(), maps::MapStatus::ActiveLoaded);
        scene.maps = &catalogue;
    }

    TempDir folder;
    maps::MapShell shell;
    maps::MapCatalogue catalogue;
    maps::MapPtr map;
};

TEST_F(MapBackdropTest, EachScreenPixelShowsTheMapPixelItsPositionFalls) {
    draw();
    const NorthUpProjection projection(scene.centre, kScale, {kWidth, kHeight});
    struct Case {
        const char* legend;
        int x, y;
    };
    const Case cases[] = {
        {"top-left corner", 0, 0},
        {"top-right corner", kWidth - 1, 0},
        {"bottom-left corner", 0, kHeight - 1},
        {"bottom-right corner", kWidth - 1, kHeight - 1},
        {"centre", kCentreX + 1, kCentreY + 1},  // beside the position marker
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        // The position the track would draw on this pixel.
        const double lat = scene.centre.lat - (c.y - kCentreY) / kScale;
        const double lon = scene.centre.lon + (c.x - kCentreX) / (kScale * std::cos(lat * kPi));
        const ScreenPoint back = projection.projectDegrees(lat * 180.0, lon * 180.0);
        ASSERT_NEAR(back.x, c.x, 1e-3);
        ASSERT_NEAR(back.y, c.y, 1e-3);
        maps::MapPixel expected;
        ASSERT_TRUE(map->withMap([&](const maps::CalibratedMap& m) {
            return m.geoToPixel(lat * 180.0, lon * 180.0, expected);
        }));
        const platform::Pixel16 pixel = buffer.at(c.x, c.y);
        ASSERT_EQ(pixel & platform::kUnpaintedBit, 0) << "the map painted the pixel";
        const maps::MapPixel shown = shownPixel(pixel);
        EXPECT_LE(std::abs(shown.x - std::floor(expected.x)), 1.0f) << "column " << expected.x;
        EXPECT_LE(std::abs(shown.y - std::floor(expected.y)), 1.0f) << "row " << expected.y;
    }
}

// Off the map the frame keeps its background; the track is still drawn over the map.
TEST_F(MapBackdropTest, TheMapLiesUnderTheTrackAndOnlyWhereItReaches) {
    scene.centre.lon += 0.05 / 180.0;  // the map's east edge now crosses the view
    addPoint(0, -60, 10, 12);
    addPoint(0, 60, 10, 12);
    draw();
    EXPECT_EQ(buffer.at(kWidth - 1, kCentreY), platform::toUnpaintedPixel16(scene.colours.back))
        << "east of the map";
    EXPECT_EQ(buffer.at(0, kCentreY) & platform::kUnpaintedBit, 0) << "on the map";
    EXPECT_EQ(buffer.at(kCentreX - 30, kCentreY + 10), px(trackColour(12))) << "the track on top";
}

}  // namespace
}  // namespace wendra::test
