// The view commands that work on the track: shifts, the track cursor, the second
// marker and the one-shot fit.
#include <cmath>
#include <cstdlib>

#include "track/Track.h"
#include "track/TrackPoint.h"
#include "track/TrackUnits.h"
#include "view/ViewCycle.h"
#include "view/ViewMessages.h"
#include "view/VisibleTrack.h"

namespace wendra {

namespace {

constexpr int kCommandShiftPixels = 2;
constexpr int kKeyShiftPixels = 5;
// Pen travel that crosses a segment end, in pixels.
constexpr double kSegmentGapPixels = 0.5;
constexpr double kSecondMarkerRadiusKm = 0.01;
constexpr double kKmPerUnit = 20037.5;

platform::Point shiftOf(ShiftDirection direction, int pixels) {
    switch (direction) {
        case ShiftDirection::Right:
            return {-pixels, 0};
        case ShiftDirection::Left:
            return {pixels, 0};
        case ShiftDirection::Up:
            return {0, pixels};
        case ShiftDirection::Down:
            break;
    }
    return {0, -pixels};
}

std::u16string_view messageOf(ShiftDirection direction) {
    switch (direction) {
        case ShiftDirection::Right:
            return viewmsg::kRight;
        case ShiftDirection::Left:
            return viewmsg::kLeft;
        case ShiftDirection::Up:
            return viewmsg::kUp;
        case ShiftDirection::Down:
            break;
    }
    return viewmsg::kDown;
}

}  // namespace

bool ViewCycle::shift(int dx, int dy) {
    if (view_.has(viewflag::kZoomDrag)) return view_.zoomDrag(dy);
    if (view_.has(viewflag::kTrackCursor)) return walkCursor(dx, dy);
    if (!view_.has(viewflag::kFreeMovement)) return false;
    view_.moveCentre(dx, dy);
    return true;
}

std::u16string_view ViewCycle::shiftCommand(ShiftDirection direction) {
    if (!view_.has(viewflag::kFreeMovement)) return viewmsg::kNotAvailable;
    const platform::Point d = shiftOf(direction, kCommandShiftPixels);
    shift(d.x, d.y);
    return messageOf(direction);
}

bool ViewCycle::keyShift(ShiftDirection direction) {
    if (!view_.has(viewflag::kFreeMovement)) return false;
    const platform::Point d = shiftOf(direction, kKeyShiftPixels);
    return shift(d.x, d.y);
}

// The pen travel is spent on the distances between points, so that the cursor
// follows the pen along the track whatever the spacing of the points.
bool ViewCycle::walkCursor(int dx, int dy) {
    TrackSelection& selection = track_.main().selection;
    TrackPoint* start = selection.cursor;
    if (!start) return false;
    TrackPoint*& cursor = selection.cursor;
    if (dy == kStepOnePoint) {
        cursorRest_ = 0.0;
        TrackPoint* to = dx == 1 ? cursor->next : cursor->prev;
        if (!to) return false;
        cursor = to;
        view_.setCentre(cursor->lat, cursor->lon);
        return true;
    }
    const double gap = kSegmentGapPixels / view_.scale;
    auto cost = [gap](const TrackPoint& p) {
        return p.has(kSegmentEnd) ? gap : double{p.distNext};
    };
    cursorRest_ += 2.0 * dx / view_.scale;
    while (cursorRest_ > 0.0) {
        if (!cursor->next) {
            cursorRest_ = 0.0;
            break;
        }
        if (cursorRest_ - cost(*cursor) < 0.0) break;
        cursorRest_ -= cost(*cursor);
        cursor = cursor->next;
    }
    while (cursorRest_ < 0.0) {
        if (!cursor->prev) {
            cursorRest_ = 0.0;
            break;
        }
        if (cursorRest_ + cost(*cursor->prev) > 0.0) break;
        cursorRest_ += cost(*cursor->prev);
        cursor = cursor->prev;
    }
    if (cursor != start) view_.setCentre(cursor->lat, cursor->lon);
    return cursor != start;
}

TrackPoint* ViewCycle::nearestPoint(const TrackLayer& layer, double lat, double lon, double limit) {
    TrackPoint* best = nullptr;
    const float most = limit > 0.0 ? static_cast<float>(limit) : INFINITY;
    float bestDistance = INFINITY;
    for (TrackPoint* p = layer.first(); p; p = p->next) {
        const float dx = static_cast<float>((lon - p->lon) * std::cos((lat * kPi + p->latRad) / 2));
        const float dy = static_cast<float>(lat - p->lat);
        const float distance = std::sqrt(dx * dx + dy * dy);
        if (distance <= most && distance < bestDistance) {
            best = p;
            bestDistance = distance;
        }
    }
    return best;
}

bool ViewCycle::enterTrackCursor() {
    TrackLayer& main = track_.main();
    TrackPoint* point = nearestPoint(main, view_.centreLat(), view_.centreLon(), 0.0);
    if (!point) point = main.last();
    if (!point) return false;
    main.selection.cursor = point;
    main.selection.cursorPlaced = true;
    view_.enterManualZoom();
    view_.flags = (view_.flags & ~viewflag::kFreeMovement) | viewflag::kTrackCursor;
    view_.setCentre(point->lat, point->lon);
    cursorRest_ = 0.0;
    return true;
}

bool ViewCycle::enterTrackCursorAt(int index) {
    TrackLayer& main = track_.main();
    TrackPoint* best = nullptr;
    for (TrackPoint* p = main.first(); p; p = p->next) {
        if (!best || std::abs(p->index - index) < std::abs(best->index - index)) best = p;
    }
    if (!best) return false;
    main.selection.cursor = best;
    main.selection.cursorPlaced = true;
    view_.enterManualZoom();
    view_.flags = (view_.flags & ~viewflag::kFreeMovement) | viewflag::kTrackCursor;
    view_.setCentre(best->lat, best->lon);
    cursorRest_ = 0.0;
    return true;
}

TrackPoint* ViewCycle::setSecondMarker() {
    view_.enterManualZoom();
    TrackPoint* point = view_.has(viewflag::kTrackCursor)
                            ? track_.main().selection.cursor
                            : nearestPoint(track_.main(), view_.centreLat(), view_.centreLon(),
                                           kSecondMarkerRadiusKm / kKmPerUnit);
    view_.secondMarker =
        point ? LatLon{point->lat, point->lon} : LatLon{view_.centreLat(), view_.centreLon()};
    view_.flags |= viewflag::kSecondMarker;
    if (!view_.has(viewflag::kFreeMovement) && !view_.has(viewflag::kTrackCursor))
        view_.flags |= viewflag::kFreeMovement;
    return point;
}

}  // namespace wendra

namespace wendra {

void ViewCycle::setAuto(FrameInputs& in) {
    LatLon unused;
    view_.setAuto(in.gps ? *in.gps : unused, in.fixValid);
    track_.main().selection.cursorPlaced = false;
    track_.main().selection.anchorPlaced = false;
}

void ViewCycle::setProportional(FrameInputs& in) {
    LatLon unused;
    view_.setProportional(in.gps ? *in.gps : unused, in.fixValid);
    track_.main().selection.cursorPlaced = false;
    track_.main().selection.anchorPlaced = false;
}

void ViewCycle::mainCleared() {
    view_.flags &= ~(viewflag::kFreeMovement | viewflag::kTrackCursor | viewflag::kSecondMarker);
    cursorRest_ = 0.0;
}

}  // namespace wendra
