// Cumulative distance and time along the main layer. index is the cache key: a pass
// recomputes from the first point whose index is off or whose distance changed.

#include "track/Track.h"
#include "track/TrackPoint.h"

namespace wendra {

float Track::cumulativeValues(const TrackPoint* upTo) {
    TrackLock::Hold hold(lock_, u".Len");
    return cumulativeValuesHeld(upTo);
}

float Track::cumulativeValuesHeld(const TrackPoint* upTo) {
    TrackLayer& layer0 = main();
    TrackPoint* point = layer0.first();
    layer0.tail = point;
    if (!point) return 0.0f;
    const bool join = settings.joinFarPoints;
    // A changed distance of the first point shows only in the points after it.
    bool recomputing = point->index != 0 || point->has(kDistanceDirty);
    point->index = 0;
    point->cumDistKm = 0.0f;
    point->cumTime = 0.0f;
    point->flags &= ~kDistanceDirty;
    std::uint16_t i = 1;
    while (point != upTo && point->next) {
        TrackPoint* next = point->next;
        if (recomputing || next->index != i || next->has(kDistanceDirty)) {
            recomputing = true;
            next->flags &= ~kDistanceDirty;
            next->index = i;
            const bool broken = point->has(kSegmentEnd) && !join;
            next->cumDistKm = point->cumDistKm + (broken ? 0.0f : point->distNextKm);
            const bool started = next->has(kSegmentStart) && !join;
            next->cumTime = point->cumTime + (started ? 0.0f : next->dtPrev);
        }
        point = next;
        ++i;
    }
    layer0.tail = point;
    return point->cumDistKm;
}

}  // namespace wendra
