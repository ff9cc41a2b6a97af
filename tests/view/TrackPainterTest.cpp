// Lines moved with the view instead of placed anew land where placed lines would.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "platform/qt/QtDrawingSurface.h"
#include "track/PointValues.h"
#include "track/Track.h"
#include "track/TrackPoint.h"
#include "track/TrackUnits.h"
#include "view/TrackPainter.h"
#include "view/ViewCycle.h"
#include "view/ViewGeometry.h"

namespace wendra::test {
namespace {

using platform::Pixel16;
using platform::PixelBuffer;

constexpr int kWidth = 240;
constexpr int kHeight = 200;
constexpr double kLat = 0.25;  // 45 degrees north
constexpr double kLon = 0.05;
constexpr std::uint16_t kMainColour = 0x0008;  // red, one pixel
constexpr std::uint16_t kLoadedColour = 0x010c;  // blue, two pixels: solid

struct Scene {
    explicit Scene(float scale, int rotation) {
        view.zoomWord = zoom::kManual;
        view.scale = view.manualScale = scale;
        turnTo(rotation);
        view.setCentre(kLat, kLon);
        // Two wavy paths across the view and beyond its edges.
        for (int i = -250; i <= 250; ++i) {
            add(Track::kMainLayer, 1.7 * i, 30.0 * std::sin(i / 9.0), kMainColour);
            add(2, 2.2 * i, 0.3 * i + 25.0 * std::sin(i / 7.0), kLoadedColour);
        }
    }
    void turnTo(int degrees) {
        view.heading = TrigTables::wrapDegrees(degrees);
        view.jumpRotation();
    }
    // A point (dx, dy) pixels from the first centre, x east, y south, north up.
    void add(int layer, double dx, double dy, std::uint16_t colour) {
        TrackPoint& point = *track.layer(layer).append();
        point.lat = kLat - dy / view.scale;
        point.latRad = point.lat * kPi;
        point.cosLat = std::cos(point.latRad);
        point.lon = kLon + dx / (view.scale * point.cosLat);
        point.colour = colour;
        if (point.prev) refreshNeighbourValues(*point.prev);
    }
    // The view's update (it keeps the centre: no fix to follow), then the track.
    void draw(TrackPainter& painter, PixelBuffer& buffer) {
        FrameInputs in;
        in.client = {0, 0, kWidth, kHeight};
        cycle.update(in);
        buffer.fill(0xffff);
        platform::qt::QtDrawingSurface surface(buffer);
        painter.drawRetained(surface, track, cycle, view, colours);
    }
    Track track;
    ViewGeometry view;
    ViewCycle cycle{view, track};
    ViewColours colours;
};

// Pixels of the ink in one buffer with none within a pixel in the other.
int strays(const PixelBuffer& from, const PixelBuffer& in, Pixel16 ink) {
    int n = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            if (from.at(x, y) != ink) continue;
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy)
                for (int dx = -1; dx <= 1 && !near; ++dx) {
                    const int nx = x + dx;
                    const int ny = y + dy;
                    near = nx >= 0 && ny >= 0 && nx < kWidth && ny < kHeight &&
                           in.at(nx, ny) == ink;
                }
            n += !near;
        }
    return n;
}

int count(const PixelBuffer& buffer, Pixel16 ink) {
    int n = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) n += buffer.at(x, y) == ink;
    return n;
}

TEST(TrackPainter, LinesMovedWithTheViewLandWithinAPixelOfLinesPlacedAnew) {
    struct Case {
        const char* legend;
        float scale;
        int rotation, turn;  // degrees: the first view's rotation, then its turn
        double north, east;  // the centre's move, in pixels at the first centre
        int placedAnew;      // layers placed anew by the second frame
    };
    const Case cases[] = {
        {"the same view", 1.0e6f, 0, 0, 0, 0, 0},
        {"a pixel north", 1.0e6f, 0, 0, 1, 0, 0},
        {"east by part of a pixel", 1.0e6f, 0, 0, 0, 0.37, 0},
        {"a drag east and south", 1.0e6f, 0, 0, -61.5, 203.2, 0},
        {"a turned view moving across", 1.0e6f, 33, 0, 17.25, -48.6, 0},
        {"turning a degree right", 1.0e6f, 0, 1, 0, 0, 0},
        {"turning left across north while moving", 1.0e6f, 3, -7, 12.5, 30.2, 0},
        {"beyond the margin the lines were placed with", 1.0e6f, 0, 0, 0,
         TrackPainter::kReuseMargin + 10.0, 5},
        {"turned and moved so far that a corner leaves the margin", 1.0e6f, 0, 60, 0, 310, 5},
        {"zoomed out: the cosines along the lines spread too far", 2000.0f, 0, 0, 0, 20, 2},
    };
    for (const Case& c : cases) {
        Scene scene(c.scale, c.rotation);
        PixelBuffer moved({kWidth, kHeight});
        PixelBuffer anew({kWidth, kHeight});
        TrackPainter following;
        scene.draw(following, moved);
        const double lat = kLat + c.north / c.scale;
        scene.turnTo(c.rotation + c.turn);
        scene.view.setCentre(lat, kLon + c.east / (c.scale * std::cos(kLat * kPi)));
        scene.draw(following, moved);
        EXPECT_EQ(following.placedLastFrame(), c.placedAnew) << c.legend;
        TrackPainter fresh;
        scene.draw(fresh, anew);
        for (const std::uint16_t colour : {kMainColour, kLoadedColour}) {
            const Pixel16 ink = platform::toPixel16(trackColour(colour));
            EXPECT_GT(count(anew, ink), 100) << c.legend << ": the lines are in view";
            EXPECT_EQ(strays(moved, anew, ink), 0) << c.legend << ", colour " << colour;
            EXPECT_EQ(strays(anew, moved, ink), 0) << c.legend << ", colour " << colour;
        }
    }
}

}  // namespace
}  // namespace wendra::test
