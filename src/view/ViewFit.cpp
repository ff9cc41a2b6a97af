// The one-shot fit: everything on the track and the points, or the route.
#include <algorithm>
#include <cmath>

#include "track/Track.h"
#include "track/TrackPoint.h"
#include "track/TrackUnits.h"
#include "view/ViewCycle.h"
#include "view/VisibleTrack.h"

namespace wendra {

namespace {

constexpr int kMostPasses = 8;
constexpr int kWholeRoute = 2;

struct Extent {
    double x = 0.0, y = 0.0;
    bool any = false;
    void add(RotatedOffset o) {
        x = std::max(x, double{std::fabs(o.x)});
        y = std::max(y, double{std::fabs(o.y)});
        any = true;
    }
};

RotatedOffset offsetOf(const ViewGeometry& view, double lat, double lon) {
    return view.project(lat, lon, std::cos(lat * kPi));
}

}  // namespace

void ViewCycle::fitAll(int mode, FrameInputs& in) {
    view_.placeRect(in.client);
    if (in.navigating || mode == kWholeRoute) {
        Extent extent;
        if (mode == kWholeRoute) {
            for (const ViewObject& o : in.routePoints) extent.add(offsetOf(view_, o.lat, o.lon));
        } else if (in.target) {
            extent.add(offsetOf(view_, in.target->lat, in.target->lon));
        }
        if (in.fixValid && in.gps) extent.add(offsetOf(view_, in.gps->lat, in.gps->lon));
        if (!extent.any) return;
        if (mode == kWholeRoute) view_.enterManualZoom();
        view_.scale =
            static_cast<float>(view_.fitScale(extent.x, extent.y, view_.scaleCap(mapScale(in))));
        view_.manualScale = view_.scale;
        view_.pendingScale = kNotSetF;
        return;
    }
    if (view_.manualZoom()) fitEverything(in);
}

// Centres on the middle of every layer and of the points, then fits them all.
void ViewCycle::fitEverything(FrameInputs& in) {
    decimateAll();
    bool any = false;
    for (int pass = 0; pass < kMostPasses; ++pass) {
        double minX = kNotSet, minY = kNotSet, maxX = -kNotSet, maxY = -kNotSet;
        auto add = [&](double lat, double lon) {
            const FramePoint f = view_.rotatedFrame(lat, lon);
            minX = std::min(minX, f.x);
            maxX = std::max(maxX, f.x);
            minY = std::min(minY, f.y);
            maxY = std::max(maxY, f.y);
        };
        for (int i = 0; i < Track::kLayerCount; ++i)
            for (const TrackPoint* p = track_.layer(i).drawHead; p; p = p->drawNext)
                add(p->lat, p->lon);
        for (const ViewObject& o : in.fitPoints) add(o.lat, o.lon);
        any = minX <= maxX;
        if (!any) return;
        view_.setRotatedCentre((minX + maxX) / 2, (minY + maxY) / 2);
        if (view_.settleCentre()) break;
    }
    Extent extent;
    culled_ = Culling{};  // the main layer's visible points are all of it now
    for (int i = 0; i < Track::kLayerCount; ++i) {
        VisibleTrack::cull(track_.layer(i), view_, VisibleTrack::kUnlimited,
                           i == Track::kMainLayer);
        for (const TrackPoint* p = track_.layer(i).visibleHead; p; p = p->visibleNext)
            extent.add(RotatedOffset{p->viewRelX, p->viewRelY});
    }
    for (ViewObject& o : in.fitPoints) {
        o.offset = offsetOf(view_, o.lat, o.lon);
        extent.add(o.offset);
    }
    view_.scale =
        static_cast<float>(view_.fitScale(extent.x, extent.y, view_.scaleCap(mapScale(in))));
    view_.manualScale = view_.scale;
    view_.pendingScale = kNotSetF;
}

}  // namespace wendra
