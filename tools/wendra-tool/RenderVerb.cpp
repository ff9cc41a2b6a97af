// wendra-tool render: one frame of the map view, drawn from a data folder (its
// configuration, track layers, points and maps) by the window's own frame painter on
// the offscreen drawing surface, and written as PNG. The view is settled at its
// targets before drawing (no animation is left), so every frame of --repeat is the
// same; the maps the view shows are loaded first. Nothing in the folder is written.

#include <png.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "TrackHome.h"
#include "Verbs.h"
#include "app/ConfigurationStore.h"
#include "app/DataFiles.h"
#include "app/DisplayMetrics.h"
#include "app/FrameFeeds.h"
#include "app/MainView.h"
#include "app/MapsStore.h"
#include "app/PointsStore.h"
#include "platform/qt/OffscreenDrawing.h"
#include "records/ClassicNumbers.h"
#include "track/FileBusy.h"
#include "track/FixJournal.h"
#include "track/TrackFiles.h"
#include "track/TrackFolders.h"
#include "track/TrackStartup.h"
#include "view/MapFrame.h"

namespace wendra::tool {

namespace {

constexpr int kMostSide = 20000;
constexpr int kMostRepeats = 100000;
constexpr int kMostSettlePasses = 50;
constexpr auto kLoadPoll = std::chrono::milliseconds(5);
constexpr auto kLoadGiveUp = std::chrono::seconds(120);

struct RenderRequest {
    std::string home;
    std::string out;
    platform::Size size{};
    bool at = false;
    double latitude = 0, longitude = 0;  // degrees
    bool scaleGiven = false;
    float scale = 0;
    bool fit = false;
    bool rotate = false;
    int heading = 0;
    bool night = false;
    int repeat = 1;
};

constexpr const char* kUsage =
    "render: expected --home DIR --size WxH [--at LAT,LON] [--scale S | --fit] "
    "[--rotate DEG] [--night] [--repeat N] --out FILE.png";

RenderRequest parseRender(const Args& args) {
    RenderRequest r;
    bool sized = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--home") {
            r.home = optionValue(args, i);
        } else if (arg == "--out") {
            r.out = optionValue(args, i);
        } else if (arg == "--size") {
            parseScreenSize(optionValue(args, i), kMostSide, r.size.width, r.size.height);
            sized = true;
        } else if (arg == "--at") {
            parsePosition(optionValue(args, i), r.latitude, r.longitude);
            r.at = true;
        } else if (arg == "--scale") {
            r.scale = static_cast<float>(parseScale(optionValue(args, i)));
            r.scaleGiven = true;
        } else if (arg == "--fit") {
            r.fit = true;
        } else if (arg == "--rotate") {
            const double degrees = parseReal(optionValue(args, i), "--rotate");
            if (!std::isfinite(degrees) || std::abs(degrees) > 36000)
                fail("--rotate: degrees, at most 36000 either way");
            r.heading = static_cast<int>(std::lround(degrees));
            r.rotate = true;
        } else if (arg == "--night") {
            r.night = true;
        } else if (arg == "--repeat") {
            const long long n = parseInteger(optionValue(args, i), "--repeat");
            if (n < 1 || n > kMostRepeats) fail("--repeat: 1 to 100000");
            r.repeat = static_cast<int>(n);
        } else {
            fail("render: unknown argument " + arg);
        }
    }
    if (r.home.empty() || r.out.empty() || !sized) fail(kUsage);
    if (r.fit && (r.scaleGiven || r.at)) fail("render: --fit goes with neither --scale nor --at");
    std::error_code error;
    if (!std::filesystem::is_directory(r.home, error))
        fail("render: no data folder \"" + r.home + "\"");
    return r;
}

// The folder's icons; a folder the program never ran on has none yet, and the program
// would give it the shipped ones: those are read in place (nothing is copied).
std::filesystem::path iconsFolder(const std::string& dataFolder) {
    const std::filesystem::path own = std::filesystem::path(dataFolder) / points::kIconsFolderName;
    std::error_code error;
    if (std::filesystem::is_directory(own, error)) return own;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::filesystem::path installed = points::installedIconsFolder(program);
    if (!error && std::filesystem::is_directory(installed, error)) return installed;
    return WENDRA_SOURCE_ICONS;
}

// Everything one frame reads, loaded from the folder as the program loads it at start.
struct RenderHome {
    explicit RenderHome(const std::string& dataFolder, int pixelMultiplier);

    FolderClaim claim;
    AnsweringHost boxes{platform::Answer::No};
    Configuration config;
    maps::MapShell mapShell;
    maps::MapCatalogue maps{mapShell};
    points::IconList icons;
    points::PointStore points;
    Track track;
    FileBusy busy;
    FixJournal journal;
    TrackFiles trackFiles;
};

RenderHome::RenderHome(const std::string& dataFolder, int pixelMultiplier)
    : claim(dataFolder),
      journal(TrackFolders::inDataFolder(dataFolder).journalFile()),
      trackFiles(track, TrackFolders::inDataFolder(dataFolder), busy, journal) {
    icons.load(iconsFolder(dataFolder), pixelMultiplier);
    points.setAlerts(&config.alerts);
    points.setIcons(&icons);
    NoStatusBanner banner;
    ConfigurationStore configStore(config);
    configStore.setPoints(&points);
    MapsStore mapsStore(maps);
    PointsStore pointsStore(points, config.global);
    DataFiles files(dataFolder, banner);
    files.attach(DataFile::Configuration, configStore);
    files.attach(DataFile::Maps, mapsStore);
    files.attach(DataFile::Points, pointsStore);
    files.loadAll();
    track.settings = config.track;
    maps.setBudgetMiB(static_cast<std::uint32_t>(std::max(0, config.global.mapMemoryMb)));
    for (int layer = 0; layer < Track::kLayerCount; ++layer) {
        const std::string path = trackFiles.folders().layerFile(layer);
        std::error_code error;
        if (std::filesystem::file_size(path, error) <= kSmallestTrackFile || error) continue;
        const LayerLoad load = trackFiles.loadLayer(layer, path);
        if (load.opened && !load.whole())
            std::fprintf(stderr, "wendra-tool: %s: %ld records could not be read\n", path.c_str(),
                         load.skipped);
    }
}

// The frame's view: the stored one, then what the options ask for, without animation.
class RenderView {
public:
    RenderView(RenderHome& home, const RenderRequest& request);
    void settle();
    void loadMaps();
    void paint(platform::DrawingSurface* surface) {
        feeds_.fill(data_, home_.config, nullptr);
        frame_.paintView(surface, rect_, {}, data_);
    }

private:
    void applyRequest(const RenderRequest& request);

    RenderHome& home_;
    ViewGeometry view_;
    ViewCycle cycle_{view_, home_.track};
    MapFrame frame_{view_, cycle_, home_.track};
    FrameFeeds feeds_;
    LatLon gps_{};
    FrameData data_;
    platform::Rect rect_;
};

RenderView::RenderView(RenderHome& home, const RenderRequest& request)
    : home_(home),
      feeds_(home.points, home.icons, home.maps, view_),
      rect_{0, 0, request.size.width, request.size.height} {
    applyStoredView(home.config.status, home.track, view_, gps_);
    data_.frame.gps = &gps_;
    data_.frame.recording = home.config.track.recordTrack;
    data_.gpsStatus = GpsStatus::Off;  // no receiver here
    applyRequest(request);
}

void RenderView::applyRequest(const RenderRequest& request) {
    // Targets are reached at once: no paint of the animation is left over.
    view_.settingsWord &= ~(settings::kSmoothRotate | settings::kSmoothZoom);
    if (request.night) view_.settingsWord |= settings::kNightColours;
    if (view_.setting(settings::kNightColours)) {
        const int mode = settings::field(view_.settingsWord, settings::kNightMapsShift);
        home_.maps.setNightMode(maps::nightModeFromNumber(mode));
    }
    if (request.at) {
        view_.enterFreeMovement();
        view_.setCentre(request.latitude / 180.0, request.longitude / 180.0);
    }
    if (request.scaleGiven) {
        if (!view_.manualZoom()) view_.enterManualZoom();
        view_.manualScale = view_.scale = request.scale;
        view_.pendingScale = kNotSetF;
        view_.zoomWord &= ~zoom::kFollowMapScale;
    }
    if (request.rotate) {
        view_.settingsWord |= settings::kTurningView;
        view_.heading = TrigTables::wrapDegrees(request.heading);
        // Following, the turning view takes the course: let it be the one asked for.
        data_.frame.course = view_.heading;
        data_.frame.recording = false;
    }
    if (request.fit) {
        paint(nullptr);  // places the rectangle
        if (!view_.manualZoom()) view_.enterManualZoom();
        TrackLock::Hold hold(home_.track.lock(), u".Render.Fit");
        data_.frame.client = rect_;
        cycle_.fitAll(0, data_.frame);
    }
}

// Paints without a surface until centre, scale and rotation hold.
void RenderView::settle() {
    for (int pass = 0; pass < kMostSettlePasses; ++pass) {
        const double lat = view_.centreLat(), lon = view_.centreLon();
        const float scale = view_.scale;
        const float rotation = view_.rotation;
        paint(nullptr);
        if (lat == view_.centreLat() && lon == view_.centreLon() && scale == view_.scale &&
            rotation == view_.rotation && view_.pendingScale == kNotSetF)
            return;
    }
}

// The maps the manager would load for this view, one after the other, each waited for.
void RenderView::loadMaps() {
    const maps::RankingView ranking{view_.latitudeDegrees(), view_.longitudeDegrees(),
                                    view_.mapDrawScale(),
                                    std::hypot(rect_.width(), rect_.height())};
    const auto loaded = [this] {
        int n = 0;
        for (const maps::MapPtr& map : home_.maps.candidates())
            n += map->status() == maps::MapStatus::ActiveLoaded;
        return n;
    };
    for (std::size_t pass = 0; pass <= home_.maps.size(); ++pass) {
        const int before = loaded();
        home_.maps.admit(ranking);
        const auto giveUp = std::chrono::steady_clock::now() + kLoadGiveUp;
        while (home_.maps.shared().loadRunning.load() && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::sleep_for(kLoadPoll);
        if (loaded() == before) return;
    }
}

std::uint8_t expand5(unsigned c) {
    return static_cast<std::uint8_t>(c << 3 | c >> 2);
}

// The 16-bit view as 8-bit RGB; the "not yet painted" mark is only a mark, not colour.
void writePng(const platform::PixelBuffer& buffer, const std::string& path) {
    const platform::Size size = buffer.size();
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(size.width) * size.height * 3);
    std::uint8_t* out = rgb.data();
    for (int y = 0; y < size.height; ++y) {
        for (int x = 0; x < size.width; ++x, out += 3) {
            const platform::Pixel16 p = buffer.at(x, y);
            out[0] = expand5(p >> 11 & 0x1F);
            out[1] = expand5(p >> 6 & 0x1F);
            out[2] = expand5(p & 0x1F);
        }
    }
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(size.width);
    png.height = static_cast<png_uint_32>(size.height);
    png.format = PNG_FORMAT_RGB;
    if (!png_image_write_to_file(&png, path.c_str(), 0, rgb.data(), 0, nullptr))
        fail("cannot write " + path + ": " + png.message);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

}  // namespace

int runRender(const Args& args) {
    const ClassicLocaleScope classic;
    const RenderRequest request = parseRender(args);
    RenderHome home(request.home, DisplayMetrics::of(request.size).pixelMultiplier);
    RenderView view(home, request);
    view.settle();
    view.loadMaps();
    view.settle();

    platform::PixelBuffer buffer(request.size);
    std::vector<double> times;
    times.reserve(static_cast<std::size_t>(request.repeat));
    platform::qt::drawOffscreen(buffer, [&](platform::DrawingSurface& surface) {
        for (int i = 0; i < request.repeat; ++i) {
            const auto start = std::chrono::steady_clock::now();
            view.paint(&surface);
            times.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count());
        }
    });
    writePng(buffer, request.out);
    std::printf("{\"width\":%d,\"height\":%d,\"frames\":%d,\"median_ms\":%.3f,\"worst_ms\":%.3f}\n",
                request.size.width, request.size.height, request.repeat, median(times),
                *std::max_element(times.begin(), times.end()));
    return 0;
}

}  // namespace wendra::tool
