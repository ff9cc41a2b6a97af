#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "ViewFixture.h"
#include "support/WaitUntil.h"
#include "view/InfoLine.h"

namespace wendra::test {
namespace {

using platform::Pixel16;

constexpr std::uint16_t kRed3px = 0x0208;  // palette 8, two extra pixels of width
constexpr std::uint16_t kBlue = 12;

class PlainViewTest : public ViewFixture {
protected:
    PlainViewTest() { scene.infoLineMode = 0; }

    Pixel16 background() const { return platform::toUnpaintedPixel16(scene.colours.back); }
    // How many pixels of the row, from x0 to x1 included, have the pixel.
    int countInRow(int y, int x0, int x1, Pixel16 pixel) const {
        int n = 0;
        for (int x = x0; x <= x1; ++x) n += buffer.at(x, y) == pixel;
        return n;
    }
    int count(Pixel16 pixel) const {
        int n = 0;
        for (int y = 0; y < kHeight; ++y) n += countInRow(y, 0, kWidth - 1, pixel);
        return n;
    }
};

TEST_F(PlainViewTest, TrackPointsLandOnTheirPixelsNorthUp) {
    struct Case {
        const char* legend;
        double dx0, dy0, dx1, dy1;  // a two-point main layer, pixels from the centre
        int x, y;                   // a pixel on the line
        std::uint16_t colour;
    };
    const Case cases[] = {
        {"east-west through the centre", -50, 0, 50, 0, kCentreX + 30, kCentreY, 0x0008},
        {"north of the centre", -50, -40, 50, -40, kCentreX - 20, kCentreY - 40, 0x0008},
        {"south-north, east of the centre", 70, 60, 70, -60, kCentreX + 70, kCentreY + 10, 0x000C},
        {"diagonal", -30, -30, 30, 30, kCentreX + 10, kCentreY + 10, 0x000C},
    };
    for (const Case& c : cases) {
        track.clearLayer(0);
        addPoint(0, c.dx0, c.dy0, c.colour);
        addPoint(0, c.dx1, c.dy1, c.colour);
        EXPECT_EQ(drawAndRead(c.x, c.y), px(trackColour(c.colour))) << c.legend;
        // The line ends at its points: one pixel beyond the first is not the track's.
        const int outX = kCentreX + static_cast<int>(c.dx0) - (c.dx1 > c.dx0 ? 2 : 0);
        const int outY = kCentreY + static_cast<int>(c.dy0) - (c.dy1 > c.dy0 ? 2 : -2);
        EXPECT_NE(buffer.at(outX, outY), px(trackColour(c.colour))) << c.legend;
    }
}

TEST_F(PlainViewTest, ColourWordGivesPaletteColourAndWidthWithAHaloOnTheMainLayer) {
    addPoint(0, -60, 0, kRed3px);
    addPoint(0, 60, 0, kRed3px);
    draw();
    const Pixel16 red = px(paletteColour(8));
    EXPECT_EQ(countInRow(kCentreY - 1, kCentreX, kCentreX, red) +
                  countInRow(kCentreY, kCentreX, kCentreX, red) +
                  countInRow(kCentreY + 1, kCentreX, kCentreX, red),
              3);
    // The halo is in the background colour, painted (so not the unpainted mark).
    EXPECT_EQ(buffer.at(kCentreX, kCentreY - 2), px(scene.colours.back));
}

TEST_F(PlainViewTest, SegmentBreaksLeaveNoLineUnlessFarPointsAreJoined) {
    struct Case {
        const char* legend;
        std::uint32_t firstFlags, secondFlags;
        bool join;
        bool line;
    };
    const Case cases[] = {
        {"no flags", 0, 0, false, true},
        {"segment end on the first", kSegmentEnd, 0, false, false},
        {"segment start on the second", 0, kSegmentStart, false, false},
        {"both, joined", kSegmentEnd, kSegmentStart, true, true},
    };
    for (const Case& c : cases) {
        track.clearLayer(0);
        track.settings.joinFarPoints = c.join;
        addPoint(0, -80, 20, kBlue, c.firstFlags);
        addPoint(0, 80, 20, kBlue, c.secondFlags);
        draw();
        // A line leaves out its last pixel.
        const int blue = countInRow(kCentreY + 20, 0, kWidth - 1, px(paletteColour(kBlue)));
        if (c.line)
            EXPECT_EQ(blue, 160) << c.legend;
        else
            EXPECT_EQ(blue, 0) << c.legend;
    }
}

TEST_F(PlainViewTest, AColourChangeGoesOnWithoutAGap) {
    addPoint(0, -60, 0, kBlue);
    addPoint(0, 0, 0, kBlue);
    addPoint(0, 60, 0, 0x0008);
    draw();
    EXPECT_EQ(countInRow(kCentreY, kCentreX - 60, kCentreX - 1, px(paletteColour(kBlue))), 60);
    EXPECT_EQ(countInRow(kCentreY, kCentreX + 1, kCentreX + 59, px(paletteColour(8))), 59);
}

TEST_F(PlainViewTest, LoadedLayersAreDashedAndLieUnderTheMainLayer) {
    addPoint(1, -100, 0, kBlue);
    addPoint(1, 100, 0, kBlue);
    addPoint(0, 0, -50, 0x0008);
    addPoint(0, 0, 50, 0x0008);
    draw();
    const int blue = countInRow(kCentreY, 0, kWidth - 1, px(paletteColour(kBlue)));
    EXPECT_GT(blue, 40);
    EXPECT_LT(blue, 190);  // dashes leave gaps
    EXPECT_EQ(buffer.at(kCentreX, kCentreY), px(paletteColour(8)));
}

TEST_F(PlainViewTest, FarPointsAreClippedAndLinesCrossingTheViewStillShow) {
    // From one end of the earth to the other, through the view.
    TrackPoint& west = addPoint(0, 0, 0, kBlue);
    west.lon = -1.0;
    TrackPoint& east = addPoint(0, 0, 0, kBlue);
    east.lon = 1.0;
    addPoint(0, 1.0e9, 1.0e9, kBlue);  // and far away to the south-east
    draw();
    EXPECT_EQ(countInRow(kCentreY, 0, kWidth - 1, px(paletteColour(kBlue))), kWidth);
}

TEST_F(PlainViewTest, FollowingPutsTheMarkerInTheGpsColourAtTheCentre) {
    struct Case {
        const char* legend;
        PositionMark mark;
        Pixel16 wedge;  // a wedge pixel around the centre
    };
    const Case cases[] = {
        {"fix shown", PositionMark::Shown, px(scene.colours.gps)},
        {"no fix: grey at the centre", PositionMark::NoFix, px(kNotLiveColour)},
        {"nothing shown", PositionMark::NotShown, background()},
    };
    for (const Case& c : cases) {
        scene.centre = ViewCentre{0.25, 0.05};
        scene.fix = fixAt(-300, 500);  // far from where the view looked
        scene.position = c.mark;
        scene.centre = followGps(scene.centre, scene.fix, scene.position);
        draw();
        for (const auto& [x, y] : {std::pair{-10, 0}, {10, 0}, {0, -10}, {0, 10}})
            EXPECT_EQ(buffer.at(kCentreX + x, kCentreY + y), c.wedge) << c.legend;
        // The wedges point at the position but leave it free.
        EXPECT_EQ(buffer.at(kCentreX, kCentreY), background()) << c.legend;
    }
}

TEST_F(PlainViewTest, EmptyTrackDrawsBackgroundMarkerAndBandOnly) {
    scene.infoLineMode = 1;
    scene.position = PositionMark::Shown;
    scene.fix = fixAt(0, 0);
    draw();
    EXPECT_EQ(buffer.at(5, 5), background());
    EXPECT_EQ(buffer.at(kCentreX - 10, kCentreY), px(scene.colours.gps));
    EXPECT_EQ(buffer.at(kWidth / 3, kHeight - 1), px(scene.colours.gps));
}

TEST_F(PlainViewTest, StatusTextIsABoxInTheMiddle) {
    scene.status = u"Track: Activated\nsecond line";
    draw();
    // Outlined in the text colour, filled with the background (painted).
    const Pixel16 ink = px(scene.colours.draw);
    int outlineRows = 0;
    for (int y = 0; y < kHeight; ++y) outlineRows += buffer.at(kCentreX, y) == ink;
    EXPECT_GE(outlineRows, 2);
    EXPECT_EQ(buffer.at(5, kCentreY), background());
    EXPECT_GT(count(px(scene.colours.back)), 0);
}

TEST_F(PlainViewTest, WalksTheLayersUnderTheTrackLock) {
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
    std::atomic<bool> started{false};
    std::atomic<bool> drawn{false};
    std::thread painter([&] {
        started = true;
        view.draw(surface, scene);
        drawn = true;
    });
    EXPECT_TRUE(waitUntil([&] { return started.load(); }));
    // Given time enough to draw, the painter is still waiting: only the lock holds it.
    EXPECT_FALSE(waitUntil([&] { return drawn.load(); }, std::chrono::milliseconds(100)));
    release = true;
    writer.join();
    painter.join();
    EXPECT_TRUE(drawn);
    EXPECT_FALSE(track.lock().held());
}

}  // namespace
}  // namespace wendra::test
