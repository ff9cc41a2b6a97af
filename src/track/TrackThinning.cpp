// Thinning: while a layer holds more points than its limit, the first pair of
// neighbours of least weight becomes one point. A cursor remembers where the last
// merge happened, so that a long track is not rescanned for every new fix.

#include <algorithm>
#include <limits>

#include "track/PointValues.h"
#include "track/Track.h"
#include "track/TrackPoint.h"

namespace wendra {

namespace {

constexpr int kMaxWeight = std::numeric_limits<std::uint16_t>::max();

// Segment breaks are never merged away. DistanceDirty is a cache mark, not a
// property of the point, so it does not keep a point from being thinned.
bool mergeable(const TrackPoint& point) {
    const TrackPoint* next = point.next;
    return next && (point.flags & ~kDistanceDirty) == 0 && (next->flags & ~kDistanceDirty) == 0;
}

TrackPoint* cursorCandidate(const TrackLayer& layer) {
    TrackPoint* cursor = layer.thinCursor;
    if (!cursor || !cursor->next || !cursor->next->next) return nullptr;
    if (cursor->weight != layer.thinCursorWeight || !mergeable(*cursor)) return nullptr;
    return cursor;
}

// The first point of least weight from the second point to the third-last.
TrackPoint* scanCandidate(TrackLayer& layer) {
    TrackPoint* best = nullptr;
    if (!layer.first()) return nullptr;
    for (TrackPoint* point = layer.first()->next; point && point->next && point->next->next;
         point = point->next) {
        if (mergeable(*point) && (!best || point->weight < best->weight)) best = point;
    }
    layer.thinCursorWeight = best ? best->weight : -1;
    return best;
}

// The point takes the weighted means of itself and its next point, which is deleted.
void mergeWithNext(TrackLayer& layer, TrackPoint& point, double minPointDistanceKm) {
    TrackPoint* next = point.next;
    const int a = point.weight;
    const int b = next->weight;
    const int s = a + b;
    const double da = a, db = b, ds = s;
    const float fa = static_cast<float>(a), fb = static_cast<float>(b), fs = static_cast<float>(s);
    PointValues merged;
    merged.lon = (point.lon * da + next->lon * db) / ds;
    merged.lat = (point.lat * da + next->lat * db) / ds;
    merged.speed = (point.speed * fa + next->speed * fb) / fs;
    merged.altitude = (point.altitude * fa + next->altitude * fb) / fs;
    merged.signal = (point.signal * fa + next->signal * fb) / fs;
    merged.time = (point.time * da + next->time * db) / ds;
    merged.heading = (point.heading * a + next->heading * b) / s;
    merged.weight = std::min(s, kMaxWeight);
    merged.colour = point.colour;
    merged.timeZone = point.timeZone;
    merged.flags = point.flags;
    layer.erase(next);
    setPointValues(point, merged, minPointDistanceKm);
}

}  // namespace

void Track::thinLayer(int index) {
    TrackLock::Hold hold(lock_, u".Pack");
    thinLayerHeld(index);
}

void Track::thinLayerHeld(int index) {
    TrackLayer& target = layer(index);
    const int limit = settings.maxPoints(index);
    while (target.count() > limit) {
        TrackPoint* candidate = cursorCandidate(target);
        if (!candidate) candidate = scanCandidate(target);
        if (!candidate) {
            target.thinCursor = nullptr;
            target.thinCursorWeight = -1;
            return;
        }
        mergeWithNext(target, *candidate, settings.minPointDistanceKm);
        target.thinCursor = candidate->next;
    }
}

}  // namespace wendra
