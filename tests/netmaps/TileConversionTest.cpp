#include "netmaps/TileConversion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "netmaps/TileImages.h"
#include "records/DayNumber.h"
#include "support/TestPaths.h"

namespace wendra::netmaps {
namespace {

using test::Rgba;

constexpr int kJpegTolerance = 4;

// The row a latitude falls on in an image of even Mercator rows, from the top.
double mercatorRow(double latitude, double northEdge, double southEdge) {
    const auto y = [](double lat) {
        const double p = lat * std::numbers::pi / 180;
        return std::log((1 + std::sin(p)) / (1 - std::sin(p))) / (4 * std::numbers::pi);
    };
    return 255 * (y(northEdge) - y(latitude)) / (y(northEdge) - y(southEdge));
}

TEST(TileConversion, BlendsByOverlayAlpha) {
    struct Case {
        int o, a, b, expected;
    } cases[] = {
        {200, 255, 10, 200},                       // opaque overlay wins
        {200, 0, 10, 10},                          // transparent overlay leaves the base
        {255, 128, 0, 128},  {100, 51, 200, 180},  // (100*51 + 204*200) / 255, truncated
        {0, 1, 255, 254},
    };
    for (const Case& c : cases)
        EXPECT_EQ(blendComponent(c.o, c.a, c.b), c.expected) << c.o << "," << c.a << "," << c.b;
}

TEST(TileConversion, RowsEvenInLatitude) {
    // Level 3, second row from the north: a strong stretch across the tile.
    const TileAddress tile{5, 2, 3};
    const TileCorners c = tileCorners(tile);
    const std::array<int, kTilePixels> rows = reprojectionRows(tile);
    for (int i = 0; i < kTilePixels; ++i) {
        const double lat = i / 255.0 * (c.north - c.south) + c.south;
        const int expected =
            std::clamp(static_cast<int>(mercatorRow(lat, c.north, c.south) + 1e-9), 0, 255);
        EXPECT_NEAR(rows[static_cast<std::size_t>(255 - i)], expected, 1)
            << "row from bottom " << i;
    }
    EXPECT_EQ(rows.front(), 0);
    EXPECT_GE(rows.back(), 254);
    // The equator side of a northern tile is stretched: the middle row lies south of
    // the image's middle.
    EXPECT_GT(rows[128], 128);
    EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end()));
}

struct Converted {
    ConversionResult result;
    Tile tile;
    std::vector<std::uint8_t> rgb;
};

class ConversionFixture : public ::testing::Test {
protected:
    Converted convert(TileType base, TileType overlay, const std::atomic<bool>& cancel,
                      bool background = false) {
        Converted c;
        c.tile.address = {3, 5, 4};  // level 4, north of the equator
        c.tile.baseType = base;
        if (overlay != TileType::None) {
            c.tile.overlayType = overlay;
            c.tile.flags |= tileflag::kHasOverlay;
        }
        c.result = background ? convertTileInBackground(c.tile, files, cancel)
                              : convertTile(c.tile, files, cancel);
        c.rgb = test::decodeTileRgb(files.target);
        return c;
    }
    test::TempDir dir;
    ConversionFiles files =
        scratchFiles(dir.path(), dir / "cache/OSM-Mapnik-Road/04/00000005/00000003.jpg");
    std::atomic<bool> notCancelled{false};
};

TEST_F(ConversionFixture, EitherBaseWithAndWithoutOverlay) {
    // A grey ramp down the tile shows where each output row came from; the overlay is
    // half-transparent red over the left half only.
    const auto ramp = [](int, int y) { return Rgba{std::uint8_t(y), std::uint8_t(y), 40}; };
    test::writeTilePng(
        files.overlay,
        [](int x, int) {
            return x < 128 ? Rgba{250, 0, 0, 128} : Rgba{0, 0, 0, 0};
        },
        true);
    const std::array<int, kTilePixels> rows = reprojectionRows({3, 5, 4});
    struct Case {
        const char* legend;
        TileType base;
        TileType overlay;
        bool blended;
    } cases[] = {
        {"PNG base", TileType::Png, TileType::None, false},
        {"JPEG base", TileType::Jpeg, TileType::None, false},
        {"PNG base, PNG overlay", TileType::Png, TileType::Png, true},
        {"JPEG base, PNG overlay", TileType::Jpeg, TileType::Png, true},
        {"an overlay that is no PNG is left out", TileType::Png, TileType::Jpeg, false},
    };
    for (const Case& k : cases) {
        if (k.base == TileType::Png)
            test::writeTilePng(files.base, ramp, false);
        else
            test::writeTileJpeg(files.base, ramp);
        const double before = currentDayNumber();
        const Converted c = convert(k.base, k.overlay, notCancelled);
        ASSERT_EQ(c.result, ConversionResult::Done) << k.legend;
        ASSERT_EQ(c.rgb.size(), 256u * 256 * 3) << k.legend;
        EXPECT_TRUE(c.tile.inCache());
        EXPECT_FALSE(c.tile.has(tileflag::kConverting));
        EXPECT_EQ(c.tile.fileSize, std::filesystem::file_size(files.target));
        EXPECT_GE(c.tile.stamp, before);
        for (int r : {0, 60, 128, 200, 255}) {
            const std::uint8_t* left = &c.rgb[(r * 256 + 64) * 3];
            const std::uint8_t* right = &c.rgb[(r * 256 + 192) * 3];
            const int source = rows[static_cast<std::size_t>(r)];
            EXPECT_NEAR(right[0], source, kJpegTolerance) << k.legend << " row " << r;
            const int red = k.blended ? (250 * 128 + 127 * source) / 255 : source;
            const int green = k.blended ? (127 * source) / 255 : source;
            EXPECT_NEAR(left[0], red, kJpegTolerance) << k.legend << " row " << r;
            EXPECT_NEAR(left[1], green, kJpegTolerance) << k.legend << " row " << r;
        }
        std::filesystem::remove(files.target);
    }
}

TEST_F(ConversionFixture, FailuresLeaveNoTileMarked) {
    // A tile of the same address converted before stays as it was.
    test::writeTilePng(
        files.base,
        [](int, int) {
            return Rgba{1, 2, 3};
        },
        false);
    ASSERT_EQ(convert(TileType::Png, TileType::None, notCancelled).result, ConversionResult::Done);
    const std::string previous = test::readFile(files.target);

    std::atomic<bool> cancel{true};
    for (bool background : {false, true}) {
        const Converted c = convert(TileType::Png, TileType::None, cancel, background);
        EXPECT_EQ(c.result, ConversionResult::Cancelled);
        EXPECT_FALSE(c.tile.inCache());
    }
    test::writeFile(files.base, "<html>not an image</html>");
    for (TileType type : {TileType::Png, TileType::Jpeg}) {
        const Converted c = convert(type, TileType::None, notCancelled);
        EXPECT_EQ(c.result, ConversionResult::BaseUnreadable);
        EXPECT_FALSE(c.tile.inCache());
    }
    std::filesystem::remove(files.base);
    EXPECT_EQ(convert(TileType::Png, TileType::None, notCancelled).result,
              ConversionResult::BaseUnreadable);
    EXPECT_EQ(test::readFile(files.target), previous);
    for (const auto& entry : std::filesystem::directory_iterator(files.target.parent_path()))
        EXPECT_EQ(entry.path(), files.target) << "left behind";
}

TEST_F(ConversionFixture, SmallerImageAndBackgroundThread) {
    // A server's 64-pixel answer fills the top-left corner, the rest stays black.
    test::writeTilePng(
        files.base,
        [](int, int) {
            return Rgba{200, 200, 200};
        },
        false, 64);
    const Converted c = convert(TileType::Png, TileType::None, notCancelled, true);
    ASSERT_EQ(c.result, ConversionResult::Done);
    EXPECT_NEAR(c.rgb[(10 * 256 + 10) * 3], 200, kJpegTolerance);
    EXPECT_NEAR(c.rgb[(10 * 256 + 200) * 3], 0, kJpegTolerance);
}

}  // namespace
}  // namespace wendra::netmaps
