#pragma once
// Setting a point's measured values: every writer of points (recording, file
// readers, importers, thinning) goes through setPointValues, which normalises them,
// derives the geometry and refreshes the links to both neighbours.

#include <cstdint>

#include "track/TrackUnits.h"
#include "track/TrackViewFrame.h"

namespace wendra {

class TrackPoint;

// flags value meaning "a live point": it keeps the segment flags it has and, with
// weight 1, runs the gap test against its previous point.
constexpr std::int64_t kLiveFlags = -1;

struct PointValues {
    double lon = 0.0;  // longitude / 180
    double lat = 0.0;  // latitude / 180
    float speed = 0.0f;
    float altitude = 0.0f;
    int heading = 0;
    float signal = 0.0f;
    int weight = 1;
    int colour = 0;
    double time = 0.0;
    int timeZone = kNoValue;  // kNoValue: the device's zone (deviceTimeZoneHours)
    std::int64_t flags = kLiveFlags;
    // Flags read from a text record: a point after a SegmentEnd also gets SegmentStart.
    bool textRecord = false;
};

// Stores the values (flags without DistanceDirty), normalises weight, signal and
// heading, derives latRad, cosLat and lonScaled, recomputes distNext of the point and
// of its previous point and the point's dtPrev, then runs the gap test for live points.
void setPointValues(TrackPoint& point, const PointValues& values, double minPointDistanceKm);

// Recomputes distNext, distNextKm (DistanceDirty, index 0) from the next point and
// dtPrev from the previous one.
void refreshNeighbourValues(TrackPoint& point);

// Gives the point SegmentStart (and its previous point SegmentEnd) when the step from
// the previous point is longer than 5 s at the faster of the two speeds allows.
void applyGapTest(TrackPoint& point, double minPointDistanceKm);

// viewX, viewY of a recorded point in the view's rotated frame of this moment.
void setViewPosition(TrackPoint& point, const TrackViewFrame& frame);

}  // namespace wendra
