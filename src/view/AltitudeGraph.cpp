#include "view/AltitudeGraph.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "records/UnitFormat.h"
#include "track/Track.h"
#include "track/TrackPoint.h"

namespace wendra {

namespace {

using platform::Pen;
using platform::PenStyle;
using platform::Point;
using platform::Rect;

constexpr float kMetricStart = 50.0f;
constexpr float kImperialStart = 30.48f;  // 100 ft
constexpr float kHighestMinimum = 10000.0f;
constexpr double kFeetPerMetre = 3.2808299;
constexpr double kMetricStep = 50.0;
constexpr double kFeetStep = 100.0;
constexpr int kMetric = 0;
constexpr int kAeronautical = 3;  // metric altitudes
constexpr int kTriangle = 4;
constexpr int kCross = 4;

bool metricAltitudes(int unitSystem) {
    return unitSystem == kMetric || unitSystem == kAeronautical;
}

}  // namespace

AltitudeRange::Extremes AltitudeRange::start(int unitSystem) {
    return Extremes{metricAltitudes(unitSystem) ? kMetricStart : kImperialStart, kHighestMinimum};
}

AltitudeRange AltitudeRange::of(Extremes extremes, int unitSystem) {
    const bool metric = metricAltitudes(unitSystem);
    const double factor = metric ? 1.0 : kFeetPerMetre;
    const double step = metric ? kMetricStep : kFeetStep;
    double top = std::ceil(extremes.high * factor / step) * step;
    const double bottom = std::floor(extremes.low * factor / step) * step;
    if (top <= bottom) top = bottom + step;
    return AltitudeRange{static_cast<float>(bottom / factor), static_cast<float>(top / factor)};
}

AltitudeRange AltitudeRange::of(const Track& track, int unitSystem) {
    Extremes extremes = start(unitSystem);
    const TrackPoint* first = track.layer(Track::kMainLayer).first();
    if (!first) extremes.low = 0.0f;
    for (const TrackPoint* p = first; p; p = p->next) extremes.add(p->altitude);
    return of(extremes, unitSystem);
}

int AltitudeGraph::columnOf(float km, float lastKm, int width) const {
    if (!(lastKm > 0.0f)) return 0;
    const int column = static_cast<int>(km / lastKm * static_cast<float>(width - 1));
    return std::clamp(column, 0, width - 1);
}

int AltitudeGraph::rowOf(double metres, const Rect& band, const AltitudeRange& range) const {
    const double share = (metres - range.minMetres) / (range.maxMetres - range.minMetres);
    const int row = band.bottom - 1 - static_cast<int>(share * (band.height() - 1));
    return std::clamp(row, band.top, band.bottom - 1);
}

void AltitudeGraph::draw(platform::DrawingSurface& surface, const Rect& band, Track& track,
                         int unitSystem, const ViewColours& colours, const ViewMetrics& metrics,
                         const Marks& marks) {
    if (band.empty()) return;
    const TrackLayer& layer = track.layer(Track::kMainLayer);
    const Shape shape{layer.revision(), band, unitSystem, track.settings.joinFarPoints};
    if (!(shape == shape_)) traceCurve(track, shape);
    const AltitudeRange range = range_;
    const float lastKm = lastKm_;
    const int width = band.width();
    drawLabels(surface, band, range, unitSystem, colours, metrics);
    if (!layer.first()) return;
    surface.setPen(Pen{PenStyle::Solid, metrics.m, kAltitudeColour});
    surface.polyline(curve_);

    const auto pixelOf = [&](const TrackPoint& p) {
        const int x = band.left + columnOf(p.cumDistKm, lastKm, width);
        return Point{x, rowOf(p.altitude, band, range)};
    };
    if (marks.cursor && marks.second) {
        const int a = pixelOf(*marks.cursor).x;
        const int b = pixelOf(*marks.second).x;
        std::vector<Point> between;
        for (const Point& p : curve_)
            if (p.x >= std::min(a, b) && p.x <= std::max(a, b)) between.push_back(p);
        surface.setPen(marks.between);
        surface.polyline(between);
    }
    if (marks.cursor) {
        const Point at = pixelOf(*marks.cursor);
        const int t = kTriangle * metrics.m;
        const std::array<Point, 3> triangle = {Point{at.x, band.bottom - 1 - t},
                                               Point{at.x - t, band.bottom - 1},
                                               Point{at.x + t, band.bottom - 1}};
        surface.setPen(Pen{PenStyle::Solid, 1, colours.draw});
        surface.setBrush(platform::Brush{false, colours.draw});
        surface.polygon(triangle);
    }
    if (marks.second) {
        const Point at = pixelOf(*marks.second);
        const int c = kCross * metrics.m;
        surface.setPen(Pen{PenStyle::Solid, metrics.m, colours.sel});
        surface.line(Point{at.x - c, at.y - c}, Point{at.x + c + 1, at.y + c + 1});
        surface.line(Point{at.x - c, at.y + c}, Point{at.x + c + 1, at.y - c - 1});
    }
}

// Every point of the main layer goes into the curve: kept until the layer changes.
// While recording only appends, what was read of the points before the last two
// holds, and only the rest is read from the list.
void AltitudeGraph::traceCurve(Track& track, const Shape& shape) {
    const TrackLayer& layer = track.layer(Track::kMainLayer);
    const bool goOn = profile_.resume && shape.band == shape_.band &&
                      shape.unitSystem == shape_.unitSystem && shape.joinFar == shape_.joinFar &&
                      layer.onlyEndChangedSince(shape_.revision);
    shape_ = shape;
    curve_.clear();
    if (!layer.first()) {
        range_ = AltitudeRange::of(track, shape.unitSystem);
        profile_ = Profile{};
        return;
    }
    lastKm_ = track.cumulativeValuesHeld();
    range_ = AltitudeRange::of(readProfile(track, goOn, shape.unitSystem), shape.unitSystem);
    const platform::Rect& band = shape.band;
    const int width = band.width();
    sumColumns(width);
    for (int x = 0; x < width; ++x) {
        const Column& c = columns_[static_cast<std::size_t>(x)];
        if (c.count > 0)
            curve_.push_back(Point{band.left + x, rowOf(c.sum / c.count, band, range_)});
    }
}

// Reads the points from the second-last one of the last trace when going on, else
// all of them; returns the extremes of all.
AltitudeRange::Extremes AltitudeGraph::readProfile(const Track& track, bool goOn, int unitSystem) {
    const TrackLayer& layer = track.layer(Track::kMainLayer);
    const TrackPoint* from = goOn ? profile_.resume : layer.first();
    std::size_t at = goOn ? profile_.resumeAt : 0;
    AltitudeRange::Extremes extremes = goOn ? profile_.before : AltitudeRange::start(unitSystem);
    profile_.km.resize(at);
    profile_.metres.resize(at);
    profile_.resume = nullptr;
    const TrackPoint* secondLast = layer.last()->prev;
    for (const TrackPoint* p = from; p; p = p->next, ++at) {
        if (p == secondLast) {
            profile_.resume = p;
            profile_.resumeAt = at;
            profile_.before = extremes;
        }
        profile_.km.push_back(p->cumDistKm);
        profile_.metres.push_back(p->altitude);
        extremes.add(p->altitude);
    }
    return extremes;
}

// Each column's sum is taken in point order, as one pass over the list would; the
// open column stays out of memory while its points follow one another.
void AltitudeGraph::sumColumns(int width) {
    columns_.assign(static_cast<std::size_t>(width), Column{});
    const std::vector<float>& km = profile_.km;
    const std::vector<float>& metres = profile_.metres;
    int open = -1;
    Column column;
    for (std::size_t i = 0; i < km.size(); ++i) {
        const int x = columnOf(km[i], lastKm_, width);
        if (x != open) {
            if (open >= 0) columns_[static_cast<std::size_t>(open)] = column;
            open = x;
            column = columns_[static_cast<std::size_t>(x)];
        }
        column.sum += metres[i];
        ++column.count;
    }
    if (open >= 0) columns_[static_cast<std::size_t>(open)] = column;
}

void AltitudeGraph::drawLabels(platform::DrawingSurface& surface, const Rect& band,
                               const AltitudeRange& range, int unitSystem,
                               const ViewColours& colours, const ViewMetrics& metrics) {
    const platform::Font font = metrics.smallFont();
    surface.setFont(font);
    surface.setTransparentText(true);
    const auto label = [&](float metres, std::uint32_t flags) {
        std::u16string text;
        formatAltitude(text, metres, unitSystem);
        // A halo in the background colour keeps the label readable over any map.
        surface.setTextColour(colours.back);
        for (const int dx : {-1, 1}) {
            surface.drawText(text, Rect{band.left + dx, band.top, band.right + dx, band.bottom},
                             flags | platform::text::kSingleLine);
        }
        surface.setTextColour(kAltitudeColour);
        surface.drawText(text, band, flags | platform::text::kSingleLine);
    };
    label(range.maxMetres, platform::text::kLeft | platform::text::kTop);
    label(range.minMetres, platform::text::kLeft | platform::text::kBottom);
}

}  // namespace wendra
