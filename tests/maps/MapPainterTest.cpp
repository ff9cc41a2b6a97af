// Painting a map into a cell of the view: every painted pixel shows the map pixel
// that geoToPixel gives for its position (to a pixel), only unpainted pixels change
// and the count follows them, and no corners make the painter leave its buffers
// (the random table is meant for the sanitizer build).

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>

#include "maps/MapPainter.h"

namespace wendra::test {
namespace {

using maps::CalibratedMap;
using maps::MapCell;
using maps::MapImage;
using platform::kUnpaintedBit;
using platform::Pixel16;
using platform::PixelBuffer;

// The view: lon = 7 + x * kStep, lat = 46 - y * kStep for screen pixel (x, y).
constexpr double kLon0 = 7.0, kLat0 = 46.0, kStep = 1e-4;
constexpr int kViewWidth = 64, kViewHeight = 48;
constexpr Pixel16 kBackground = 0x7BEF | kUnpaintedBit;
constexpr Pixel16 kAlreadyPainted = 0x0001;  // bit 5 clear, never a map code below
constexpr Pixel16 kLeftOver = 0xFFFF;  // what a fresh cell held: neither map nor background

// Each map pixel its own value, bit 5 clear: code x * height + y (y from the bottom).
Pixel16 encode(int code) {
    return static_cast<Pixel16>(((code >> 5) << 6) | (code & 0x1F));
}
int decode(Pixel16 pixel) {
    return ((pixel >> 6) << 5) | (pixel & 0x1F);
}

// Corners of a map centred on the view's middle, half sizes in view pixels, turned
// by `angle` and sheared along x by `shear` (both in (lon, lat) space).
CalibratedMap placedMap(int width, int height, double halfX, double halfY, double angle = 0,
                        double shear = 0, double shiftX = 0) {
    const double cx = kLon0 + (kViewWidth / 2.0 + shiftX) * kStep;
    const double cy = kLat0 - kViewHeight / 2.0 * kStep;
    const double ux[] = {-1, 1, -1, 1}, uy[] = {1, 1, -1, -1};
    maps::MapDefinition d;
    d.imagePath = u"/maps/test.png";
    for (int k = 0; k < 4; ++k) {
        const double px = (ux[k] + shear * uy[k]) * halfX * kStep, py = uy[k] * halfY * kStep;
        d.cornerLongitudes[k] = cx + px * std::cos(angle) - py * std::sin(angle);
        d.cornerLatitudes[k] = cy + px * std::sin(angle) + py * std::cos(angle);
    }
    d.width = width;
    d.height = height;
    d.bytesPerPixel = 2;
    CalibratedMap map;
    EXPECT_TRUE(map.setDefinition(d));
    return map;
}

std::unique_ptr<MapImage> codedImage(int width, int height) {
    auto image = MapImage::allocate({width, height, false});
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image->pixelRow(y)[x] = encode(x * height + y);
    return image;
}

MapCell viewCell(int left, int top, int right, int bottom) {
    auto at = [](int x, int y) {
        return maps::CellCorner{kLat0 - y * kStep, kLon0 + x * kStep, x, y};
    };
    return {at(left, top), at(right, top), at(left, bottom), at(right, bottom)};
}

// A checkerboard of pixels that a better map painted before.
PixelBuffer freshView(bool prepainted) {
    PixelBuffer view({kViewWidth, kViewHeight}, kBackground);
    if (prepainted)
        for (int y = 0; y < kViewHeight; y += 3)
            for (int x = y % 2; x < kViewWidth; x += 5) view.set(x, y, kAlreadyPainted);
    return view;
}

struct Outcome {
    int painted = 0;  // pixels that were unpainted and now show the map
    int misplaced = 0;
    int missed = 0;      // well inside the map yet left unpainted
    int trespassed = 0;  // painted before, or outside the cell, and changed
};

Outcome judge(const CalibratedMap& map, const MapCell& cell, const PixelBuffer& before,
              const PixelBuffer& after) {
    Outcome o;
    const int w = map.definition().width, h = map.definition().height;
    const platform::Rect area{cell[0].x, cell[0].y, cell[3].x, cell[3].y};
    for (int y = 0; y < kViewHeight; ++y) {
        for (int x = 0; x < kViewWidth; ++x) {
            const Pixel16 was = before.at(x, y), now = after.at(x, y);
            if (!(was & kUnpaintedBit) || !area.contains({x, y})) {
                o.trespassed += was != now;
                continue;
            }
            maps::MapPixel expect;
            if (!map.geoToPixel(kLat0 - y * kStep, kLon0 + x * kStep, expect)) {
                ++o.misplaced;
                continue;
            }
            const bool wellInside =
                expect.x >= 1 && expect.x <= w - 2 && expect.y >= 1 && expect.y <= h - 2;
            if (now & kUnpaintedBit) {
                o.missed += wellInside;
                continue;
            }
            ++o.painted;
            const int code = decode(now);
            // The pixel geoToPixel picks, or a neighbour: the walk steps in fixed point.
            o.misplaced += std::abs(code / h - int(std::floor(expect.x))) > 1 ||
                           std::abs(code % h - int(std::floor(expect.y))) > 1;
        }
    }
    return o;
}

TEST(MapPainter, PaintsWhatGeoToPixelPlaces) {
    const struct {
        const char* legend;
        CalibratedMap map;
        MapCell cell;
        bool prepainted;
        int painted;  // -1: some, not checked exactly
    } cases[] = {
        {"north-up, larger than the view", placedMap(90, 70, 40, 30), viewCell(0, 0, 64, 48), false,
         64 * 48},
        {"one map pixel per screen pixel, a better map's pixels kept", placedMap(81, 61, 40, 30),
         viewCell(0, 0, 64, 48), true, -1},
        {"north-up, 2x zoom", placedMap(40, 30, 40, 30), viewCell(0, 0, 64, 48), false, 64 * 48},
        {"map inside the view", placedMap(50, 30, 20, 12), viewCell(0, 0, 64, 48), false, -1},
        {"rotated 30 degrees", placedMap(60, 50, 30, 25, 0.52), viewCell(0, 0, 64, 48), false, -1},
        {"rotated and sheared", placedMap(70, 40, 28, 18, -1.1, 0.4), viewCell(0, 0, 64, 48), false,
         -1},
        {"upside down (180 degrees)", placedMap(90, 70, 40, 30, 3.14159), viewCell(0, 0, 64, 48),
         false, 64 * 48},
        {"quarter turn: rows walk along y only", placedMap(70, 90, 30, 40, 1.5707963),
         viewCell(0, 0, 64, 48), false, 64 * 48},
        {"some pixels painted by a better map", placedMap(90, 70, 40, 30), viewCell(0, 0, 64, 48),
         true, -1},
        {"cell off the buffer's left and bottom", placedMap(90, 70, 40, 30),
         viewCell(-20, 10, 30, 70), false, 30 * 38},
        {"cell off every side", placedMap(90, 70, 40, 30), viewCell(-9, -7, 80, 60), false,
         64 * 48},
        {"cell partly off the image", placedMap(30, 20, 15, 10, 0, 0, 20), viewCell(10, 5, 60, 40),
         false, -1},
        {"cell wholly off the image", placedMap(30, 20, 15, 10, 0, 0, 20), viewCell(0, 0, 20, 48),
         false, 0},
        {"cell wholly off the buffer", placedMap(90, 70, 40, 30), viewCell(70, 0, 90, 48), false,
         0},
        {"degenerate cell, no width", placedMap(90, 70, 40, 30), viewCell(10, 0, 10, 48), false, 0},
        {"inverted cell", placedMap(90, 70, 40, 30), viewCell(40, 30, 10, 5), false, 0},
    };
    for (const auto& c : cases) {
        const int w = c.map.definition().width, h = c.map.definition().height;
        const auto image = codedImage(w, h);
        const PixelBuffer before = freshView(c.prepainted);
        PixelBuffer view = before;
        std::int64_t unpainted = 1000000;
        const bool changed = maps::paintMapCell(c.map, *image, c.cell, view, unpainted);
        const Outcome o = judge(c.map, c.cell, before, view);
        EXPECT_EQ(o.misplaced, 0) << c.legend;
        EXPECT_EQ(o.missed, 0) << c.legend;
        EXPECT_EQ(o.trespassed, 0) << c.legend;
        EXPECT_EQ(1000000 - unpainted, o.painted) << c.legend;
        EXPECT_EQ(changed, o.painted > 0) << c.legend;
        if (c.painted >= 0) {
            EXPECT_EQ(o.painted, c.painted) << c.legend;
        } else {
            EXPECT_GT(o.painted, 0) << c.legend;
        }
    }
}

// A north-up map at `zoom` screen pixels per map pixel, moved along x by `shear` map
// pixels per screen row, and placed so that every screen pixel's map position lies
// an eighth of a pixel or more from a pixel edge: pixel (0, 0) sits at map x `startX`
// and at y a quarter and an eighth below a row's top, so each screen pixel has one
// map pixel and no walk may miss it.
CalibratedMap exactZoomMap(int width, int height, int zoom, double startX, double shear) {
    const double topFraction = 0.375;
    maps::MapDefinition d;
    d.imagePath = u"/maps/zoom.png";
    const int columns[] = {0, width - 1, 0, width - 1}, rows[] = {height - 1, height - 1, 0, 0};
    for (int k = 0; k < 4; ++k) {
        const double screenRow = (height - 1 - topFraction - rows[k]) * zoom;
        const double screenColumn = (columns[k] - startX - shear * screenRow) * zoom;
        d.cornerLongitudes[k] = kLon0 + screenColumn * kStep;
        d.cornerLatitudes[k] = kLat0 - screenRow * kStep;
    }
    d.width = width;
    d.height = height;
    d.bytesPerPixel = 2;
    CalibratedMap map;
    EXPECT_TRUE(map.setDefinition(d));
    return map;
}

TEST(MapPainter, ExactZoomsShowTheMapPixelUnderEachScreenPixel) {
    constexpr int kWidth = 70, kHeight = 52;
    const struct {
        const char* legend;
        int zoom;
        double startX, shear;
        MapCell cell;
    } cases[] = {
        {"1:1", 1, 0.125, 0, viewCell(0, 0, 64, 48)},
        {"2x, rows start on a map pixel's first half", 2, 0.25, 0, viewCell(0, 0, 64, 48)},
        {"2x, rows start on a map pixel's second half", 2, 0.75, 0, viewCell(0, 0, 64, 48)},
        {"2x, odd cell edges", 2, 0.25, 0, viewCell(3, 1, 60, 46)},
        {"4x, first quarter", 4, 0.125, 0, viewCell(0, 0, 64, 48)},
        {"4x, second quarter, odd cell edges", 4, 0.375, 0, viewCell(1, 3, 62, 45)},
        {"4x, third quarter", 4, 0.625, 0, viewCell(0, 0, 63, 48)},
        {"4x, last quarter", 4, 0.875, 0, viewCell(5, 0, 59, 47)},
        {"3x: no whole fraction of a pixel", 3, 0.125, 0, viewCell(0, 0, 64, 48)},
        {"2x, rows on one map row start half a pixel apart", 2, 0.25, 0.5, viewCell(0, 0, 64, 48)},
    };
    for (const auto& c : cases) {
        const CalibratedMap map = exactZoomMap(kWidth, kHeight, c.zoom, c.startX, c.shear);
        const auto direct = codedImage(kWidth, kHeight);
        auto indexed = MapImage::allocate({kWidth, kHeight, true});
        for (int i = 0; i < 256; ++i) indexed->palette()[i] = encode(i);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) indexed->indexRow(y)[x] = std::uint8_t(x + 5 * y);
        const platform::Rect area{c.cell[0].x, c.cell[0].y, c.cell[3].x, c.cell[3].y};
        for (const MapImage* image : {direct.get(), indexed.get()}) {
            const PixelBuffer before = freshView(true);
            PixelBuffer view = before;
            std::int64_t unpainted = 0;
            maps::paintMapCell(map, *image, c.cell, view, unpainted);
            int wrong = 0, painted = 0;
            for (int y = 0; y < kViewHeight; ++y) {
                for (int x = 0; x < kViewWidth; ++x) {
                    Pixel16 expect = before.at(x, y);
                    if ((expect & kUnpaintedBit) && area.contains({x, y})) {
                        maps::MapPixel at;
                        ASSERT_TRUE(map.geoToPixel(kLat0 - y * kStep, kLon0 + x * kStep, at));
                        const int mx = int(std::floor(at.x)), my = int(std::floor(at.y));
                        expect = image->hasPalette() ? encode((mx + 5 * my) & 0xFF)
                                                     : encode(mx * kHeight + my);
                        ++painted;
                    }
                    wrong += view.at(x, y) != expect;
                }
            }
            EXPECT_EQ(wrong, 0) << c.legend << (image->hasPalette() ? ", palette" : "");
            EXPECT_EQ(-unpainted, painted) << c.legend;
        }
    }
}

// Rows far longer than the walk's blocks: every pixel of a 2x zoom, end to end.
TEST(MapPainter, LongRowsArePaintedWhole) {
    constexpr int kWidth = 9000, kMapWidth = 4600, kMapHeight = 3;
    maps::MapDefinition d;
    d.imagePath = u"/maps/long.png";
    const double east = kLon0 + (kMapWidth - 1) * 2 * kStep;
    d.cornerLatitudes = {kLat0, kLat0, kLat0 - 4 * kStep, kLat0 - 4 * kStep};
    d.cornerLongitudes = {kLon0, east, kLon0, east};
    d.width = kMapWidth;
    d.height = kMapHeight;
    d.bytesPerPixel = 2;
    CalibratedMap map;
    ASSERT_TRUE(map.setDefinition(d));
    const auto image = codedImage(kMapWidth, kMapHeight);
    PixelBuffer view({kWidth, 1}, kBackground);
    const maps::CellCorner left{kLat0 - kStep, kLon0, 0, 0},
        right{kLat0 - kStep, kLon0 + kWidth * kStep, kWidth, 0};
    MapCell cell{left, right, left, right};
    cell[2].y = cell[3].y = 1;
    std::int64_t unpainted = 0;
    ASSERT_TRUE(maps::paintMapCell(map, *image, cell, view, unpainted));
    EXPECT_EQ(unpainted, -kWidth);
    for (int x = 0; x < kWidth; ++x)
        ASSERT_LE(std::abs(decode(view.at(x, 0)) / kMapHeight - x / 2), 1) << "pixel " << x;
}

// A palette bitmap paints the colours of its table exactly as the same picture in
// true colour does.
TEST(MapPainter, PaletteImagePaintsThroughItsTable) {
    const CalibratedMap map = placedMap(50, 40, 30, 22, 0.3);
    auto indexed = MapImage::allocate({50, 40, true});
    auto direct = MapImage::allocate({50, 40, false});
    for (int i = 0; i < 256; ++i) indexed->palette()[i] = encode(i * 97 % 32749);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 50; ++x) {
            const int index = (x * 7 + y * 13) & 0xFF;
            indexed->indexRow(y)[x] = static_cast<std::uint8_t>(index);
            direct->pixelRow(y)[x] = indexed->palette()[index];
        }
    }
    PixelBuffer a = freshView(true), b = freshView(true);
    std::int64_t countA = 0, countB = 0;
    const MapCell cell = viewCell(-3, 2, 60, 50);
    ASSERT_TRUE(maps::paintMapCell(map, *indexed, cell, a, countA));
    ASSERT_TRUE(maps::paintMapCell(map, *direct, cell, b, countB));
    EXPECT_EQ(countA, countB);
    for (int y = 0; y < kViewHeight; ++y)
        for (int x = 0; x < kViewWidth; ++x) ASSERT_EQ(a.at(x, y), b.at(x, y)) << x << "," << y;
}

TEST(MapPainter, RefusesWhatItCannotPlace) {
    const CalibratedMap map = placedMap(90, 70, 40, 30);
    const auto image = codedImage(90, 70);
    const auto smaller = codedImage(60, 70);
    MapCell farAway = viewCell(0, 0, 64, 48);
    // Corner 3 across the globe: beyond the fixed point's range of the walk.
    farAway[3].latitude = -40;
    farAway[3].longitude = 170;
    MapCell notANumber = viewCell(0, 0, 64, 48);
    notANumber[1].longitude = std::nan("");
    const struct {
        const char* legend;
        const MapImage& image;
        MapCell cell;
    } cases[] = {
        {"bitmap of another size than the definition", *smaller, viewCell(0, 0, 64, 48)},
        {"corners too far apart", *image, farAway},
        {"a corner without a position", *image, notANumber},
    };
    for (const auto& c : cases) {
        PixelBuffer view = freshView(false);
        std::int64_t unpainted = 0;
        EXPECT_FALSE(maps::paintMapCell(map, c.image, c.cell, view, unpainted)) << c.legend;
        EXPECT_EQ(unpainted, 0) << c.legend;
    }
}

// Random maps and cells, many far off the buffer or the image: the sanitizer checks
// every access, the test that the count matches the pixels changed outside the cell.
// Written fresh over what the view held, a cell comes out as the masked paint into
// the background leaves it, or untouched when the map cannot show in it.
TEST(MapPainter, RandomCornersStayInsideBothBuffers) {
    std::mt19937 random(20240615);
    std::uniform_real_distribution<double> unit(-1, 1);
    std::uniform_int_distribution<int> side(1, 40), screen(-80, 140);
    for (int round = 0; round < 3000; ++round) {
        const int w = side(random), h = side(random);
        const bool wild = round % 7 == 0;
        const CalibratedMap map =
            placedMap(w, h, 40 * (1.05 + unit(random)), 30 * (1.05 + unit(random)),
                      3.2 * unit(random), 0.5 * unit(random), 60 * unit(random));
        auto image = MapImage::allocate({w, h, round % 2 == 0});
        if (image->hasPalette()) {
            for (int i = 0; i < 256; ++i) image->palette()[i] = encode(i);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) image->indexRow(y)[x] = std::uint8_t(x + y);
        } else {
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) image->pixelRow(y)[x] = encode(x + y);
        }
        MapCell cell = viewCell(screen(random), screen(random), screen(random), screen(random));
        if (wild)
            for (auto& corner : cell) corner.longitude += 30 * unit(random);
        PixelBuffer view = freshView(round % 3 == 0);
        const PixelBuffer before = view;
        std::int64_t unpainted = 0;
        maps::paintMapCell(map, *image, cell, view, unpainted);
        const platform::Rect area{cell[0].x, cell[0].y, cell[3].x, cell[3].y};
        std::int64_t changed = 0;
        for (int y = 0; y < kViewHeight; ++y) {
            for (int x = 0; x < kViewWidth; ++x) {
                if (before.at(x, y) == view.at(x, y)) continue;
                ++changed;
                ASSERT_TRUE(area.contains({x, y}) && (before.at(x, y) & kUnpaintedBit))
                    << "round " << round << " pixel " << x << "," << y;
            }
        }
        ASSERT_EQ(-unpainted, changed) << "round " << round;
        if (round % 3 == 0) continue;
        PixelBuffer fresh({kViewWidth, kViewHeight}, kLeftOver);
        std::int64_t freshCount = 0;
        maps::paintMapCell(map, *image, cell, fresh, freshCount, kBackground);
        ASSERT_EQ(freshCount, unpainted) << "round " << round;
        int wrong = 0, written = 0, kept = 0;
        for (int y = 0; y < kViewHeight; ++y) {
            for (int x = 0; x < kViewWidth; ++x) {
                const Pixel16 now = fresh.at(x, y);
                if (!area.contains({x, y})) {
                    wrong += now != kLeftOver;
                    continue;
                }
                kept += now == kLeftOver;
                written += now != kLeftOver;
                wrong += now != kLeftOver && now != view.at(x, y);
            }
        }
        ASSERT_EQ(wrong, 0) << "round " << round;
        ASSERT_TRUE(written == 0 || kept == 0) << "round " << round;
    }
}

}  // namespace
}  // namespace wendra::test
