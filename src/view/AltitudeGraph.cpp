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

AltitudeRange AltitudeRange::of(const Track& track, int unitSystem) {
    const bool metric = metricAltitudes(unitSystem);
    float high = metric ? kMetricStart : kImperialStart;
    float low = kHighestMinimum;
    const TrackPoint* first = track.layer(Track::kMainLayer).first();
    if (!first) low = 0.0f;
    for (const TrackPoint* p = first; p; p = p->next) {
        high = std::max(high, p->altitude);
        low = std::min(low, p->altitude);
    }
    const double factor = metric ? 1.0 : kFeetPerMetre;
    const double step = metric ? kMetricStep : kFeetStep;
    double top = std::ceil(high * factor / step) * step;
    const double bottom = std::floor(low * factor / step) * step;
    if (top <= bottom) top = bottom + step;
    return AltitudeRange{static_cast<float>(bottom / factor), static_cast<float>(top / factor)};
}

int AltitudeGraph::columnOf(const TrackPoint& point, float lastKm, int width) const {
    if (!(lastKm > 0.0f)) return 0;
    const int column = static_cast<int>(point.cumDistKm / lastKm * static_cast<float>(width - 1));
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
    const Shape shape{layer.revision(), band, unitSystem};
    if (!(shape == shape_)) {
        shape_ = shape;
        traceCurve(track, band, unitSystem);
    }
    const AltitudeRange range = range_;
    const float lastKm = lastKm_;
    const int width = band.width();
    drawLabels(surface, band, range, unitSystem, colours, metrics);
    if (!layer.first()) return;
    surface.setPen(Pen{PenStyle::Solid, metrics.m, kAltitudeColour});
    surface.polyline(curve_);

    const auto pixelOf = [&](const TrackPoint& p) {
        const int x = band.left + columnOf(p, lastKm, width);
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
void AltitudeGraph::traceCurve(Track& track, const Rect& band, int unitSystem) {
    range_ = AltitudeRange::of(track, unitSystem);
    curve_.clear();
    const TrackLayer& layer = track.layer(Track::kMainLayer);
    if (!layer.first()) return;
    lastKm_ = track.cumulativeValuesHeld();
    const int width = band.width();
    columns_.assign(static_cast<std::size_t>(width), Column{});
    for (const TrackPoint* p = layer.first(); p; p = p->next) {
        Column& c = columns_[static_cast<std::size_t>(columnOf(*p, lastKm_, width))];
        c.sum += p->altitude;
        ++c.count;
    }
    for (int x = 0; x < width; ++x) {
        const Column& c = columns_[static_cast<std::size_t>(x)];
        if (c.count > 0)
            curve_.push_back(Point{band.left + x, rowOf(c.sum / c.count, band, range_)});
    }
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
