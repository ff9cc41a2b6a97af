#pragma once
// A frame of 240 x 200 following a fix at the view centre under manual zoom, drawn on
// the Qt surface, with no overlays and no information line unless a test turns them
// on. Track points are placed by their pixel offset from the centre.

#include <gtest/gtest.h>

#include <cmath>

#include "platform/qt/QtDrawingSurface.h"
#include "track/PointValues.h"
#include "track/Track.h"
#include "track/TrackPoint.h"
#include "track/TrackUnits.h"
#include "view/MapFrame.h"

namespace wendra::test {

class FrameFixture : public ::testing::Test {
protected:
    static constexpr int kWidth = 240;
    static constexpr int kHeight = 200;
    static constexpr int kCentreX = kWidth / 2;
    static constexpr int kCentreY = kHeight / 2;
    static constexpr float kScale = 1.0e6f;  // about 20 m a pixel
    static constexpr std::int32_t kOverlays = settings::kAltitudeGraph | settings::kGrid |
                                              settings::kMovingDirection | settings::kWayLines;

    FrameFixture() : buffer({kWidth, kHeight}), surface(buffer) {
        view.zoomWord = zoom::kManual;
        view.scale = view.manualScale = kScale;
        view.settingsWord =
            settings::withField(settings::kDefault & ~kOverlays, settings::kInfoLineShift, 0);
        view.setCentre(gps.lat, gps.lon);
        data.frame.gps = &gps;
        data.frame.fixValid = true;
        data.positionShown = true;
        data.live = true;
        data.fix.latitude = gps.lat * 180.0;
        data.fix.longitude = gps.lon * 180.0;
    }

    // A point at (dx, dy) pixels from the centre, x east, y south.
    TrackPoint& addPoint(int layer, double dx, double dy, std::uint16_t colour,
                         std::uint32_t flags = 0) {
        TrackPoint& point = *track.layer(layer).append();
        point.lat = gps.lat - dy / kScale;
        point.latRad = point.lat * kPi;
        point.cosLat = std::cos(point.latRad);
        point.lon = gps.lon + dx / (kScale * point.cosLat);
        point.colour = colour;
        point.flags = flags;
        if (point.prev) refreshNeighbourValues(*point.prev);
        return point;
    }
    // A drawn point (dx, dy) pixels from the centre, x east, y south.
    DrawnPoint pointAt(double dx, double dy) const {
        DrawnPoint point;
        point.lat = gps.lat - dy / kScale;
        point.lon = gps.lon + dx / (kScale * std::cos(point.lat * kPi));
        return point;
    }
    void clearTrack() {
        for (int layer = 0; layer < Track::kLayerCount; ++layer) track.clearLayer(layer);
    }
    void paint(std::u16string_view alert = {}) {
        frame.paintView(&surface, {0, 0, kWidth, kHeight}, alert, data);
        surface.flush();
    }
    static platform::Pixel16 px(platform::ColorRef colour) { return platform::toPixel16(colour); }
    platform::Pixel16 background() const {
        return platform::toUnpaintedPixel16(data.colours.day(ColourRole::Back));
    }
    int countIn(platform::Rect area, platform::Pixel16 pixel) const {
        int n = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x) n += buffer.at(x, y) == pixel;
        return n;
    }
    int countInColumn(int x, int y0, int y1, platform::Pixel16 pixel) const {
        return countIn({x, y0, x + 1, y1 + 1}, pixel);
    }
    int countInRow(int y, int x0, int x1, platform::Pixel16 pixel) const {
        return countIn({x0, y, x1 + 1, y + 1}, pixel);
    }

    LatLon gps{0.25, 0.05};
    Track track;
    ViewGeometry view;
    ViewCycle cycle{view, track};
    MapFrame frame{view, cycle, track};
    FrameData data;
    platform::PixelBuffer buffer;
    platform::qt::QtDrawingSurface surface;
};

}  // namespace wendra::test
