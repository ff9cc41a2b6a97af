#include "view/VisibleTrack.h"

#include <algorithm>
#include <cmath>

#include "track/TrackLayer.h"
#include "track/TrackPoint.h"
#include "view/ViewGeometry.h"

namespace wendra {

namespace {
constexpr float kPixelsBetweenPoints = 2.0f;
constexpr double kMarginUnits = 2.4953202e-06;  // about 50 m

void placeOnScreen(TrackPoint& point, const ViewGeometry& view) {
    const RotatedOffset offset = view.project(point.lat, point.lon, point.cosLat);
    point.viewRelX = offset.x;
    point.viewRelY = offset.y;
    const platform::Point pixel = view.toScreen(offset);
    point.screenX = pixel.x;
    point.screenY = pixel.y;
}
}  // namespace

int VisibleTrack::decimate(TrackLayer& layer, float scale) {
    const float step = kPixelsBetweenPoints / scale;
    float path = step;
    int kept = 0;
    TrackPoint** link = &layer.drawHead;
    for (TrackPoint* p = layer.first(); p; p = p->next) {
        if (path >= step || !p->next || p->has(kSegmentFlags)) {
            *link = p;
            link = &p->drawNext;
            ++kept;
            path = std::max(path - step, 0.0f);
        }
        path += p->distNext;
    }
    *link = nullptr;
    return kept;
}

double VisibleTrack::halfExtent(const ViewGeometry& view) {
    return view.diagonal() / view.scale / 2.0 + kMarginUnits;
}

int VisibleTrack::cull(TrackLayer& layer, const ViewGeometry& view, double extent, bool first) {
    int visible = 0;
    TrackPoint** link = &layer.visibleHead;
    for (TrackPoint* p = layer.drawHead; p; p = p->drawNext) {
        if (std::fabs(p->lat - view.centreLat()) > extent ||
            std::fabs((p->lon - view.centreLon()) * p->cosLat) > extent)
            continue;
        placeOnScreen(*p, view);
        *link = p;
        link = &p->visibleNext;
        ++visible;
    }
    if (visible == 0 && first && layer.drawHead) {
        placeOnScreen(*layer.drawHead, view);
        *link = layer.drawHead;
        link = &layer.drawHead->visibleNext;
        ++visible;
    }
    *link = nullptr;
    return visible;
}

}  // namespace wendra
