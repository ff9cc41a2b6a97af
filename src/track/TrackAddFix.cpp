// Recording: how one fix becomes a point of the main layer, is merged into the last
// point, or only refreshes it.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "track/MemoryError.h"
#include "track/PointValues.h"
#include "track/Track.h"
#include "track/TrackPoint.h"
#include "track/TrackSmoothing.h"

namespace wendra {

namespace {

constexpr float kStopSpeedKmh = 2.0f;  // merged fixes slower than this were a stop
constexpr int kHalfCircle = 180;
constexpr int kFullCircle = 360;
constexpr int kMemoryStopPoint = 612;
constexpr int kMemoryFixPoint = 613;
constexpr std::uint16_t kMaxMergeCount = std::numeric_limits<std::uint16_t>::max();

// Adds the heading to the sum, unwrapped toward the mean of the headings summed so far.
int unwrappedHeading(const MergeAccumulator& merge, int heading) {
    if (merge.count == 1) return heading;
    const int mean = merge.sumHeading / (merge.count - 1);
    if (mean - heading >= kHalfCircle + 1) return heading + kFullCircle;
    if (mean - heading < -kHalfCircle) return heading - kFullCircle;
    return heading;
}

std::int16_t wrappedHeading(int heading) {
    return static_cast<std::int16_t>((heading % kFullCircle + kFullCircle) % kFullCircle);
}

}  // namespace

void Track::addFix(const TrackFix& fix, bool smoothNow) {
    bool trailing = false;
    {
        TrackLock::Hold hold(lock_, u".Add.1");
        if (!settings.recordTrack || !addFixHeld(fix, smoothNow)) return;
        trailing = settings.trailing;
    }
    if (trailing) trail();
    thinLayer(kMainLayer);
}

// True when a point was appended for the fix, which may then make the layer too
// long or too large.
bool Track::addFixHeld(const TrackFix& received, bool smoothNow) {
    // Receivers report 0..359; anything else is wrapped first so that the unwrapping
    // of merged headings cannot overflow.
    TrackFix fix = received;
    fix.heading = wrappedHeading(received.heading);
    const double lon = fix.longitude / kHalfCircle;
    const double lat = fix.latitude / kHalfCircle;
    TrackPoint* last = main().last();
    MergeAccumulator& merge = main().merge;
    if (last && merge.count == 1 && lon == last->lon && lat == last->lat &&
        fix.time == last->time) {
        last->speed = fix.speed;
        last->signal = fix.signal;
        last->altitude = fix.altitude;
        last->heading = static_cast<std::int16_t>(fix.heading);
        return false;
    }
    if (mergeIntoLast(fix, lon, lat, smoothNow)) return false;
    return closeMerge(smoothNow) && appendFix(fix, lon, lat, smoothNow);
}

// Merge test: the fix lies within the minimum distance of the last point (no cosine).
bool Track::mergeIntoLast(const TrackFix& fix, double lon, double lat, bool smoothNow) {
    TrackPoint* last = main().last();
    MergeAccumulator& merge = main().merge;
    // A full count cannot take another fix: the fix closes the merge instead.
    if (settings.noMerge || !last || merge.count == kMaxMergeCount) return false;
    const double d =
        std::sqrt((lon - last->lon) * (lon - last->lon) + (lat - last->lat) * (lat - last->lat));
    if (!(d < settings.minPointDistanceKm / kHalfTurnKm)) return false;
    if (merge.count == 1) merge.earliest = merge.latest = fix.time;
    merge.sumLon += lon;
    merge.sumLat += lat;
    merge.sumSpeed += fix.speed;
    merge.sumAltitude += fix.altitude;
    merge.sumSignal += fix.signal;
    merge.sumHeading =
        (merge.count == 1 ? 0 : merge.sumHeading) + unwrappedHeading(merge, fix.heading);
    merge.sumTime += fix.time;
    merge.earliest = std::min(merge.earliest, fix.time);
    merge.latest = std::max(merge.latest, fix.time);
    last->speed = fix.speed;
    last->altitude = fix.altitude;
    last->signal = fix.signal;
    last->time = fix.time;
    if (viewFrame.staticRotation) last->heading = static_cast<std::int16_t>(fix.heading);
    if (smoothNow) smoothAround(*last, settings.climbWindow);
    ++merge.count;
    return true;
}

// Replaces the last point by the average of the fixes merged into it; a slow average
// was a stop, kept as two points at the earliest and the latest merged time.
// False when the second point of a stop could not be allocated.
bool Track::closeMerge(bool smoothNow) {
    MergeAccumulator& merge = main().merge;
    TrackPoint* last = main().last();
    if (merge.count <= 1 || !last) return true;
    const int n = merge.count - 1;
    PointValues average;
    average.lon = merge.sumLon / n;
    average.lat = merge.sumLat / n;
    average.altitude = merge.sumAltitude / static_cast<float>(n);
    average.signal = merge.sumSignal / static_cast<float>(n);
    average.speed = merge.sumSpeed / static_cast<float>(n);
    average.heading = merge.sumHeading / n;
    average.colour = settings.newPointColour;
    const bool stop = average.speed < kStopSpeedKmh;
    if (stop) average.speed = 0.0f;
    average.time = stop ? merge.earliest : merge.sumTime / n;
    const double latest = merge.latest;
    merge.reset();
    setPointValues(*last, average, settings.minPointDistanceKm);
    finishPoint(*last, smoothNow);
    if (!stop) return true;
    TrackPoint* second = main().append();
    if (!second) {
        showMemoryError(kMemoryStopPoint);
        return false;
    }
    average.time = latest;
    setPointValues(*second, average, settings.minPointDistanceKm);
    finishPoint(*second, smoothNow);
    return true;
}

bool Track::appendFix(const TrackFix& fix, double lon, double lat, bool smoothNow) {
    TrackPoint* point = main().append();
    if (!point) {
        showMemoryError(kMemoryFixPoint);
        return false;
    }
    PointValues values;
    values.lon = lon;
    values.lat = lat;
    values.speed = fix.speed;
    values.altitude = fix.altitude;
    values.heading = fix.heading;
    values.signal = fix.signal;
    values.colour = settings.newPointColour;
    values.time = fix.time;
    setPointValues(*point, values, settings.minPointDistanceKm);
    finishPoint(*point, smoothNow);
    return true;
}

void Track::finishPoint(TrackPoint& point, bool smoothNow) {
    setViewPosition(point, viewFrame);
    if (smoothNow) smoothAround(point, settings.climbWindow);
}

// Drops the oldest points while the main layer is longer than the trailing length.
void Track::trail() {
    for (;;) {
        const float total = cumulativeValues();
        TrackLock::Hold hold(lock_, u".Add.2");
        TrackLayer& layer0 = main();
        if (!(total > settings.trailingLengthKm) || layer0.count() < 2) return;
        layer0.erase(layer0.first());
    }
}

}  // namespace wendra
