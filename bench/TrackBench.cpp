// Recording at the largest point limit: each fix is appended to a main layer that
// already holds 45000 points, so every fix also thins the layer by one point.
// Reports the median time of one Add fix in microseconds ("median_us").
// A second case records long enough at the smallest limit for thinning to work among
// the newest points, which smoothing around the last point then finds changed.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "track/Track.h"
#include "track/TrackUnits.h"

namespace {

constexpr int kLargestTableIndex = 8;   // 45000 points
constexpr int kSmallestTableIndex = 0;  // 1000 points
constexpr int kFillFixes = 50000;
constexpr int kLongFillFixes = 20000;  // twenty times the smallest limit
constexpr int kTimedFixes = 20000;
constexpr double kMetresPerDegree = wendra::kHalfTurnKm * 1000.0 / 180.0;

// A walk north-east at 36 km/h, one fix a second, with a little altitude change.
wendra::TrackFix fixNumber(int i) {
    wendra::TrackFix fix;
    fix.latitude = 45.0 + 7.0 * i / kMetresPerDegree;
    fix.longitude = 7.0 + 7.0 * i / kMetresPerDegree / 0.7071;
    fix.speed = 36.0f;
    fix.altitude = 200.0f + static_cast<float>(i % 50);
    fix.heading = 45;
    fix.signal = 40.0f;
    fix.time = 8000.0 + i / wendra::kSecondsPerDay;
    return fix;
}

void timeAddFix(benchmark::State& state, int tableIndex, int fillFixes) {
    const bool smoothNow = state.range(0) != 0;
    wendra::Track track;
    track.settings.maxPointsIndex = tableIndex;
    int i = 0;
    for (; i < fillFixes; ++i) track.addFix(fixNumber(i), smoothNow);
    std::vector<double> micros;
    micros.reserve(kTimedFixes);
    for (auto _ : state) {
        const wendra::TrackFix fix = fixNumber(i++);
        const auto start = std::chrono::steady_clock::now();
        track.addFix(fix, smoothNow);
        const auto stop = std::chrono::steady_clock::now();
        micros.push_back(std::chrono::duration<double, std::micro>(stop - start).count());
    }
    std::nth_element(micros.begin(), micros.begin() + micros.size() / 2, micros.end());
    state.counters["median_us"] = micros[micros.size() / 2];
    state.counters["points"] = track.main().count();
}

void BM_TrackAddFixAtLimit(benchmark::State& state) {
    timeAddFix(state, kLargestTableIndex, kFillFixes);
}

void BM_TrackAddFixThinningAmongNewest(benchmark::State& state) {
    timeAddFix(state, kSmallestTableIndex, kLongFillFixes);
}

BENCHMARK(BM_TrackAddFixAtLimit)
    ->ArgName("smoothNow")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(kTimedFixes)
    ->Unit(benchmark::kMicrosecond);

BENCHMARK(BM_TrackAddFixThinningAmongNewest)
    ->ArgName("smoothNow")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(kTimedFixes)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
