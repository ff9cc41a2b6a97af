#include "view/MapFrame.h"

#include <algorithm>
#include <cmath>

#include "maps/MapCatalogue.h"
#include "track/Track.h"
#include "track/TrackUnits.h"
#include "view/AlertBanner.h"
#include "view/MapAttribution.h"
#include "view/PositionMarker.h"
#include "view/StatusText.h"

namespace wendra {

namespace {

using platform::Pen;
using platform::PenStyle;
using platform::Point;
using platform::Rect;

constexpr const char16_t* kPaintGuard = u".PaintSetWait.1";
constexpr double kMetresPerUnit = 20037508.342789244;
constexpr int kGridSteps = 5;  // lines on each side of the snapped centre
constexpr auto kBudgetPeriod = std::chrono::milliseconds(200);
constexpr double kBudgetTolerance = 0.1;

}  // namespace

void MapFrame::paintView(platform::DrawingSurface* surface, Rect rect,
                         std::u16string_view alertText, FrameData& data) {
    const auto start = std::chrono::steady_clock::now();
    banner_.clear();
    {
        TrackLock::Hold hold(track_.lock(), kPaintGuard);
        data.frame.client = rect;
        data.frame.paintMs = paintMs_;
        cycle_.update(data.frame);
        banner_ = alertText;
        if (surface) {
            Pass pass{*surface, data, data.colours.active(view_.setting(settings::kNightColours)),
                      ViewMetrics(view_.pixelMultiplier())};
            drawFrame(pass, banner_);
        }
    }
    const auto spent = std::chrono::steady_clock::now() - start;
    paintMs_ =
        static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(spent).count());
}

platform::ColorRef MapFrame::positionColour(const FrameData& data,
                                            const ViewColours& colours) const {
    if (view_.has(viewflag::kTrackCursor)) return colours.trk;
    if (view_.has(viewflag::kFreeMovement)) return colours.sel;
    return data.live ? colours.gps : kNotLiveColour;
}

Point MapFrame::screenOf(double lat, double lon) const {
    return view_.toScreen(view_.project(lat, lon, std::cos(lat * kPi)));
}

void MapFrame::drawFrame(Pass& pass, std::u16string_view alertText) {
    const platform::Size size = pass.surface.size();
    pass.position = positionColour(pass.data, pass.colours);
    pass.unitSystem = settings::field(view_.settingsWord, settings::kUnitsShift);
    if (settings::field(view_.settingsWord, settings::kInfoLineShift) != 0)
        pass.infoHeight = pass.metrics.infoLineHeight();
    if (view_.setting(settings::kAltitudeGraph))
        pass.altitudeHeight = pass.metrics.altitudeGraphHeight();
    const LatLon* gps = pass.data.frame.gps;
    if (pass.data.positionShown && gps) {
        pass.gps = screenOf(gps->lat, gps->lon);
        const int margin = 2 * pass.metrics.markerSize();
        pass.gpsOnScreen = pass.gps.x >= -margin && pass.gps.y >= -margin &&
                           pass.gps.x < size.width + margin && pass.gps.y < size.height + margin;
    }

    drawMaps(pass);
    // While the map is dragged the frame keeps to what moves with the pen: the
    // grid, the altitude graph and the point labels wait for the full frame.
    if (view_.setting(settings::kGrid) && !quick_) drawGrid(pass);
    const std::span<const DrawnPoint> points =
        pass.data.points ? pass.data.points->drawnPoints(budget_, size)
                         : std::span<const DrawnPoint>{};
    drawPointIcons(pass, points);
    if (view_.setting(settings::kMovingDirection)) drawDirection(pass);
    drawScaleBar(pass);
    if (pass.altitudeHeight > 0 && !quick_) drawAltitude(pass);
    drawRoute(pass);
    if (view_.setting(settings::kWayLines)) drawWayLines(pass);
    const auto labelsStart = std::chrono::steady_clock::now();
    if (!quick_) drawPointLabels(pass, points);
    auto spent = std::chrono::steady_clock::now() - labelsStart;
    trackPainter_.drawRetained(pass.surface, track_, cycle_, view_, pass.colours);
    const auto markersStart = std::chrono::steady_clock::now();
    drawPointMarkers(pass, points);
    spent += std::chrono::steady_clock::now() - markersStart;
    // A quick frame draws no labels: it says nothing of what a full one can draw.
    if (!quick_) updateBudget(static_cast<int>(points.size()), spent);
    if (view_.has(viewflag::kFreeMovement) || view_.has(viewflag::kTrackCursor))
        drawPositionMarker(pass.surface, view_.centrePixel(), pass.position, pass.metrics.m);
    drawSecondMarker(pass);
    drawMapAttribution(pass.surface, pass.data,
                       {0, 0, size.width, size.height - pass.infoHeight - pass.altitudeHeight},
                       pass.colours, pass.metrics.m);
    drawBalloons(pass);
    drawButtons(pass);
    drawStatusIcons(pass);
    drawInfoLine(pass);
    const Rect above{0, 0, size.width, size.height - pass.infoHeight};
    drawAlertBanner(pass.surface, alertText, above, pass.colours.back, pass.metrics.m);
    drawStatusText(pass.surface, pass.data.status, above, pass.colours, pass.metrics.m);
}

void MapFrame::drawMaps(Pass& pass) {
    platform::DrawingSurface& surface = pass.surface;
    surface.setClip(std::nullopt);
    const std::vector<maps::MapCell>& cells = grid_.build(view_, surface.size());
    if (!pass.data.maps) {
        // Marked "not yet painted", as the maps leave what they do not cover.
        surface.pixels().fill(platform::toUnpaintedPixel16(pass.colours.back));
        return;
    }
    // The catalogue lays the background itself, around what the maps paint.
    pass.data.maps->buildDisplayList(view_.mapDrawScale(), view_.latitudeDegrees());
    pass.data.maps->paintAll(cells, surface.pixels(), pass.colours.back);
}

void MapFrame::drawGrid(Pass& pass) {
    const double step = cycle_.scaleBar().metres / kMetresPerUnit;
    const double cosLat = view_.cosCentreLat();
    if (!(step > 0.0) || !(cosLat > 0.0)) return;
    const double lonStep = step / cosLat;
    const double lat0 = std::round(view_.centreLat() / step) * step;
    const double lon0 = std::round(view_.centreLon() / lonStep) * lonStep;
    pass.surface.setPen(Pen{PenStyle::Dash, 1, pass.colours.grid});
    for (const bool alongLatitude : {true, false}) {
        for (int k = -kGridSteps; k <= kGridSteps; ++k) {
            points_.clear();
            for (int j = -kGridSteps; j <= kGridSteps; ++j) {
                const double lat = lat0 + (alongLatitude ? k : j) * step;
                const double lon = lon0 + (alongLatitude ? j : k) * lonStep;
                points_.push_back(screenOf(lat, lon));
            }
            pass.surface.polyline(points_);
        }
    }
}

void MapFrame::updateBudget(int drawn, std::chrono::steady_clock::duration spent) {
    if (drawn <= 0 || spent <= std::chrono::steady_clock::duration::zero()) return;
    const double perPeriod = drawn * std::chrono::duration<double>(kBudgetPeriod).count() /
                             std::chrono::duration<double>(spent).count();
    if (std::fabs(perPeriod - budget_) <= kBudgetTolerance * budget_) return;
    budget_ = std::max(kLeastBudget, static_cast<int>(std::min(perPeriod, 1.0e6)));
}

}  // namespace wendra
