// The window's frame of the map view on a 1920x1080 surface: a loaded map (a BMP
// decoded by the program into the catalogue), five track layers of 45000 points, 1000
// labelled points and the information line, drawn by MapFrame through the Qt surface
// the window uses. Each benchmark reports the median and the worst frame time in
// milliseconds ("median_ms", "worst_ms").
//
// Frame/<step>/<limit>/<moving>: a full frame; step is the pixel length of one step
// of the walk in tenths (30: every point 3 pixels from the next, the worst case);
// limit 1 keeps "Limit the nb of points" on, so the drawing budget decides how many
// points are drawn, 0 draws all 1000; moving 1: the fix, which the view follows,
// moves a pixel before every frame (0: the same view drawn again, as for a timer; 2:
// the view turns a degree before every frame; 3: recording, the fix moves a pixel and
// is added to the main layer before every frame).
// Update/<step>: one view update without a surface, the fix moving a pixel each time.
// Pan/<step>/<quick>: a drag of 200 pixels, then the frame that shows it (quick 1:
// the lighter frame drawn while the pen moves).

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "OffscreenApplication.h"
#include "maps/MapCatalogue.h"
#include "maps/MapShell.h"
#include "platform/qt/QtDrawingSurface.h"
#include "track/PointValues.h"
#include "track/Track.h"
#include "track/TrackPoint.h"
#include "track/TrackUnits.h"
#include "view/MapFrame.h"

namespace {

using namespace wendra;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kPointsPerLayer = 45000;
constexpr int kDrawnPoints = 1000;
constexpr float kScale = 1.0e6f;  // about 20 m a pixel
constexpr double kCentreLat = 45.0 / 180.0;
constexpr double kCentreLon = 9.0 / 180.0;
constexpr int kColourRun = 5000;   // points between colour changes
constexpr int kSegmentRun = 7000;  // points between segment breaks
constexpr int kPan = 200;          // pixels of one drag
// The map: a little wider than the view at one map pixel per screen pixel.
constexpr int kMapWidth = 2600;
constexpr int kMapHeight = 1600;


void putLittle(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// A 24-bit BMP of soft colour bands, as a scanned map's file would be read.
std::filesystem::path writeMapImage(const std::filesystem::path& folder) {
    const int rowBytes = (kMapWidth * 3 + 3) / 4 * 4;
    std::string bmp = "BM";
    putLittle(bmp, static_cast<std::uint32_t>(54 + rowBytes * kMapHeight), 4);
    putLittle(bmp, 0, 4);
    putLittle(bmp, 54, 4);
    putLittle(bmp, 40, 4);
    putLittle(bmp, kMapWidth, 4);
    putLittle(bmp, kMapHeight, 4);
    putLittle(bmp, 1, 2);
    putLittle(bmp, 24, 2);
    for (int i = 0; i < 6; ++i) putLittle(bmp, 0, 4);
    for (int row = 0; row < kMapHeight; ++row) {
        for (int column = 0; column < kMapWidth; ++column) {
            bmp.push_back(static_cast<char>(160 + (column / 7) % 64));
            bmp.push_back(static_cast<char>(180 + (row / 5) % 64));
            bmp.push_back(static_cast<char>(200 + ((row + column) / 11) % 48));
        }
        bmp.append(static_cast<std::size_t>(rowBytes - kMapWidth * 3), '\0');
    }
    const std::filesystem::path path = folder / "bench-map.bmp";
    std::ofstream(path, std::ios::binary) << bmp;
    return path;
}

class BenchPoints final : public PointSource {
public:
    BenchPoints() {
        std::mt19937 random(7);
        std::uniform_real_distribution<double> across(-kWidth / 2.0, kWidth / 2.0);
        std::uniform_real_distribution<double> down(-kHeight / 2.0, kHeight / 2.0);
        for (int i = 0; i < kDrawnPoints; ++i) {
            DrawnPoint p;
            p.lat = kCentreLat - down(random) / kScale;
            p.lon = kCentreLon + across(random) / (kScale * std::cos(p.lat * kPi));
            p.palette = i % 28;
            p.name = u"Point " + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)) +
                     std::u16string(1, static_cast<char16_t>(u'0' + i % 10));
            p.group = u"Group " + std::u16string(1, static_cast<char16_t>(u'0' + i % 7));
            points_.push_back(p);
        }
    }
    std::span<const DrawnPoint> drawnPoints(int budget, platform::Size) override {
        const std::size_t shown =
            limit ? std::min<std::size_t>(static_cast<std::size_t>(budget), points_.size())
                  : points_.size();
        drawn = static_cast<int>(shown);
        return std::span<const DrawnPoint>(points_).first(shown);
    }
    bool limit = true;
    int drawn = 0;

private:
    std::vector<DrawnPoint> points_;
};

// A wandering walk kept near the view, so that it crosses the screen again and again.
void fillLayer(Track& track, int layer, double stepPixels, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> turn(-0.6, 0.6);
    double x = 0.0;
    double y = 0.0;
    double heading = seed;
    for (int i = 0; i < kPointsPerLayer; ++i) {
        heading += turn(random);
        // Pulled back towards the centre when it strays beyond the screen.
        if (std::hypot(x, y) > kWidth * 0.6) heading = std::atan2(-y, -x) + turn(random);
        x += stepPixels * std::cos(heading);
        y += stepPixels * std::sin(heading);
        PointValues v;
        v.lat = kCentreLat - y / kScale;
        v.lon = kCentreLon + x / (kScale * std::cos(v.lat * kPi));
        v.colour = (layer * 3 + i / kColourRun) % 28;
        v.time = 9000.0 + i / 86400.0;
        v.timeZone = 0;
        v.flags = i % kSegmentRun == kSegmentRun - 1 ? std::int64_t{kSegmentEnd} : 0;
        v.textRecord = true;  // the point after a segment end starts the next one
        setPointValues(*track.layer(layer).append(), v, 0.0);
    }
}

// Everything a frame of the window draws, as the application feeds it.
struct Scene {
    explicit Scene(double stepPixels) : catalogue(shell) {
        bench::ensureOffscreenApplication();
        char name[] = "/tmp/wendra-view-bench-XXXXXX";
        if (!mkdtemp(name)) std::abort();
        folder = name;
        loadMap();
        for (int layer = 0; layer < Track::kLayerCount; ++layer)
            fillLayer(track, layer, stepPixels, 17u + static_cast<unsigned>(layer));
        view.zoomWord = zoom::kManual;
        view.scale = view.manualScale = kScale;
        view.setCentre(kCentreLat, kCentreLon);
        gps = LatLon{kCentreLat, kCentreLon};
        data.frame.gps = &gps;
        data.frame.fixValid = true;
        data.frame.bestMapScale = [this](double latitude, double longitude) {
            return catalogue.bestMapScale(latitude, longitude);
        };
        data.positionShown = true;
        data.live = true;
        data.fix.latitude = kCentreLat * 180.0;
        data.fix.longitude = kCentreLon * 180.0;
        data.fix.signal = 38.0f;
        data.battery = 80;
        data.points = &points;
        data.maps = &catalogue;
    }
    ~Scene() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    void loadMap() {
        const std::filesystem::path image = writeMapImage(folder);
        const double degreesDown = 180.0 / kScale;
        const double degreesAcross = degreesDown / std::cos(kCentreLat * kPi);
        const double north = kCentreLat * 180.0 + degreesDown * kMapHeight / 2;
        const double south = kCentreLat * 180.0 - degreesDown * kMapHeight / 2;
        const double west = kCentreLon * 180.0 - degreesAcross * kMapWidth / 2;
        const double east = kCentreLon * 180.0 + degreesAcross * kMapWidth / 2;
        maps::MapDefinition d;
        d.title = u"bench";
        d.imagePath = image.u16string();
        d.userFlags = maps::kMapActive;
        d.cornerLatitudes = {north, north, south, south};
        d.cornerLongitudes = {west, east, west, east};
        map = catalogue.newMap();
        if (!map->setDefinition(d)) std::abort();
        map->loadNow();
        if (map->status() != maps::MapStatus::ActiveLoaded) std::abort();
    }

    // Course up, turning at once by a degree.
    void turnDegree() {
        view.settingsWord = (view.settingsWord | settings::kTurningView) & ~settings::kSmoothRotate;
        data.frame.course = (data.frame.course + 1) % 360;
    }

    // The fix, as the recorder adds it to the main layer.
    void recordFix() {
        TrackLock::Hold hold(track.lock(), u".Add.1");
        PointValues v;
        v.lat = gps.lat;
        v.lon = gps.lon;
        v.time = 9001.0;
        v.timeZone = 0;
        v.flags = 0;
        setPointValues(*track.main().append(), v, 0.0);
    }

    // The fix moves a pixel north or back, and the view with it.
    void moveFix() {
        moved_ = !moved_;
        gps.lat = kCentreLat + (moved_ ? 1.0 / kScale : 0.0);
        data.fix.latitude = gps.lat * 180.0;
    }

    void paint(platform::DrawingSurface* on) {
        frame.paintView(on, {0, 0, kWidth, kHeight}, {}, data);
        if (on) surface.flush();
    }

    std::filesystem::path folder;
    maps::MapShell shell;
    maps::MapCatalogue catalogue;
    maps::MapPtr map;
    Track track;
    ViewGeometry view;
    ViewCycle cycle{view, track};
    MapFrame frame{view, cycle, track};
    BenchPoints points;
    LatLon gps{};
    FrameData data;
    platform::PixelBuffer buffer{{kWidth, kHeight}};
    platform::qt::QtDrawingSurface surface{buffer};

private:
    bool moved_ = false;
};

using Clock = std::chrono::steady_clock;

double millisSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void report(benchmark::State& state, std::vector<double>& millis) {
    if (millis.empty()) return;
    std::sort(millis.begin(), millis.end());
    state.counters["median_ms"] = millis[millis.size() / 2];
    state.counters["worst_ms"] = millis.back();
}

void BM_Frame(benchmark::State& state) {
    Scene scene(static_cast<double>(state.range(0)) / 10.0);
    scene.points.limit = state.range(1) != 0;
    const bool recording = state.range(2) == 3;
    const bool moving = state.range(2) == 1 || recording;
    const bool turning = state.range(2) == 2;
    scene.paint(&scene.surface);  // the first frame settles the view and the budget
    std::vector<double> millis;
    for (auto _ : state) {
        const auto start = Clock::now();
        if (moving) scene.moveFix();
        if (turning) scene.turnDegree();
        if (recording) scene.recordFix();
        scene.paint(&scene.surface);
        millis.push_back(millisSince(start));
    }
    report(state, millis);
    state.counters["points_drawn"] = scene.points.drawn;
}

void BM_Update(benchmark::State& state) {
    Scene scene(static_cast<double>(state.range(0)) / 10.0);
    scene.paint(&scene.surface);
    std::vector<double> millis;
    for (auto _ : state) {
        const auto start = Clock::now();
        scene.moveFix();
        scene.paint(nullptr);
        millis.push_back(millisSince(start));
    }
    report(state, millis);
}

// The drag goes back and forth, so that the view stays over the track and the map.
void BM_Pan(benchmark::State& state) {
    Scene scene(static_cast<double>(state.range(0)) / 10.0);
    scene.view.enterFreeMovement();
    scene.frame.setQuickDraw(state.range(1) != 0);
    scene.paint(&scene.surface);
    std::vector<double> millis;
    int direction = 1;
    for (auto _ : state) {
        const auto start = Clock::now();
        {
            TrackLock::Hold hold(scene.track.lock(), u".Shift.1");
            scene.cycle.shift(direction * kPan, 0);
        }
        scene.paint(&scene.surface);
        millis.push_back(millisSince(start));
        direction = -direction;
    }
    report(state, millis);
}

}  // namespace

BENCHMARK(BM_Frame)
    ->Args({5, 1, 1})
    ->Args({5, 0, 1})
    ->Args({30, 1, 1})
    ->Args({30, 0, 1})
    ->Args({5, 1, 0})
    ->Args({5, 1, 2})
    ->Args({5, 1, 3})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Update)->Arg(5)->Arg(30)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pan)->Args({5, 0})->Args({5, 1})->Args({30, 0})->Unit(benchmark::kMillisecond);
