// Speed of the track files: Load layer of a 45000-point binary file and of its text
// form (main layer, and a display layer for text, which is not smoothed), Write layer,
// and one journal append (open, one write of 40 bytes, close) per fix.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "track/FileBusy.h"
#include "track/FixJournal.h"
#include "track/PointValues.h"
#include "track/Track.h"
#include "track/TrackFiles.h"
#include "track/TrackPoint.h"

namespace {

using namespace wendra;

constexpr int kPoints = 45000;
constexpr int kLargestTable = 8;  // 45000 points

struct Fixture {
    Fixture()
        : journal(folder + "/journal/WendraTrc.raw"),
          files(track, TrackFolders::inDataFolder(folder), busy, journal) {
        track.settings.maxPointsIndex = kLargestTable;
        track.settings.maxLayerPointsIndex = kLargestTable;
        TrackLayer& layer = track.layer(1);
        for (int i = 0; i < kPoints; ++i) {
            PointValues v;
            v.lat = 0.26 + i * 2e-8;
            v.lon = 0.04 + 1e-8 * std::sin(i / 50.0) + i * 1e-8;
            v.speed = 5.0f + static_cast<float>(i % 11);
            v.altitude = 500.0f + static_cast<float>(i % 97);
            v.heading = i % 360;
            v.signal = 40.0f;
            v.time = 9000.0 + i / 86400.0;
            v.timeZone = 0;
            v.flags = i % 5000 == 4999 ? std::int64_t{kSegmentEnd} : std::int64_t{0};
            setPointValues(*layer.append(), v, 0.001);
        }
        files.writeLayer(1, binaryPath(), true);
        files.writeLayer(1, textPath(), false);
        track.clearLayer(1);
    }
    ~Fixture() { std::filesystem::remove_all(folder); }
    std::string binaryPath() const { return folder + "/track.trc"; }
    std::string textPath() const { return folder + "/track.wdt"; }

    std::string folder = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "wendra-bench-XXXXXX").string();
        return std::string(mkdtemp(pattern.data()));
    }();
    Track track;
    FileBusy busy;
    FixJournal journal;
    TrackFiles files;
};

Fixture& fixture() {
    static Fixture instance;
    return instance;
}

void load(benchmark::State& state, int layer, bool binary) {
    Fixture& f = fixture();
    const std::string path = binary ? f.binaryPath() : f.textPath();
    for (auto _ : state) {
        state.PauseTiming();
        f.track.clearLayer(layer);
        state.ResumeTiming();
        benchmark::DoNotOptimize(f.files.loadLayer(layer, path).added);
    }
    if (f.track.layer(layer).count() != kPoints) state.SkipWithError("points lost");
    state.SetItemsProcessed(state.iterations() * kPoints);
}

void BM_LoadMainLayerBinary(benchmark::State& state) {
    load(state, 0, true);
}
void BM_LoadMainLayerText(benchmark::State& state) {
    load(state, 0, false);
}
void BM_LoadDisplayLayerText(benchmark::State& state) {
    load(state, 1, false);
}
BENCHMARK(BM_LoadMainLayerBinary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadMainLayerText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadDisplayLayerText)->Unit(benchmark::kMillisecond);

void BM_WriteLayerBinary(benchmark::State& state) {
    Fixture& f = fixture();
    f.track.clearLayer(1);
    f.files.loadLayer(1, f.binaryPath());
    for (auto _ : state)
        benchmark::DoNotOptimize(f.files.writeLayer(1, f.folder + "/out.trc", true));
}
BENCHMARK(BM_WriteLayerBinary)->Unit(benchmark::kMillisecond);

void BM_JournalAppend(benchmark::State& state) {
    Fixture& f = fixture();
    const Fix fix{46.7, 7.8, 4.0f, 600.0f, 10, 40.0f, 9000.0};
    for (auto _ : state) benchmark::DoNotOptimize(f.journal.append(fix));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_JournalAppend)->Unit(benchmark::kMicrosecond);

}  // namespace
