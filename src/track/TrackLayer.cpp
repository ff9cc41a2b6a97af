#include "track/TrackLayer.h"

#include <new>

#include "track/TrackPoint.h"

namespace wendra {

namespace {

// A selection end on a deleted point moves to its previous point, else its next.
void follow(TrackPoint*& end, const TrackPoint& gone) {
    if (end == &gone) end = gone.prev ? gone.prev : gone.next;
}

}  // namespace

TrackLayer::~TrackLayer() {
    clear();
}

TrackPoint* TrackLayer::insertAfter(TrackPoint* prev) {
    auto* point = new (std::nothrow) TrackPoint;
    if (!point) return nullptr;
    point->layer_ = this;
    point->prev = prev;
    point->next = prev ? prev->next : first_;
    point->index = prev ? static_cast<std::uint16_t>(prev->index + 1) : 0;
    if (point->next) point->next->prev = point;
    if (prev) prev->next = point;
    if (!prev) first_ = point;
    const bool atEnd = last_ == prev;
    if (atEnd) last_ = point;
    ++count_;
    if (atEnd)
        ++revision_;
    else
        touch();
    return point;
}

void TrackLayer::touchPoint(const TrackPoint& point) {
    const bool atEnd = &point == last_ || (last_ && &point == last_->prev);
    if (atEnd)
        ++revision_;
    else
        touch();
}

void TrackLayer::erase(TrackPoint* point) {
    delete point;
}

void TrackLayer::eraseRange(TrackPoint* from, TrackPoint* to) {
    while (from) {
        TrackPoint* following = from == to ? nullptr : from->next;
        delete from;
        from = following;
    }
}

void TrackLayer::clear() {
    while (first_) delete first_;
}

void TrackLayer::numberPoints() {
    std::uint16_t index = 0;
    for (TrackPoint* point = first_; point; point = point->next) point->index = index++;
}

// Neighbours are joined only where they still point here, so that a chain that an
// editor has already cut out of the list can be deleted point by point.
void TrackLayer::unlink(TrackPoint& point) {
    TrackPoint* prev = point.prev;
    TrackPoint* next = point.next;
    if (prev && prev->next == &point) prev->next = next;
    if (next && next->prev == &point) next->prev = prev;
    if (first_ == &point) first_ = next;
    if (last_ == &point) last_ = prev;
    touch();
    if (main_) {
        follow(selection.cursor, point);
        follow(selection.anchor, point);
    }
    if (thinCursor == &point) {
        thinCursor = nullptr;
        thinCursorWeight = -1;
    }
    if (tail == &point) tail = prev;
    drawHead = nullptr;
    visibleHead = nullptr;
    point.layer_ = nullptr;
    --count_;
}

}  // namespace wendra
