// The frame's points, markers and information line.
#include <algorithm>
#include <array>
#include <cmath>

#include "platform/TraceLog.h"
#include "records/CoordinateFormat.h"
#include "records/UnitFormat.h"
#include "records/WidePrintf.h"
#include "track/Track.h"
#include "track/TrackPoint.h"
#include "track/TrackUnits.h"
#include "view/InfoLine.h"
#include "view/MapFrame.h"
#include "view/PositionMarker.h"

namespace wendra {

namespace {

using platform::Brush;
using platform::Pen;
using platform::PenStyle;
using platform::Point;
using platform::Rect;

constexpr float kLeastShownKm = 0.005f;
constexpr double kMostDaysToReach = 2.0;
constexpr int kLabelGap = 5;
constexpr int kIconGap = 3;
constexpr int kNotLiveSharedIcon = 1;
constexpr int kSecondHalo = 3;
constexpr int kInfoCoordinates = 1;
constexpr int kInfoTimes = 2;
constexpr int kInfoValues = 3;

void drawCross(platform::DrawingSurface& surface, Point at, int half) {
    surface.line(Point{at.x - half, at.y - half}, Point{at.x + half + 1, at.y + half + 1});
    surface.line(Point{at.x - half, at.y + half}, Point{at.x + half + 1, at.y - half - 1});
}

std::u16string labelText(const DrawnPoint& p, bool targetShowsDistance, int unitSystem) {
    const bool recent = p.alertedRecently;
    std::u16string text;
    if (!p.groupHidden || recent) text += p.group;
    text += u'\n';
    if (!p.nameHidden || recent) text += p.name;
    while (!text.empty() && text.back() == u'\n') text.pop_back();
    while (!text.empty() && text.front() == u'\n') text.erase(0, 1);
    const bool distance = p.wantsDistance || (p.target && targetShowsDistance) || recent;
    if (distance && p.distanceKm > kLeastShownKm) {
        text += u" (";
        if (p.bearing != kNotSetF) appendPrintf(text, "%.0f/", static_cast<double>(p.bearing));
        appendDistance(text, p.distanceKm, unitSystem);
        if (p.daysToReach > 0.0 && p.daysToReach < kMostDaysToReach) {
            text += u'/';
            appendDuration(text, p.daysToReach, 0);
        }
        text += u')';
    }
    return text;
}

}  // namespace

void MapFrame::drawPointIcons(Pass& pass, std::span<const DrawnPoint> points) {
    const platform::ImageList* icons = pass.data.pointIcons;
    if (!icons || icons->count() == 0) return;
    const platform::Size image = icons->imageSize();
    const int gap = kIconGap * pass.metrics.m;
    for (const DrawnPoint& p : points) {
        if (!p.groupHidden || !p.nameHidden || p.icon < 0) continue;
        const int index = p.shared && p.notLive ? kNotLiveSharedIcon : p.icon;
        const Point at = screenOf(p.lat, p.lon);
        int top = at.y - gap - image.height;
        if (top < 0) top = at.y + gap;
        pass.surface.drawImage(*icons, index, Point{at.x - image.width / 2, top});
    }
}

void MapFrame::drawPointLabels(Pass& pass, std::span<const DrawnPoint> points) {
    platform::DrawingSurface& surface = pass.surface;
    const platform::Size size = surface.size();
    const int infoMode = settings::field(view_.settingsWord, settings::kInfoLineShift);
    const int gap = kLabelGap * pass.metrics.m;
    const platform::Font font = pass.metrics.smallFont();
    surface.setFont(font);
    surface.setTransparentText(true);
    if (font != labelFont_ || size != labelRoom_) labels_.clear();
    labelFont_ = font;
    labelRoom_ = size;
    labels_.resize(points.size());
    placedLabels_.clear();
    balloons_.clear();
    for (std::size_t i = 0; i < points.size(); ++i) {
        const DrawnPoint& p = points[i];
        std::u16string text =
            labelText(p, infoMode != settings::kInfoLineNavigation, pass.unitSystem);
        const Point at = screenOf(p.lat, p.lon);
        if (p.alertedRecently) {
            balloons_.push(Balloon{std::move(text), at, p.hasAlert, p.ifSpeed, p.alertSpeedKmh,
                                   p.ifCourse, p.alertCourse});
            continue;
        }
        if (text.empty()) continue;
        const LaidLabel& label = labelLayout(surface, i, std::move(text));
        const int w = label.size.width;
        const int h = label.size.height;
        const int left = std::clamp(at.x - w / 2, 0, std::max(0, size.width - w));
        int top = at.y - gap - h;
        if (top < 0) top = at.y + gap;
        platform::ColorRef ink = paletteColour(p.palette);
        if (p.target) ink = pass.colours.draw;
        if (p.notLive) ink = kNotLiveColour;
        placedLabels_.push_back(platform::PlacedText{label.laid, Point{left, top}, ink});
    }
    // Top to bottom, each label over those above it: in the order of the frame's rows,
    // the labels' pixels are mostly in the cache already when drawn.
    std::stable_sort(placedLabels_.begin(), placedLabels_.end(),
                     [](const platform::PlacedText& a, const platform::PlacedText& b) {
                         return a.at.y < b.at.y;
                     });
    surface.drawTexts(placedLabels_);
}

// A label is as wide and as high as the text takes in the whole screen, and laid out
// centred in a box of that size.
const MapFrame::LaidLabel& MapFrame::labelLayout(platform::DrawingSurface& surface,
                                                 std::size_t index, std::u16string&& text) {
    LaidLabel& label = labels_[index];
    if (label.text == text && surface.holds(label.laid)) return label;
    const platform::Size size = surface.size();
    const Rect needed =
        surface.measureText(text, Rect{0, 0, size.width, size.height}, platform::text::kCentre);
    label.size = platform::Size{needed.width(), needed.height()};
    label.laid = surface.layOutText(text, label.size, platform::text::kCentre);
    label.text = std::move(text);
    return label;
}

void MapFrame::drawPointMarkers(Pass& pass, std::span<const DrawnPoint> points) {
    platform::DrawingSurface& surface = pass.surface;
    if (pass.data.positionShown && pass.gpsOnScreen)
        drawPositionMarker(surface, pass.gps, pass.position, pass.metrics.m);
    const int half = pass.metrics.pointMarkerHalf();
    for (const DrawnPoint& p : points) {
        const Point at = screenOf(p.lat, p.lon);
        const platform::ColorRef colour = p.notLive ? kNotLiveColour : paletteColour(p.palette);
        surface.setPen(Pen{PenStyle::Solid, 1, colour});
        surface.setBrush(Brush{false, colour});
        surface.ellipse(
            Rect{at.x - half / 2, at.y - half / 2, at.x + half / 2 + 1, at.y + half / 2 + 1});
        drawCross(surface, at, half);
    }
}

void MapFrame::drawSecondMarker(Pass& pass) {
    markedKm_ = -1.0f;
    markedDays_ = -1.0;
    if (!view_.has(viewflag::kSecondMarker)) return;
    platform::DrawingSurface& surface = pass.surface;
    const int m = pass.metrics.m;
    const Point at = view_.toScreen(view_.secondMarkerOffset);
    const int half = pass.metrics.markerSize();
    surface.setPen(Pen{PenStyle::Solid, kSecondHalo * m, pass.colours.back});
    drawCross(surface, at, half);
    surface.setPen(Pen{PenStyle::Solid, m, pass.colours.sel});
    drawCross(surface, at, half);
    if (pass.data.driftRadiusKm > 0.0f) {
        const int r = static_cast<int>(pass.data.driftRadiusKm / kHalfTurnKm * view_.scale);
        surface.setPen(Pen{PenStyle::Solid, m, kDriftCircleColour});
        surface.setBrush(Brush{true, kDriftCircleColour});
        surface.ellipse(Rect{at.x - r, at.y - r, at.x + r + 1, at.y + r + 1});
    }
    const TrackSelection& selection = track_.main().selection;
    const TrackPoint* cursor = selection.cursor;
    const TrackPoint* anchor = selection.anchorPlaced ? selection.anchor : nullptr;
    if (view_.has(viewflag::kTrackCursor) && cursor && anchor) {
        track_.cumulativeValuesHeld();
        const bool forward = cursor->cumDistKm <= anchor->cumDistKm;
        const TrackPoint* from = forward ? cursor : anchor;
        const TrackPoint* to = forward ? anchor : cursor;
        points_.clear();
        for (const TrackPoint* p = from; p; p = p->next) {
            points_.push_back(screenOf(p->lat, p->lon));
            if (p == to) break;
        }
        surface.setPen(navigationPen(pass));
        surface.polyline(points_);
        markedKm_ = to->cumDistKm - from->cumDistKm;
        markedDays_ = std::fabs(to->cumTime - from->cumTime);
        return;
    }
    surface.setPen(Pen{PenStyle::Solid, m, pass.colours.sel});
    surface.line(at, view_.centrePixel());
}

std::vector<std::u16string> MapFrame::infoFields(const FrameData& data) const {
    const int mode = settings::field(view_.settingsWord, settings::kInfoLineShift);
    const int unitSystem = settings::field(view_.settingsWord, settings::kUnitsShift);
    const bool cursorMode = view_.has(viewflag::kTrackCursor);
    const TrackPoint* cursor = cursorMode ? track_.main().selection.cursor : nullptr;
    std::vector<std::u16string> fields(1);
    std::u16string& first = fields.front();
    if (mode == kInfoCoordinates) {
        const int format = settings::field(view_.settingsWord, settings::kCoordinateFormatShift);
        if (cursorMode || view_.has(viewflag::kFreeMovement))
            appendPosition(first, view_.latitudeDegrees(), view_.longitudeDegrees(), format);
        else if (data.positionShown)
            appendPosition(first, data.fix.latitude, data.fix.longitude, format);
        if (first.empty()) first = u"?-?";
    } else if (mode == kInfoTimes) {
        platform::traceLog().breadcrumb(".FixTm");
        const double time = cursor ? cursor->time : (data.positionShown ? data.fix.time : 0.0);
        if (time > 0.0) appendDuration(first, time, 1);
        if (first.empty()) first = u"?";
        const TrackPoint* start = track_.main().first();
        std::u16string since;
        if (start && time > start->time) appendDuration(since, time - start->time, 0);
        fields.push_back(since);
    } else if (mode == kInfoValues) {
        const float speed = cursor ? cursor->speed : data.fix.speed;
        const float altitude = cursor ? cursor->altitude : data.fix.altitude;
        const float length = cursor ? cursor->cumDistKm : track_.cumulativeValuesHeld();
        appendSpeed(first, speed, unitSystem);
        fields.emplace_back();
        appendAltitude(fields.back(), altitude, unitSystem);
        fields.emplace_back();
        appendDistance(fields.back(), length, unitSystem);
    } else {
        fields.clear();
        const NavigationValues nav =
            data.navigation ? data.navigation->navigation() : NavigationValues{};
        if (mode != settings::kInfoLineNavigation || !nav.navigating ||
            !(nav.distanceKm > kLeastShownKm))
            return fields;
        if (nav.bearing != kNotSetF) {
            fields.emplace_back();
            appendPrintf(fields.back(), "%.0f", static_cast<double>(nav.bearing));
        }
        fields.emplace_back();
        appendDistance(fields.back(), nav.distanceKm, unitSystem);
        if (nav.daysToReach > 0.0 && nav.daysToReach < kMostDaysToReach) {
            fields.emplace_back();
            appendDuration(fields.back(), nav.daysToReach, 0);
        }
    }
    return fields;
}

void MapFrame::drawInfoLine(Pass& pass) {
    if (pass.infoHeight == 0) return;
    const platform::Size size = pass.surface.size();
    const int mode = settings::field(view_.settingsWord, settings::kInfoLineShift);
    const bool free = view_.has(viewflag::kFreeMovement);
    InfoBand info;
    info.band = Rect{0, size.height - pass.infoHeight, size.width, size.height};
    if (view_.has(viewflag::kTrackCursor))
        info.fill = pass.colours.trk;
    else if (free && mode == kInfoCoordinates)
        info.fill = pass.colours.sel;
    else
        info.fill = pass.data.live ? pass.colours.gps : kNotLiveColour;
    info.ink = pass.colours.draw;
    info.fields = infoFields(pass.data);
    info.signalShown = !free;
    info.signal = pass.data.positionShown ? signalLevel(pass.data.fix.signal) : 0;
    info.markShown = !pass.data.signalGaugeHidden;
    info.battery = pass.data.battery;
    drawInfoBand(pass.surface, info, pass.metrics.m);
}

}  // namespace wendra
