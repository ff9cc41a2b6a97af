// One frame of the plain view on an 800x480 surface with five full layers of 45000
// points each. Reports the median frame time in milliseconds ("median_ms"). The
// argument is the pixel length of one step of the walk: at 3 most points stand
// apart on the screen (the worst case), at 0.2 many fall within a pixel of another.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <random>
#include <vector>

#include "platform/qt/QtDrawingSurface.h"
#include "track/Track.h"
#include "track/TrackPoint.h"
#include "track/TrackUnits.h"
#include "view/PlainView.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 480;
constexpr int kPointsPerLayer = 45000;
constexpr float kScale = 1.0e6f;
constexpr int kColourRun = 5000;   // points between colour changes
constexpr int kSegmentRun = 7000;  // points between segment breaks

void ensureApplication() {
    // Kept to the end of the process: Qt's own statics go first at exit.
    static QGuiApplication* application = nullptr;
    if (application) return;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "wendra-view-bench";
    static char* argv[] = {name, nullptr};
    application = new QGuiApplication(argc, argv);
}

// A wandering walk kept near the view, so that it crosses the screen again and again.
void fillLayer(wendra::Track& track, int layer, double stepPixels, const wendra::ViewCentre& centre,
               unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> turn(-0.6, 0.6);
    double x = 0.0;
    double y = 0.0;
    double heading = seed;
    wendra::TrackPoint* previous = nullptr;
    for (int i = 0; i < kPointsPerLayer; ++i) {
        heading += turn(random);
        // Pulled back towards the centre when it strays beyond the screen.
        if (std::hypot(x, y) > kWidth * 0.6) heading = std::atan2(-y, -x) + turn(random);
        x += stepPixels * std::cos(heading);
        y += stepPixels * std::sin(heading);
        wendra::TrackPoint& point = *track.layer(layer).append();
        point.lat = centre.lat - y / kScale;
        point.latRad = point.lat * wendra::kPi;
        point.cosLat = std::cos(point.latRad);
        point.lon = centre.lon + x / (kScale * point.cosLat);
        point.colour = static_cast<std::uint16_t>((layer * 3 + i / kColourRun) % 28);
        if (i % kSegmentRun == kSegmentRun - 1) point.flags |= wendra::kSegmentEnd;
        if (previous && previous->has(wendra::kSegmentEnd)) point.flags |= wendra::kSegmentStart;
        previous = &point;
    }
}

void BM_PlainViewFrame(benchmark::State& state) {
    ensureApplication();
    const double stepPixels = static_cast<double>(state.range(0)) / 10.0;
    wendra::Track track;
    wendra::ViewScene scene(track);
    scene.centre = wendra::ViewCentre{0.25, 0.05};
    scene.scale = kScale;
    scene.position = wendra::PositionMark::Shown;
    scene.fix.latitude = 45.0;
    scene.fix.longitude = 9.0;
    scene.fix.signal = 38.0f;
    scene.battery = 80;
    for (int layer = 0; layer < wendra::Track::kLayerCount; ++layer)
        fillLayer(track, layer, stepPixels, scene.centre, 17u + static_cast<unsigned>(layer));

    wendra::platform::PixelBuffer buffer({kWidth, kHeight});
    wendra::platform::qt::QtDrawingSurface surface(buffer);
    wendra::PlainView view;
    std::vector<double> millis;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        view.draw(surface, scene);
        surface.flush();
        const auto stop = std::chrono::steady_clock::now();
        millis.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
    }
    std::nth_element(millis.begin(), millis.begin() + millis.size() / 2, millis.end());
    state.counters["median_ms"] = millis[millis.size() / 2];
    state.counters["points"] = wendra::Track::kLayerCount * kPointsPerLayer;
}

}  // namespace

BENCHMARK(BM_PlainViewFrame)->Arg(30)->Arg(2)->Unit(benchmark::kMillisecond);
