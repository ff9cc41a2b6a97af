// The range pass: one walk over the points of a range that sums lengths, times and
// climbs and finds the extremes. Single precision like the stored points.

#include <algorithm>
#include <cmath>

#include "track/StatisticsResults.h"

namespace wendra {

namespace {

constexpr float kStationaryKmh = 2.0f;  // at or below: the time counts as stationary
// The smoothed altitude must change by more than this for the climbing state to turn.
constexpr float kClimbHysteresisM = 0.8f;
constexpr float kMinGlideRatio = 0.1f;
constexpr float kMaxSlopePercent = 999.0f;
constexpr float kHoursPerDay = 24.0f;
constexpr double kFullPercent = 100.0;

// A receiver whose clock jumped backwards gives a step a negative interval: no time
// passed on it, and a negative one must not cancel the time of other steps.
float elapsed(float dtPrev) {
    return std::max(dtPrev, 0.0f);
}

float speedOver(float km, float days) {
    return days != 0.0f ? km / std::fabs(days) / kHoursPerDay : 0.0f;
}

void take(StatisticsExtreme& extreme, float value, const TrackPoint& p) {
    extreme.value = value;
    extreme.time = p.time;
    extreme.lon = p.lon;
    extreme.lat = p.lat;
}

// The step p -> next on the climbing state, which turns only past the hysteresis.
void classifyStep(const TrackPoint& p, const TrackPoint& next, bool& up, StatisticsResults& r) {
    const float rise = next.smoothAltitude;
    const float level = p.smoothAltitude + kClimbHysteresisM;
    if (up && rise < level)
        up = false;
    else if (!up && rise > level)
        up = true;
    StatisticsClimb& climb = up ? r.positive : r.negative;
    climb.uneven += up ? next.altitude - p.altitude : p.altitude - next.altitude;
    climb.distance += p.distNextKm;
    // The step's own duration, so that the time of a gap before p never joins a climb.
    climb.time += elapsed(next.dtPrev);
}

void finishClimb(StatisticsClimb& climb) {
    if (climb.uneven < 0.0f) climb.uneven = 0.0f;
    climb.averageSpeed = speedOver(climb.distance, climb.time);
    climb.slope = climb.distance != 0.0f ? climb.uneven / climb.distance / 10.0f : 0.0f;
}

void finish(StatisticsResults& r, float signalSum) {
    r.amplitude = r.minAltitude.found() ? r.maxAltitude.value - r.minAltitude.value : 0.0f;
    r.averageSignal = r.pointCount > 0 ? signalSum / static_cast<float>(r.pointCount) : 0.0f;
    // Without times the intervals are differences against 0: none of them means anything.
    if (r.timeless) r.accumulatedTime = r.movingTime = r.stationaryTime = 0.0f;
    r.averageSpeed = speedOver(r.lengthKm, r.accumulatedTime);
    r.averageTotalSpeed = speedOver(r.lengthKm, r.totalTime);
    r.averageMovingSpeed = speedOver(r.lengthKm, r.movingTime);
    if (r.totalTime != 0.0f && r.accumulatedTime != 0.0f) {
        const float total = r.totalTime;
        // Time spent in the gaps between segments counts as stationary. Steps back and
        // forth in time can add up to more than the span from first to last point.
        r.stationaryTime = std::max(r.stationaryTime + total - r.accumulatedTime, 0.0f);
        const double percent = std::round(r.stationaryTime * kFullPercent / total);
        // Written so that a value that is no number lands on 0 too.
        r.stationaryPercent = percent > kFullPercent ? static_cast<int>(kFullPercent)
                              : percent > 0.0        ? static_cast<int>(percent)
                                                     : 0;
    }
    finishClimb(r.positive);
    finishClimb(r.negative);
}

}  // namespace

float slopeFromGlideRatio(float glideRatio) {
    if (std::fabs(glideRatio) <= kMinGlideRatio) return 0.0f;
    const float slope = 100.0f / glideRatio;
    return std::fabs(slope) > kMaxSlopePercent ? StatisticsResults::kNoSlope : slope;
}

StatisticsResults passRange(const TrackPoint& from, const TrackPoint& to,
                            const StatisticsRangeOptions& options) {
    StatisticsResults r;
    r.segmentCount = 1;
    r.firstTime = from.time;
    r.firstAltitude = from.altitude;
    r.lastTime = to.time;
    r.lastAltitude = to.altitude;
    // The span between the two ends, whichever the receiver's clock put first.
    r.totalTime = static_cast<float>(std::fabs(r.lastTime - r.firstTime));
    r.altitudeDelta = r.lastAltitude - r.firstAltitude;
    r.climbSpeed = options.liveClimbSpeed;
    r.glideRatio = options.liveGlideRatio;
    r.slope = slopeFromGlideRatio(options.liveGlideRatio);
    const bool join = options.joinFarPoints;
    bool up = from.next && from.next->smoothAltitude > from.smoothAltitude;
    float signalSum = 0.0f;
    // The interval after `to` is left out (see passRange in the header).
    for (const TrackPoint* p = &from; p; p = p->next) {
        ++r.pointCount;
        signalSum += p->signal;
        if (p->has(kSegmentEnd)) ++r.segmentCount;
        if (p->time == 0.0) r.timeless = true;
        const bool last = p == &to;
        if (!last && (join || !p->has(kSegmentEnd))) {
            r.lengthKm += p->distNextKm;
            if (p->next) classifyStep(*p, *p->next, up, r);
        }
        if (p != &from && p->prev && (join || !p->has(kSegmentStart))) {
            const float dt = elapsed(p->dtPrev);
            r.accumulatedTime += dt;
            (p->speed <= kStationaryKmh ? r.stationaryTime : r.movingTime) += dt;
        }
        if (p->speed > r.maxSpeed.value) take(r.maxSpeed, p->speed, *p);
        if (p->altitude > r.maxAltitude.value) take(r.maxAltitude, p->altitude, *p);
        if (p->altitude < r.minAltitude.value) take(r.minAltitude, p->altitude, *p);
        if (last) break;
    }
    finish(r, signalSum);
    return r;
}

}  // namespace wendra
