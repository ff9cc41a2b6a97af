#pragma once
// A plain view drawing onto a small Qt surface, with a track whose points are placed
// by their pixel offset from the view centre.

#include <gtest/gtest.h>

#include <cmath>

#include "platform/qt/QtDrawingSurface.h"
#include "track/Track.h"
#include "track/TrackPoint.h"
#include "track/TrackUnits.h"
#include "view/PlainView.h"

namespace wendra::test {

class ViewFixture : public ::testing::Test {
protected:
    static constexpr int kWidth = 240;
    static constexpr int kHeight = 200;
    static constexpr int kCentreX = kWidth / 2;
    static constexpr int kCentreY = kHeight / 2;
    static constexpr float kScale = 1.0e6f;  // about 20 m a pixel

    ViewFixture() : buffer({kWidth, kHeight}), surface(buffer) {
        scene.centre = ViewCentre{0.25, 0.05};
        scene.scale = kScale;
    }

    // A point at (dx, dy) pixels from the centre, x east, y south.
    TrackPoint& addPoint(int layer, double dx, double dy, std::uint16_t colour = 0,
                         std::uint32_t flags = 0) {
        TrackPoint& point = *track.layer(layer).append();
        point.lat = scene.centre.lat - dy / kScale;
        point.latRad = point.lat * kPi;
        point.cosLat = std::cos(point.latRad);
        point.lon = scene.centre.lon + dx / (kScale * point.cosLat);
        point.colour = colour;
        point.flags = flags;
        return point;
    }

    // A fix at (dx, dy) pixels from the centre.
    Fix fixAt(double dx, double dy, float signal = 40.0f) {
        Fix fix;
        const double lat = scene.centre.lat - dy / kScale;
        fix.latitude = lat * 180.0;
        fix.longitude = (scene.centre.lon + dx / (kScale * std::cos(lat * kPi))) * 180.0;
        fix.signal = signal;
        return fix;
    }

    platform::Pixel16 drawAndRead(int x, int y) {
        draw();
        return buffer.at(x, y);
    }
    void draw() {
        view.draw(surface, scene);
        surface.flush();
    }
    static platform::Pixel16 px(platform::ColorRef colour) { return platform::toPixel16(colour); }

    Track track;
    ViewScene scene{track};
    platform::PixelBuffer buffer;
    platform::qt::QtDrawingSurface surface;
    PlainView view;
};

}  // namespace wendra::test
