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

VisibleTrack::ChainPoint chainPoint(TrackPoint& p) {
    return VisibleTrack::ChainPoint{p.lat,    p.lon,
                                    p.cosLat, &p,
                                    p.colour, p.has(kSegmentStart),
                                    p.has(kSegmentEnd)};
}

bool outside(double lat, double lon, double cosLat, const ViewGeometry& view, double extent) {
    return std::fabs(lat - view.centreLat()) > extent ||
           std::fabs((lon - view.centreLon()) * cosLat) > extent;
}
}  // namespace

int VisibleTrack::decimate(TrackLayer& layer, float scale, std::vector<ChainPoint>* chain) {
    const float step = kPixelsBetweenPoints / scale;
    float path = step;
    int kept = 0;
    TrackPoint** link = &layer.drawHead;
    if (chain) chain->clear();
    for (TrackPoint* p = layer.first(); p; p = p->next) {
        if (path >= step || !p->next || p->has(kSegmentFlags)) {
            *link = p;
            link = &p->drawNext;
            ++kept;
            if (chain) chain->push_back(chainPoint(*p));
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

int VisibleTrack::cull(TrackLayer& layer, std::span<const ChainPoint> chain,
                       const ViewGeometry& view, double extent, bool first) {
    // The points lie all over memory: each is asked for well before it is placed.
    constexpr std::size_t kAhead = 16;
    int visible = 0;
    TrackPoint** link = &layer.visibleHead;
    for (std::size_t i = 0; i < chain.size(); ++i) {
        if (i + kAhead < chain.size()) __builtin_prefetch(&chain[i + kAhead].point->viewRelX, 1);
        const ChainPoint& c = chain[i];
        if (outside(c.lat, c.lon, c.cosLat, view, extent)) continue;
        placeOnScreen(*c.point, view);
        *link = c.point;
        link = &c.point->visibleNext;
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

// The chain gathered first: a fit culls every layer once, far from every frame.
int VisibleTrack::cull(TrackLayer& layer, const ViewGeometry& view, double extent, bool first) {
    std::vector<ChainPoint> chain;
    for (TrackPoint* p = layer.drawHead; p; p = p->drawNext)
        chain.push_back(chainPoint(*p));
    return cull(layer, chain, view, extent, first);
}

}  // namespace wendra
