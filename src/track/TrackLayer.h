#pragma once
// One of the five track layers: a doubly linked list of heap points that the layer
// owns, its point count, its thinning cursor and the references the view and the
// statistics keep into it. The layer never takes the track lock: Track does.

#include <cstdint>

#include "track/MergeAccumulator.h"
#include "track/TrackSelection.h"

namespace wendra {

class TrackPoint;

class TrackLayer {
public:
    // Only the main layer has a selection whose ends follow deleted points.
    explicit TrackLayer(bool main = false) : main_(main) {}
    ~TrackLayer();
    TrackLayer(const TrackLayer&) = delete;
    TrackLayer& operator=(const TrackLayer&) = delete;

    TrackPoint* first() const { return first_; }
    TrackPoint* last() const { return last_; }
    int count() const { return count_; }
    bool empty() const { return first_ == nullptr; }
    bool isMain() const { return main_; }

    // A new point after `prev` (at the front when prev is null), index prev->index + 1,
    // count + 1. Null when memory runs out; the caller shows its own message.
    TrackPoint* insertAfter(TrackPoint* prev);
    TrackPoint* append() { return insertAfter(last_); }
    // Deletes the point (its destructor unlinks it).
    void erase(TrackPoint* point);
    // Deletes the chain from..to, both included, following next links.
    void eraseRange(TrackPoint* from, TrackPoint* to);
    // Deletes every point. The merge accumulator and selection flags are the caller's.
    void clear();
    // index = 0, 1, 2, ... along the layer.
    void numberPoints();

    // Thinning cursor: a point and the weight it was chosen for (none and -1).
    TrackPoint* thinCursor = nullptr;
    int thinCursorWeight = -1;
    // The last point reached by the cumulative pass (main layer).
    TrackPoint* tail = nullptr;
    // Counts every change of the layer's points (added, deleted, values set), so that
    // what the view derives from them is only derived again when it is stale. Code that
    // writes a point's fields by hand, outside setPointValues, calls touch(), or
    // touchPoint() when it changed that one point only.
    std::uint64_t revision() const { return revision_; }
    void touch() { edited_ = ++revision_; }
    void touchPoint(const TrackPoint& point);
    // Whether every change since `revision` was at the end, as recording makes them:
    // points appended after the last one, or values of the last two points set. Then
    // the points the layer had at that revision, but for its last two, are still its
    // first points, unchanged, and what was derived from them can be continued.
    bool onlyEndChangedSince(std::uint64_t revision) const { return edited_ <= revision; }
    // Heads of the view's per-layer lists; cleared whenever a point is deleted,
    // because the lists may run through it.
    TrackPoint* drawHead = nullptr;
    TrackPoint* visibleHead = nullptr;
    // Main layer only.
    TrackSelection selection;
    MergeAccumulator merge;

private:
    friend class TrackPoint;
    void unlink(TrackPoint& point);

    bool main_;
    TrackPoint* first_ = nullptr;
    TrackPoint* last_ = nullptr;
    int count_ = 0;
    std::uint64_t revision_ = 0;
    std::uint64_t edited_ = 0;  // the revision of the last change not at the end
};

}  // namespace wendra
