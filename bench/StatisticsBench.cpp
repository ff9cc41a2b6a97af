// The statistics over a full main layer of 45000 points: the range pass alone, and
// what the statistics screen does on opening (select the range under the track lock,
// pass, write the 90 rows). Reported in milliseconds per run.

#include <benchmark/benchmark.h>

#include <cmath>

#include "track/PointValues.h"
#include "track/Track.h"
#include "track/TrackPoint.h"
#include "track/TrackStatistics.h"
#include "track/TrackUnits.h"

namespace {

constexpr int kPoints = 45000;
constexpr int kSegmentLength = 5000;  // a break every so many points
constexpr double kMetresPerDegree = wendra::kHalfTurnKm * 1000.0 / 180.0;

// A hilly walk north-east, a point every 5 s, with stops and segment breaks.
void fill(wendra::Track& track) {
    wendra::TrackPoint* previous = nullptr;
    for (int i = 0; i < kPoints; ++i) {
        wendra::TrackPoint* point = track.main().insertAfter(previous);
        wendra::PointValues values;
        values.lat = (45.0 + 5.0 * i / kMetresPerDegree) / 180.0;
        values.lon = (7.0 + 5.0 * i / kMetresPerDegree / 0.7071) / 180.0;
        values.speed = (i % 97 < 10) ? 0.5f : 5.0f;
        values.altitude = 500.0f + 80.0f * static_cast<float>(std::sin(i / 300.0));
        values.heading = 45;
        values.signal = 40.0f;
        values.time = 8000.0 + 5.0 * i / wendra::kSecondsPerDay;
        values.timeZone = 0;
        values.flags = 0;
        if (i % kSegmentLength == kSegmentLength - 1) values.flags = wendra::kSegmentEnd;
        if (previous && previous->has(wendra::kSegmentEnd)) values.flags = wendra::kSegmentStart;
        wendra::setPointValues(*point, values, track.settings.minPointDistanceKm);
        point->smoothAltitude = values.altitude;
        previous = point;
    }
    track.cumulativeValues();
}

void BM_StatisticsRangePass(benchmark::State& state) {
    wendra::Track track;
    track.settings.maxPointsIndex = 8;
    fill(track);
    const wendra::TrackLayer& layer = track.main();
    for (auto _ : state) {
        wendra::StatisticsResults results = wendra::passRange(*layer.first(), *layer.last(), {});
        benchmark::DoNotOptimize(results);
    }
    state.counters["points"] = layer.count();
}

void BM_StatisticsScreen(benchmark::State& state) {
    wendra::Track track;
    track.settings.maxPointsIndex = 8;
    fill(track);
    wendra::TrackStatistics stats;
    for (auto _ : state) {
        stats.computeSelection(track, {});
        benchmark::DoNotOptimize(stats.row(wendra::kRowLength).value.data());
    }
    state.counters["points"] = stats.results().pointCount;
}

BENCHMARK(BM_StatisticsRangePass)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StatisticsScreen)->Unit(benchmark::kMillisecond);

}  // namespace
