// The frame's track and maps: where the lines land, where they break, what lies on
// top, the guard held while a frame is drawn, and the map under it all.

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include "FrameFixture.h"
#include "maps/MapCatalogue.h"
#include "maps/MapShell.h"
#include "support/TestPaths.h"
#include "support/WaitUntil.h"

namespace wendra::test {
namespace {

using platform::Pixel16;

constexpr std::uint16_t kBlue = 12;

class FrameTrackTest : public FrameFixture {
protected:
    FrameTrackTest() { data.positionShown = false; }  // no marker over the lines
    Pixel16 ink(std::uint16_t colour) const { return px(trackColour(colour)); }
};

TEST_F(FrameTrackTest, LinesRunBetweenTheirPointsPixels) {
    struct Case {
        const char* legend;
        double dx0, dy0, dx1, dy1;  // a two-point main layer, pixels from the centre
        int x, y;                   // a pixel on the line
        std::uint16_t colour;
    };
    const Case cases[] = {
        {"east-west through the centre", -50, 0, 50, 0, kCentreX + 30, kCentreY, 0x0008},
        {"north of the centre", -50, -40, 50, -40, kCentreX - 20, kCentreY - 40, 0x0008},
        {"south-north, east of the centre", 70, 60, 70, -60, kCentreX + 70, kCentreY + 10, kBlue},
        {"diagonal", -30, -30, 30, 30, kCentreX + 10, kCentreY + 10, kBlue},
    };
    for (const Case& c : cases) {
        clearTrack();
        addPoint(0, c.dx0, c.dy0, c.colour);
        addPoint(0, c.dx1, c.dy1, c.colour);
        paint();
        EXPECT_EQ(buffer.at(c.x, c.y), ink(c.colour)) << c.legend;
        // The line ends at its points: two pixels before the first is not the track's.
        const int outX = kCentreX + static_cast<int>(c.dx0) - (c.dx1 > c.dx0 ? 2 : 0);
        const int outY = kCentreY + static_cast<int>(c.dy0) - (c.dy1 > c.dy0 ? 2 : -2);
        EXPECT_NE(buffer.at(outX, outY), ink(c.colour)) << c.legend;
    }
}

TEST_F(FrameTrackTest, SegmentsAndColoursBreakTheLineAsTheyShould) {
    struct Case {
        const char* legend;
        std::uint32_t firstFlags, secondFlags;
        bool join;
        int blue;  // pixels of the row in blue: a one-pixel line leaves out its last
    };
    const Case cases[] = {
        {"no flags", 0, 0, false, 160},
        {"segment end on the first", kSegmentEnd, 0, false, 0},
        {"segment start on the second", 0, kSegmentStart, false, 0},
        {"both, joined", kSegmentEnd, kSegmentStart, true, 160},
    };
    for (const Case& c : cases) {
        clearTrack();
        track.settings.joinFarPoints = c.join;
        addPoint(0, -80, 20, kBlue, c.firstFlags);
        addPoint(0, 80, 20, kBlue, c.secondFlags);
        paint();
        EXPECT_EQ(countInRow(kCentreY + 20, 0, kWidth - 1, ink(kBlue)), c.blue) << c.legend;
    }
    // A colour change goes on from the same point, without a gap.
    clearTrack();
    track.settings.joinFarPoints = false;
    addPoint(0, -60, 0, kBlue);
    addPoint(0, 0, 0, kBlue);
    addPoint(0, 60, 0, 0x0008);
    paint();
    EXPECT_EQ(countInRow(kCentreY, kCentreX - 60, kCentreX - 1, ink(kBlue)), 60);
    EXPECT_EQ(countInRow(kCentreY, kCentreX, kCentreX + 59, ink(0x0008)), 60);
}

TEST_F(FrameTrackTest, TheMainLayerLiesOnTopAndFarLinesAreClippedNotLost) {
    addPoint(1, -100, 0, kBlue);
    addPoint(1, 100, 0, kBlue);
    addPoint(0, 0, -50, 0x0008);
    addPoint(0, 0, 50, 0x0008);
    // From one end of the earth to the other, through the view, on a loaded layer.
    addPoint(2, 0, 30, kBlue).lon = -1.0;
    addPoint(2, 0, 30, kBlue).lon = 1.0;
    paint();
    EXPECT_EQ(buffer.at(kCentreX, kCentreY), ink(0x0008)) << "the main layer on top";
    const int crossing = countInRow(kCentreY + 30, 0, kWidth - 1, ink(kBlue));
    EXPECT_GT(crossing, kWidth / 2) << "dashed all across";
    EXPECT_LT(crossing, kWidth);
}

TEST_F(FrameTrackTest, AFrameWaitsForTheTrackWriterAndHoldsTheGuard) {
    addPoint(0, -60, 0, kBlue);
    addPoint(0, 60, 0, kBlue);
    std::atomic<bool> holding{false};
    std::atomic<bool> release{false};
    std::thread writer([&] {
        TrackLock::Hold hold(track.lock(), u".Add.1");
        holding = true;
        while (!release) std::this_thread::yield();
    });
    while (!holding) std::this_thread::yield();
    std::atomic<bool> drawn{false};
    std::thread painter([&] {
        frame.paintView(&surface, {0, 0, kWidth, kHeight}, {}, data);
        drawn = true;
    });
    // Given time enough to draw, the painter is still waiting: only the lock holds it.
    EXPECT_FALSE(waitUntil([&] { return drawn.load(); }, std::chrono::milliseconds(100)));
    release = true;
    writer.join();
    painter.join();
    surface.flush();
    EXPECT_EQ(buffer.at(kCentreX, kCentreY), ink(kBlue));
    EXPECT_FALSE(track.lock().held());
}

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
    for (const auto& [value, bytes] : {std::pair{54 + rowBytes * kSide, 4},
                                       {0, 4},
                                       {54, 4},
                                       {40, 4},
                                       {kSide, 4},
                                       {kSide, 4},
                                       {1, 2},
                                       {24, 2}})
        putLittle(bmp, static_cast<std::uint32_t>(value), bytes);
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
maps::MapPixel shownPixel(Pixel16 pixel) {
    const int index = ((pixel >> 11) << 10) | (((pixel >> 6) & 31) << 5) | (pixel & 31);
    return {static_cast<float>(index % kSide), static_cast<float>(kSide - 1 - index / kSide)};
}

TEST_F(FrameTrackTest, EachScreenPixelShowsTheMapPixelItsPositionFallsOn) {
    TempDir folder;
    writeFile(folder / "pattern.bmp", indexedBmp());
    maps::MapShell shell;
    maps::MapCatalogue catalogue(shell);
    // Slightly turned and sheared, wider than the view on every side (the view spans
    // about 45.018 to 44.982 north and 8.969 to 9.031 east).
    maps::MapDefinition d;
    d.title = u"pattern";
    d.imagePath = (folder / "pattern.bmp").u16string();
    d.userFlags = maps::kMapActive;
    d.cornerLatitudes = {45.027, 45.029, 44.975, 44.977};
    d.cornerLongitudes = {8.955, 9.040, 8.953, 9.038};
    const maps::MapPtr map = catalogue.newMap();
    ASSERT_TRUE(map->setDefinition(d));
    map->loadNow();
    ASSERT_EQ(map->status(), maps::MapStatus::ActiveLoaded);
    data.maps = &catalogue;
    paint();
    struct Case {
        const char* legend;
        int x, y;
    };
    const Case cases[] = {
        {"top-left corner", 0, 0},
        {"top-right corner", kWidth - 1, 0},
        {"bottom-left corner", 0, kHeight - 1},
        {"bottom-right corner", kWidth - 1, kHeight - 1},
        {"centre", kCentreX + 1, kCentreY + 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        // The position the track would draw on this pixel, north up.
        const double lat = gps.lat - (c.y - kCentreY) / kScale;
        const double lon = gps.lon + (c.x - kCentreX) / (kScale * std::cos(lat * kPi));
        maps::MapPixel expected;
        ASSERT_TRUE(map->withMap([&](const maps::CalibratedMap& m) {
            return m.geoToPixel(lat * 180.0, lon * 180.0, expected);
        }));
        const Pixel16 pixel = buffer.at(c.x, c.y);
        ASSERT_EQ(pixel & platform::kUnpaintedBit, 0) << "the map painted the pixel";
        const maps::MapPixel shown = shownPixel(pixel);
        EXPECT_LE(std::abs(shown.x - std::floor(expected.x)), 1.0f) << "column " << expected.x;
        EXPECT_LE(std::abs(shown.y - std::floor(expected.y)), 1.0f) << "row " << expected.y;
    }
}

}  // namespace
}  // namespace wendra::test
