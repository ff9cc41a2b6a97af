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

// The decimation's state between two points.
struct VisibleTrack::Walk {
    float step = 0.0f;
    float path = 0.0f;
    int kept = 0;
    TrackPoint** link = nullptr;
    std::vector<ChainPoint>* chain = nullptr;
    Resume* resume = nullptr;
};

int VisibleTrack::decimate(TrackLayer& layer, float scale, std::vector<ChainPoint>* chain,
                           Resume* resume) {
    const float step = kPixelsBetweenPoints / scale;
    if (chain) chain->clear();
    if (resume) *resume = Resume{};
    Walk state{step, step, 0, &layer.drawHead, chain, resume};
    return walk(layer, layer.first(), state);
}

int VisibleTrack::decimateOn(TrackLayer& layer, float scale, std::vector<ChainPoint>& chain,
                             Resume& resume) {
    chain.resize(resume.kept);
    TrackPoint** link = chain.empty() ? &layer.drawHead : &chain.back().point->drawNext;
    Walk state{kPixelsBetweenPoints / scale, resume.path, static_cast<int>(resume.kept), link,
               &chain, &resume};
    return walk(layer, resume.after->next, state);
}

int VisibleTrack::walk(TrackLayer& layer, TrackPoint* from, Walk& state) {
    const TrackPoint* last = layer.last();
    const TrackPoint* mark = last && last->prev ? last->prev->prev : nullptr;
    const float step = state.step;
    for (TrackPoint* p = from; p; p = p->next) {
        if (state.path >= step || !p->next || p->has(kSegmentFlags)) {
            *state.link = p;
            state.link = &p->drawNext;
            ++state.kept;
            if (state.chain) state.chain->push_back(chainPoint(*p));
            state.path = std::max(state.path - step, 0.0f);
        }
        state.path += p->distNext;
        if (p == mark && state.resume)
            *state.resume = Resume{p, static_cast<std::size_t>(state.kept), state.path};
    }
    *state.link = nullptr;
    return state.kept;
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
