#pragma once
// The numbers of one statistics pass over a range of track points (km, m, km/h, days,
// half-turn positions), and the pass itself. The pass takes no lock: the caller holds
// the track lock. It follows next links from `from` and stops at `to` or the layer end.

#include "track/TrackPoint.h"

namespace wendra {

// The largest or smallest value of the range and where it was met.
struct StatisticsExtreme {
    static constexpr double kNotFound = 999999.0;

    float value = 0.0f;
    double time = 0.0;
    double lon = kNotFound;  // half-turn units
    double lat = kNotFound;

    bool found() const { return lon != kNotFound; }
};

// Climbing or descending steps of the range.
struct StatisticsClimb {
    float uneven = 0.0f;        // m, never negative
    float distance = 0.0f;      // km
    float time = 0.0f;          // days
    float averageSpeed = 0.0f;  // km/h
    float slope = 0.0f;         // %
};

struct StatisticsResults {
    static constexpr float kNoSlope = 999999.0f;

    double firstTime = 0.0;
    double lastTime = 0.0;
    float firstAltitude = 0.0f;
    float lastAltitude = 0.0f;
    float totalTime = 0.0f;        // days
    float accumulatedTime = 0.0f;  // days inside segments
    float movingTime = 0.0f;
    float stationaryTime = 0.0f;
    int stationaryPercent = 0;
    float lengthKm = 0.0f;
    float averageSpeed = 0.0f;  // km/h over the accumulated time
    float averageTotalSpeed = 0.0f;
    float averageMovingSpeed = 0.0f;
    StatisticsExtreme maxSpeed;
    float altitudeDelta = 0.0f;
    float amplitude = 0.0f;
    StatisticsExtreme maxAltitude;
    StatisticsExtreme minAltitude{static_cast<float>(StatisticsExtreme::kNotFound)};
    StatisticsClimb positive;
    StatisticsClimb negative;
    float climbSpeed = 0.0f;  // live, m/min
    float glideRatio = 0.0f;  // live
    float slope = 0.0f;       // % from the glide ratio, see slopeFromGlideRatio
    int pointCount = 0;
    int segmentCount = 0;
    float averageSignal = 0.0f;
    bool timeless = false;  // a point had time 0 (a file written without times)
};

struct StatisticsRangeOptions {
    bool joinFarPoints = false;
    float liveClimbSpeed = 0.0f;
    float liveGlideRatio = 0.0f;
};

// One pass over from..to, both included. The interval from `to` to the point after it
// is not counted: the range's times are those of its own points.
StatisticsResults passRange(const TrackPoint& from, const TrackPoint& to,
                            const StatisticsRangeOptions& options);

// The slope shown beside a glide ratio: 100 / ratio; 0 when the ratio is 0.1 or less
// in size (no glide measured), kNoSlope when the slope would exceed 999 %.
float slopeFromGlideRatio(float glideRatio);

}  // namespace wendra
