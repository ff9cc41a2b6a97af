// The program's start-up and its path from the receiver to the screen, in the real
// window on Qt's offscreen platform:
// - FirstFrame: from creating the window to the first painted frame, with 45000 points
//   in each of the five layers (the start-up dialog's 2 s display time left out: it
//   shows while the files load and only holds the view back);
// - SentenceToRepaint: from writing one receiver second to the pseudo-terminal that
//   the program reads as COM9: to the painted frame that shows its fix.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/ConfigurationStore.h"
#include "app/DataFiles.h"
#include "platform/AssumedAnswers.h"
#include "platform/linux/LinuxSerialPorts.h"
#include "platform/linux/PseudoTerminal.h"
#include "platform/qt/QtWindow.h"
#include "track/PointValues.h"
#include "track/TrackFiles.h"
#include "track/TrackPoint.h"

namespace {

using namespace wendra;
using Clock = std::chrono::steady_clock;

constexpr int kPoints = 45000;
constexpr int kLargestTable = 8;  // 45000 points a layer
constexpr int kReplaySlot = 9;

QApplication& qt() {
    static int argc = 1;
    static char name[] = "bench_app";
    static char* argv[] = {name, nullptr};
    static QApplication* application = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        return new QApplication(argc, argv);
    }();
    return *application;
}

std::string makeFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "wendra-bench-XXXXXX").string();
    return mkdtemp(pattern.data());
}

class NoRadio final : public platform::BluetoothRadio {
public:
    bool available() override { return false; }
    int mode() override { return kUnknown; }
    bool setMode(int) override { return false; }
};

// Five layer files of 45000 points each, a walk of a few kilometres.
void writeLayers(const std::string& folder) {
    Track track;
    FileBusy busy;
    FixJournal journal(folder + "/journal/WendraTrc.raw");
    TrackFiles files(track, TrackFolders::inDataFolder(folder), busy, journal);
    track.settings.maxPointsIndex = kLargestTable;
    track.settings.maxLayerPointsIndex = kLargestTable;
    for (int layer = 0; layer < Track::kLayerCount; ++layer) {
        for (int i = 0; i < kPoints; ++i) {
            PointValues v;
            v.lat = 0.26 + i * 2e-7 + layer * 1e-5;
            v.lon = 0.04 + 3e-6 * std::sin(i / 500.0) + i * 1e-7;
            v.speed = 5.0f;
            v.altitude = 500.0f + static_cast<float>(i % 97);
            v.heading = i % 360;
            v.signal = 40.0f;
            v.time = 9000.0 + i / 86400.0;
            setPointValues(*track.layer(layer).append(), v, 0.001);
        }
        files.writeLayer(layer, files.folders().layerFile(layer), true);
        track.clearLayer(layer);
    }
    // The configuration that lets every layer keep its 45000 points.
    Configuration config;
    config.track.maxPointsIndex = kLargestTable;
    config.track.maxLayerPointsIndex = kLargestTable;
    ConfigurationStore store(config);
    NoStatusBanner banner;
    DataFiles data(folder, banner);
    data.attach(DataFile::Configuration, store);
    data.save(DataFile::Configuration);
}

// The program on a data folder in its window.
struct Program {
    Program(const std::string& folder, std::function<void(SerialSettings&)> portOverride = {})
        : ports(folder) {
        ApplicationServices services;
        services.dataFolder = folder;
        services.ports = &ports;
        services.radio = &radio;
        services.startupDialogTime = std::chrono::milliseconds(0);
        if (portOverride) {
            services.portOverride = std::move(portOverride);
            services.afterConfigLoad = [](Configuration& config) {
                config.serial.options &= ~SerialOptions::kDeactivated;
            };
        }
        application = std::make_unique<Application>(std::move(services));
        window = std::make_unique<platform::qt::QtWindow>(*application, platform::Size{800, 480});
    }
    ~Program() {
        window->close();
        while (!application->shutDown()) QApplication::processEvents();
    }
    void runUntil(const std::function<bool()>& done) {
        const auto end = Clock::now() + std::chrono::seconds(60);
        while (!done() && Clock::now() < end)
            QApplication::processEvents(QEventLoop::AllEvents, 1);
    }

    platform::LinuxSerialPorts ports;
    NoRadio radio;
    std::unique_ptr<Application> application;
    std::unique_ptr<platform::qt::QtWindow> window;
};

void FirstFrame(benchmark::State& state) {
    qt();
    const std::string folder = makeFolder();
    writeLayers(folder);
    platform::AssumedAnswers yes(platform::Answer::Yes);  // go on with the stored track
    platform::ScopedMessageBoxHost scope(yes);
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        Program program(folder);
        program.window->show();
        program.runUntil([&] { return program.application->framesPainted() > 0; });
        state.SetIterationTime(std::chrono::duration<double>(program.application->lastFrame() - start)
                                   .count());
        int points = 0;
        for (int layer = 0; layer < Track::kLayerCount; ++layer)
            points += program.application->state()->track.layer(layer).count();
        state.counters["points"] = points;
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(FirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// The receiver's seconds of the demo log, each from its $GPGGA to the next.
std::vector<std::string> receiverSeconds() {
    std::ifstream in(std::string(WENDRA_SOURCE_DIR) + "/data/demo.nmea", std::ios::binary);
    const std::string log(std::istreambuf_iterator<char>(in), {});
    std::vector<std::string> seconds;
    for (std::size_t at = 0; at < log.size();) {
        std::size_t next = log.find("$GPGGA", at + 1);
        if (next == std::string::npos) next = log.size();
        seconds.push_back(log.substr(at, next - at));
        at = next;
    }
    return seconds;
}

void SentenceToRepaint(benchmark::State& state) {
    qt();
    const std::string folder = makeFolder();
    platform::PseudoTerminal receiver;
    std::string error;
    if (!receiver.open(error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    const std::vector<std::string> seconds = receiverSeconds();
    std::size_t next = 0;
    {
        Program program(folder, [](SerialSettings& serial) { serial.portId = kReplaySlot; });
        program.ports.overrideSlot(kReplaySlot, receiver.path(), "bench");
        program.window->show();
        program.runUntil([&] { return program.application->startupComplete(); });
        AppState& app = *program.application->state();
        double lastTime = 0.0;
        double worst = 0.0;
        for (auto _ : state) {
            const std::string& second = seconds[next++ % seconds.size()];
            const Clock::time_point written = Clock::now();
            receiver.write(second.data(), second.size(), std::chrono::milliseconds(1000));
            std::uint64_t framesBefore = 0;
            program.runUntil([&] {
                const std::optional<Fix> fix = app.bridge.position();
                if (framesBefore == 0 && fix && fix->time != lastTime) {
                    lastTime = fix->time;
                    framesBefore = program.application->framesPainted() + 1;
                }
                return framesBefore != 0 && program.application->framesPainted() >= framesBefore;
            });
            const double latency =
                std::chrono::duration<double>(program.application->lastFrame() - written).count();
            state.SetIterationTime(latency);
            worst = std::max(worst, latency);
            // The receiver's own pace: one second a second.
            program.runUntil([&] { return Clock::now() - written > std::chrono::milliseconds(1000); });
        }
        state.counters["worst_ms"] = worst * 1000.0;
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(SentenceToRepaint)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(30);

}  // namespace
