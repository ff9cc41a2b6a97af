// Cumulative distance and time along the main layer. index is the cache key: a pass
// recomputes from the first point whose index is off or whose distance changed. While
// only points are appended (recording), a pass goes on from near the end of the last.

#include "track/Track.h"
#include "track/TrackPoint.h"

namespace wendra {

namespace {

// Walks on from a point whose values hold to upTo or the last point; from the first
// point after it whose index is off or whose distance changed, every one is computed.
TrackPoint* walkOn(TrackPoint* point, const TrackPoint* upTo, bool join, bool recomputing) {
    std::uint16_t i = static_cast<std::uint16_t>(point->index + 1);
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
    return point;
}

}  // namespace

float Track::cumulativeValues(const TrackPoint* upTo) {
    TrackLock::Hold hold(lock_, u".Len");
    return cumulativeValuesHeld(upTo);
}

float Track::cumulativeValuesHeld(const TrackPoint* upTo) {
    TrackLayer& layer0 = main();
    const bool join = settings.joinFarPoints;
    const bool sameJoin = join == cumulative_.join;
    TrackPoint* point = nullptr;
    bool recomputing = false;
    if (!upTo && sameJoin && cumulative_.point &&
        layer0.onlyEndChangedSince(cumulative_.revision)) {
        point = cumulative_.point;
    } else {
        point = layer0.first();
        layer0.tail = point;
        if (!point) return 0.0f;
        // A changed distance of the first point shows only in the points after it;
        // a changed join setting in all of them.
        recomputing = point->index != 0 || point->has(kDistanceDirty) || !sameJoin;
        point->index = 0;
        point->cumDistKm = 0.0f;
        point->cumTime = 0.0f;
        point->flags &= ~kDistanceDirty;
    }
    point = walkOn(point, upTo, join, recomputing);
    layer0.tail = point;
    if (!point->next) keepSeed(join);
    return point->cumDistKm;
}

// The third point from the end: recording changes no point before the last two, so
// the values up to here hold while it only appends.
void Track::keepSeed(bool join) {
    const TrackPoint* last = main().last();
    TrackPoint* seed = last && last->prev ? last->prev->prev : nullptr;
    cumulative_ = CumulativeSeed{seed, main().revision(), join};
}

}  // namespace wendra
