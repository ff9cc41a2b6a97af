// The frame's overlays: direction indicator, scale bar, altitude graph, route and way
// lines.
#include <algorithm>
#include <array>
#include <cmath>

#include "platform/TraceLog.h"
#include "records/WidePrintf.h"
#include "track/Track.h"
#include "track/TrackPoint.h"
#include "view/MapFrame.h"

namespace wendra {

namespace {

using platform::Brush;
using platform::Pen;
using platform::PenStyle;
using platform::Point;
using platform::Rect;

constexpr double kDegree = 3.14159265358979323846 / 180.0;
constexpr int kBarThickness = 2;
constexpr int kHaloExtra = 2;
constexpr double kWayCircle = 0.85;
constexpr int kTickPixels = 4;
constexpr int kArrowPixels = 8;
constexpr int kRouteHalo = 4;
constexpr int kRouteWidth = 3;
constexpr int kLegHalo = 5;

// A screen direction from a heading, clockwise from up.
Point towards(Point from, double degrees, double length) {
    const double a = degrees * kDegree;
    return Point{from.x + static_cast<int>(std::lround(std::sin(a) * length)),
                 from.y - static_cast<int>(std::lround(std::cos(a) * length))};
}

std::u16string number(int value) {
    std::u16string text;
    appendPrintf(text, "%d", value);
    return text;
}

}  // namespace

bool MapFrame::markerNearTop(const Pass& pass, int band) const {
    return pass.gpsOnScreen && pass.gps.y < band + pass.metrics.markerSize();
}

platform::Pen MapFrame::navigationPen(const Pass& pass) const {
    if (pass.data.frame.navigating)
        return Pen{PenStyle::Solid, 3 * pass.metrics.m, pass.colours.nav};
    return Pen{PenStyle::Solid, 2 * pass.metrics.m, pass.colours.sel};
}

void MapFrame::drawDirection(Pass& pass) {
    const ViewMetrics& metrics = pass.metrics;
    const platform::Size size = pass.surface.size();
    const int r = metrics.directionSize();
    const int band = metrics.edge() + 2 * r;
    int cy = metrics.edge() + r;
    if (markerNearTop(pass, band))
        cy = size.height - pass.infoHeight - pass.altitudeHeight - metrics.edge() - r;
    const Point centre{size.width - metrics.edge() - r, cy};
    const bool rose = view_.setting(settings::kTurningView) || view_.has(viewflag::kFreeMovement);
    int shown = 0;
    platform::DrawingSurface& surface = pass.surface;
    if (rose) {
        const double north = -view_.rotationDegrees();
        const Point tip = towards(centre, north, r);
        const Point tail = towards(centre, north + 180.0, r);
        const Point left = towards(centre, north - 90.0, r / 3.0);
        const Point right = towards(centre, north + 90.0, r / 3.0);
        surface.setPen(Pen{PenStyle::Solid, 1, pass.colours.draw});
        surface.setBrush(Brush{false, pass.position});
        const std::array<Point, 3> northHalf = {tip, left, right};
        surface.polygon(northHalf);
        surface.setBrush(Brush{false, pass.colours.back});
        const std::array<Point, 3> southHalf = {tail, right, left};
        surface.polygon(southHalf);
        shown = view_.rotationDegrees();
    } else {
        const int course = pass.data.frame.course;
        const Point tip = towards(centre, course, r);
        surface.setPen(Pen{PenStyle::Solid, 2 * metrics.m, pass.position});
        surface.line(towards(centre, course + 180.0, r), tip);
        surface.setBrush(Brush{false, pass.position});
        const std::array<Point, 3> head = {tip, towards(tip, course + 150.0, r / 2.0),
                                           towards(tip, course - 150.0, r / 2.0)};
        surface.polygon(head);
        shown = course;
    }
    surface.setFont(metrics.smallFont());
    surface.setTextColour(pass.colours.draw);
    surface.setTransparentText(true);
    const Rect label{centre.x - 6 * r, centre.y - r, centre.x - r - metrics.m, centre.y + r};
    surface.drawText(
        number(shown), label,
        platform::text::kRight | platform::text::kVCentre | platform::text::kSingleLine);
}

void MapFrame::drawScaleBar(Pass& pass) {
    const ScaleBar& bar = cycle_.scaleBar();
    if (bar.lengthPixels <= 0) return;
    const ViewMetrics& metrics = pass.metrics;
    platform::DrawingSurface& surface = pass.surface;
    const int fontHeight = metrics.smallFont().height;
    const int height = fontHeight + (kBarThickness + kHaloExtra) * metrics.m;
    int top = metrics.edge();
    const int right = metrics.edge() + std::max(bar.lengthPixels, metrics.scaleBarLength());
    if (markerNearTop(pass, top + height) && pass.gps.x < right + metrics.markerSize())
        top =
            surface.size().height - pass.infoHeight - pass.altitudeHeight - metrics.edge() - height;
    const int left = metrics.edge();
    surface.setFont(metrics.smallFont());
    surface.setTransparentText(true);
    surface.setTextColour(pass.colours.draw);
    surface.drawText(bar.label,
                     Rect{left, top, left + 4 * metrics.scaleBarLength(), top + fontHeight},
                     platform::text::kLeft | platform::text::kSingleLine);
    const int y = top + fontHeight + metrics.m;
    const Point from{left, y};
    const Point to{left + bar.lengthPixels, y};
    surface.setPen(
        Pen{PenStyle::Solid, (kBarThickness + kHaloExtra) * metrics.m, pass.colours.back});
    surface.line(from, to);
    surface.setPen(Pen{PenStyle::Solid, kBarThickness * metrics.m, pass.colours.draw});
    surface.line(from, to);
}

void MapFrame::drawAltitude(Pass& pass) {
    platform::traceLog().breadcrumb(".AltGrx");
    const platform::Size size = pass.surface.size();
    const int bottom = size.height - pass.infoHeight;
    const Rect band{0, bottom - pass.altitudeHeight, size.width, bottom};
    const TrackSelection& selection = track_.main().selection;
    AltitudeGraph::Marks marks;
    if (view_.has(viewflag::kTrackCursor)) marks.cursor = selection.cursor;
    if (view_.has(viewflag::kSecondMarker) && selection.anchorPlaced)
        marks.second = selection.anchor;
    marks.between = navigationPen(pass);
    altitude_.draw(pass.surface, band, track_, pass.unitSystem, pass.colours, pass.metrics, marks);
}

void MapFrame::drawRoute(Pass& pass) {
    const FrameInputs& in = pass.data.frame;
    const int m = pass.metrics.m;
    platform::DrawingSurface& surface = pass.surface;
    if (in.routePoints.size() > 1) {
        points_.clear();
        for (const ViewObject& p : in.routePoints) points_.push_back(screenOf(p.lat, p.lon));
        surface.setPen(Pen{PenStyle::Solid, kRouteHalo * m, pass.colours.back});
        surface.polyline(points_);
        surface.setPen(Pen{PenStyle::Solid, kRouteWidth * m, pass.colours.nav});
        surface.polyline(points_);
    }
    if (in.navigating && in.target && pass.data.positionShown && in.gps) {
        const Point target = screenOf(in.target->lat, in.target->lon);
        surface.setPen(Pen{PenStyle::Solid, kLegHalo * m, pass.colours.back});
        surface.line(target, pass.gps);
        surface.setPen(navigationPen(pass));
        surface.line(target, pass.gps);
    }
}

void MapFrame::drawArrow(Pass& pass, Point from, int heading, platform::ColorRef colour) {
    const platform::Size size = pass.surface.size();
    const int m = pass.metrics.m;
    const double screenHeading = heading - view_.rotationDegrees();
    const Point centre = view_.centrePixel();
    const double radius =
        kWayCircle * std::min(size.width / 2.0, (size.height - pass.infoHeight) / 2.0);
    platform::DrawingSurface& surface = pass.surface;
    surface.setPen(Pen{PenStyle::Solid, m, colour});
    surface.line(from, towards(from, screenHeading, std::hypot(size.width, size.height)));
    const Point tip = towards(centre, screenHeading, radius);
    surface.setBrush(Brush{false, colour});
    const std::array<Point, 3> head = {tip, towards(tip, screenHeading + 160.0, kArrowPixels * m),
                                       towards(tip, screenHeading - 160.0, kArrowPixels * m)};
    surface.polygon(head);
    for (const int offset : {-4, -2, 2, 4}) {
        const Point on = towards(centre, screenHeading + offset, radius);
        surface.line(on, towards(centre, screenHeading + offset, radius - kTickPixels * m));
    }
}

void MapFrame::drawWayLines(Pass& pass) {
    if (view_.has(viewflag::kTrackCursor)) {
        if (const TrackPoint* cursor = track_.main().selection.cursor)
            drawArrow(pass, view_.centrePixel(), cursor->heading, pass.colours.trk);
        return;
    }
    const bool courseKnown =
        pass.data.frame.fixValid && pass.data.live && pass.data.fix.speed > 0.0f;
    if (pass.data.positionShown && courseKnown)
        drawArrow(pass, pass.gps, pass.data.frame.course, pass.colours.gps);
}

}  // namespace wendra
