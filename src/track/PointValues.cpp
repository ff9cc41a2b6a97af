#include "track/PointValues.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "track/DeviceTimeZone.h"
#include "track/TrackLayer.h"
#include "track/TrackPoint.h"

namespace wendra {

namespace {

constexpr float kSignalMax = 100.0f;
// Half-turn units covered in 5 s at 1 km/h: the gap test's expected step.
constexpr double kFiveSecondsPerKmh = 6.931445e-8;
// Added to the minimum distance for the smallest step the gap test tolerates.
constexpr double kGapFloorKm = 0.05;

std::uint16_t normalisedWeight(int weight) {
    return static_cast<std::uint16_t>(
        std::clamp(weight, 1, static_cast<int>(std::numeric_limits<std::uint16_t>::max())));
}

std::int16_t normalisedHeading(long long heading) {
    if (heading < 0) heading += (-heading) / 360 * 360 + 360;
    return static_cast<std::int16_t>(heading % 360);
}

}  // namespace

void setPointValues(TrackPoint& point, const PointValues& values, double minPointDistanceKm) {
    point.lon = values.lon;
    point.lat = values.lat;
    point.speed = values.speed;
    point.altitude = values.altitude;
    point.signal = values.signal >= 0.0f && values.signal <= kSignalMax ? values.signal : 0.0f;
    point.weight = normalisedWeight(values.weight);
    point.colour = static_cast<std::uint16_t>(values.colour);
    point.time = values.time;
    point.timeZone = static_cast<std::int16_t>(values.timeZone == kNoValue ? deviceTimeZoneHours()
                                                                           : values.timeZone);
    const bool live = values.flags == kLiveFlags;
    if (!live) {
        point.flags = static_cast<std::uint32_t>(values.flags) & ~kDistanceDirty;
        if (values.textRecord && point.prev && point.prev->has(kSegmentEnd))
            point.flags |= kSegmentStart;
    }
    point.latRad = point.lat * kPi;
    point.cosLat = std::cos(point.latRad);
    point.lonScaled = point.lon * point.cosLat;
    point.heading = normalisedHeading(values.heading);
    refreshNeighbourValues(point);
    if (point.prev) refreshNeighbourValues(*point.prev);
    if (live && point.weight == 1) applyGapTest(point, minPointDistanceKm);
}

void refreshNeighbourValues(TrackPoint& point) {
    if (TrackLayer* layer = point.layer()) layer->touchPoint(point);
    if (const TrackPoint* next = point.next) {
        const double dx = (point.lon - next->lon) * std::cos((point.latRad + next->latRad) / 2);
        const double dy = point.lat - next->lat;
        const float dz = (point.altitude - next->altitude) / kHalfTurnMetresSingle;
        point.distNext = std::sqrt(static_cast<float>(dx * dx + dy * dy) + dz * dz);
        point.distNextKm = point.distNext * kHalfTurnKmSingle;
        point.flags |= kDistanceDirty;
        point.index = 0;
    }
    if (const TrackPoint* prev = point.prev)
        point.dtPrev = static_cast<float>(point.time - prev->time);
}

void applyGapTest(TrackPoint& point, double minPointDistanceKm) {
    TrackPoint* prev = point.prev;
    if (!prev) return;
    if (prev->has(kSegmentEnd)) {
        point.flags |= kSegmentStart;
        return;
    }
    const double floor = (minPointDistanceKm + kGapFloorKm) / kHalfTurnKm;
    const double expected = std::max(
        static_cast<double>(std::max(prev->speed, point.speed)) * kFiveSecondsPerKmh, floor);
    if (prev->distNext > expected) {
        prev->flags |= kSegmentEnd;
        point.flags |= kSegmentStart;
    }
}

void setViewPosition(TrackPoint& point, const TrackViewFrame& frame) {
    const double theta = frame.thetaDegrees * kPi / 180.0;
    const double x = point.lon * std::cos(frame.refLat * kPi);
    point.viewX = x * std::cos(theta) - point.lat * std::sin(theta);
    point.viewY = x * std::sin(theta) + point.lat * std::cos(theta);
}

}  // namespace wendra
