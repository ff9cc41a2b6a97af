#include "view/ViewCycle.h"

#include <algorithm>
#include <cmath>

#include "track/Track.h"
#include "track/TrackPoint.h"
#include "track/TrackUnits.h"
#include "view/VisibleTrack.h"

namespace wendra {

namespace {

// A repeated centre or scale settles within a few passes; more means a window or
// a track that cannot settle, and the last values are drawn.
constexpr int kMostPasses = 8;

struct Box {
    double minX = kNotSet, minY = kNotSet, maxX = -kNotSet, maxY = -kNotSet;
    void add(double x, double y) {
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
    bool valid() const { return minX <= maxX && minY <= maxY; }
};

RotatedOffset offsetOf(const ViewGeometry& view, double lat, double lon) {
    return view.project(lat, lon, std::cos(lat * kPi));
}

}  // namespace

void ViewCycle::update(FrameInputs& in) {
    view_.placeRect(in.client);
    if (!view_.setting(settings::kSmoothRotate)) view_.jumpRotation();
    if (!view_.setting(settings::kSmoothZoom)) view_.jumpZoom();
    TrackPoint* cursor = track_.main().selection.cursor;
    if (view_.has(viewflag::kTrackCursor) && !cursor) view_.flags &= ~viewflag::kTrackCursor;
    if (view_.has(viewflag::kTrackCursor)) view_.setCentre(cursor->lat, cursor->lon);
    updateRotation(in);
    view_.animateZoom(in.paintMs);
    if (view_.has(viewflag::kSecondMarker))
        view_.secondMarkerOffset = offsetOf(view_, view_.secondMarker.lat, view_.secondMarker.lon);
    if (view_.proportionalZoom() && !in.fixValid) fitAll(0, in);
    for (int pass = 0; pass < kMostPasses; ++pass) {
        decimateAll();
        settleCentre(in);
        const bool fitsTrack =
            !view_.manualZoom() && !in.navigating && !view_.trackExcludedFromFit();
        project(in, fitsTrack ? VisibleTrack::kUnlimited : VisibleTrack::halfExtent(view_));
        if (!view_.applyScaleRules(scaleInputs(in))) break;
    }
    scaleBar_ =
        ScaleBar::compute(view_.scale, settings::field(view_.settingsWord, settings::kUnitsShift),
                          view_.pixelMultiplier());
    track_.viewFrame.thetaDegrees = view_.rotationDegrees();
    track_.viewFrame.refLat = view_.centreLat();
    track_.viewFrame.staticRotation = view_.setting(settings::kStaticRotation);
}

void ViewCycle::updateRotation(const FrameInputs& in) {
    if (view_.setting(settings::kTurningView) && !view_.has(viewflag::kFreeMovement)) {
        const TrackPoint* cursor = track_.main().selection.cursor;
        const TrackPoint* last = track_.main().last();
        if (view_.has(viewflag::kTrackCursor) && cursor)
            view_.setTargetHeading(cursor->heading);
        else if (in.recording && last)
            view_.setTargetHeading(last->heading);
        else
            view_.setTargetHeading(in.course);
    }
    view_.smoothRotation(in.paintMs);
}

// A layer keeps its chain while neither the scale nor its points changed: the walk
// over every point of five full layers was most of an update's time. While points are
// only appended (recording), the walk goes on from near the end of the last one.
void ViewCycle::decimateAll() {
    for (int i = 0; i < Track::kLayerCount; ++i) {
        TrackLayer& layer = track_.layer(i);
        const auto at = static_cast<std::size_t>(i);
        Decimation& kept = decimations_[at];
        const bool chainLost = !layer.drawHead && !layer.empty();
        const bool same = kept.valid && !chainLost && kept.scale == view_.scale;
        if (same && kept.revision == layer.revision()) continue;
        if (same && kept.resume.after && layer.onlyEndChangedSince(kept.revision))
            VisibleTrack::decimateOn(layer, view_.scale, chains_[at], kept.resume);
        else
            VisibleTrack::decimate(layer, view_.scale, &chains_[at], &kept.resume);
        kept.valid = true;
        kept.scale = view_.scale;
        kept.revision = layer.revision();
    }
}

void ViewCycle::chooseCentre(FrameInputs& in) {
    if (view_.manualZoom() || in.navigating) {
        if (view_.has(viewflag::kFreeMovement) || view_.has(viewflag::kTrackCursor)) return;
        if (in.fixValid && in.gps)
            view_.setCentre(in.gps->lat, in.gps->lon);
        else if (in.gps)
            *in.gps = LatLon{view_.centreLat(), view_.centreLon()};
        return;
    }
    view_.flags &= ~viewflag::kFreeMovement;
    Box box;
    if (!view_.trackExcludedFromFit()) {
        for (const TrackPoint* p = track_.main().drawHead; p; p = p->drawNext) {
            const FramePoint f = view_.rotatedFrame(p->lat, p->lon);
            box.add(f.x, f.y);
        }
    }
    for (const ViewObject& o : in.fitPoints) {
        const FramePoint f = view_.rotatedFrame(o.lat, o.lon);
        box.add(f.x, f.y);
    }
    if (box.valid()) view_.setRotatedCentre((box.minX + box.maxX) / 2, (box.minY + box.maxY) / 2);
}

void ViewCycle::settleCentre(FrameInputs& in) {
    for (int pass = 0; pass < kMostPasses; ++pass) {
        chooseCentre(in);
        if (view_.settleCentre()) return;
    }
}

// Only the main layer is culled: its visible points are fitted, browsed and tapped.
// The loaded layers are only drawn, and the track painter places their retained
// points itself (a fit places them all).
void ViewCycle::project(FrameInputs& in, double trackExtent) {
    TrackLayer& main = track_.main();
    const Culling culling{main.revision(),         main.drawHead,     view_.scale,
                          view_.rotationDegrees(), view_.centreLat(), view_.centreLon(),
                          view_.centrePixel(),     trackExtent};
    // The same view over the same chain places the same points.
    if (!(culling == culled_)) {
        VisibleTrack::cull(main, chains_[Track::kMainLayer], view_, trackExtent, true);
        culled_ = culling;
    }
    for (auto* list : {&in.fitPoints, &in.routePoints}) {
        for (ViewObject& o : *list) {
            o.offset = offsetOf(view_, o.lat, o.lon);
            o.screen = view_.toScreen(o.offset);
        }
    }
}

ScaleInputs ViewCycle::scaleInputs(const FrameInputs& in) const {
    // Only the automatic zoom fits the scale to what is shown.
    const FitExtent extent = view_.manualZoom() ? FitExtent{} : fitExtent(in);
    ScaleInputs s;
    s.extentX = extent.x;
    s.extentY = extent.y;
    s.mapScale = mapScale(in);
    s.fixValid = in.fixValid;
    s.speedKmh = in.speedKmh;
    return s;
}

ViewCycle::FitExtent ViewCycle::fitExtent(const FrameInputs& in) const {
    FitExtent extent;
    if (in.navigating) {
        if (in.target) extent.add(offsetOf(view_, in.target->lat, in.target->lon));
        if (in.fixValid && in.gps) extent.add(offsetOf(view_, in.gps->lat, in.gps->lon));
        return extent;
    }
    if (!view_.trackExcludedFromFit()) {
        for (const TrackPoint* p = track_.main().visibleHead; p; p = p->visibleNext)
            extent.add(RotatedOffset{p->viewRelX, p->viewRelY});
    }
    for (const ViewObject& o : in.fitPoints) extent.add(o.offset);
    return extent;
}

double ViewCycle::mapScale(const FrameInputs& in) const {
    if (!in.bestMapScale) return -1.0;
    return in.bestMapScale(view_.latitudeDegrees(), view_.longitudeDegrees());
}

}  // namespace wendra
