// The three zoom modes, their limits and the zoom animation.
#include <algorithm>
#include <array>
#include <cmath>

#include "view/ViewGeometry.h"
#include "view/ViewMessages.h"

namespace wendra {

namespace {

// Units that the usable width spans at each limit: 50 m, about 18.5 m, two worlds.
constexpr double kAutoWidthUnits = 2.4953202e-06;
constexpr double kClosestWidthUnits = 9.2326849e-07;
constexpr double kFarthestWidthUnits = 4.0;
// The fit leaves 2.5 % of margin on each side; smaller extents are a single point.
constexpr double kFitMargin = 2.05;
constexpr double kPointExtent = 4.990640e-08;
// Proportional zoom: the width shows the distance of 1/25 h at the current speed.
constexpr double kKmhPerWidthKm = 25.0;
constexpr double kClosestProportionalKm = 0.05;
constexpr double kKmPerUnit = 20037.5;
constexpr double kZoomStepFactor = 1.5;
// Fraction of a change in scale that counts as none.
constexpr double kUnchangedLow = 0.9;
constexpr double kUnchangedHigh = 1.1;
constexpr double kAnimationPer180Ms = 0.2;
constexpr double kAnimationPeriodMs = 180.0;
constexpr float kDragLeast = 0.5f;
constexpr float kDragMost = 2.0f;

constexpr std::array<float, 8> kLimitFactors = {-1.0f, 1.0f, 1.1f, 1.2f, 1.5f, 2.0f, 3.0f, 0.0f};

}  // namespace

double ViewGeometry::autoUpperLimit() const {
    return usableWidth_ / kAutoWidthUnits;
}
double ViewGeometry::absoluteUpperLimit() const {
    return usableWidth_ / kClosestWidthUnits;
}
double ViewGeometry::lowerLimit() const {
    return usableWidth_ / kFarthestWidthUnits;
}

float ViewGeometry::limitFactor() const {
    return kLimitFactors[static_cast<std::size_t>(
        settings::field(settingsWord, settings::kLimitZoomShift))];
}

float ViewGeometry::mapDrawScale() const {
    const float factor = limitFactor();
    return factor > 0.0f ? scale / factor : scale;
}

void ViewGeometry::jumpZoom() {
    if (pendingScale == kNotSetF) return;
    scale = pendingScale;
    pendingScale = kNotSetF;
}

void ViewGeometry::animateZoom(int paintMs) {
    if (!setting(settings::kSmoothZoom)) {
        jumpZoom();
        return;
    }
    if (pendingScale == kNotSetF) return;
    const double a = 1.0 + kAnimationPer180Ms * std::max(paintMs, 0) / kAnimationPeriodMs;
    if (pendingScale > scale * a)
        scale = static_cast<float>(scale * a);
    else if (pendingScale < scale / a)
        scale = static_cast<float>(scale / a);
    else
        jumpZoom();
}

double ViewGeometry::limitedMapScale(double mapScale) const {
    const float factor = limitFactor();
    return factor > 0.0f && mapScale > 0.0 ? mapScale * factor : -1.0;
}

// A map scale of 0 is no map either: it would zoom the automatic modes out to the world.
double ViewGeometry::scaleCap(double mapScale) const {
    const double limited = limitedMapScale(mapScale);
    const double bAuto = autoUpperLimit();
    return limited > 0.0 && limited <= bAuto ? limited : bAuto;
}

double ViewGeometry::fitScale(double extentX, double extentY, double cap) const {
    double fitted = cap;
    if (extentX != kNotSet && extentX * kFitMargin > kPointExtent)
        fitted = std::min(fitted, usableWidth_ / (kFitMargin * extentX));
    if (extentY != kNotSet && extentY * kFitMargin > kPointExtent)
        fitted = std::min(fitted, usableHeight_ / (kFitMargin * extentY));
    return fitted;
}

bool ViewGeometry::applyScaleRules(const ScaleInputs& in) {
    // A window without width has no scale to choose: keep the last one.
    if (usableWidth_ <= 0 || usableHeight_ <= 0) return false;
    const double old = scale;
    const double bAuto = autoUpperLimit();
    const double mapScale = limitedMapScale(in.mapScale);
    const double cap = scaleCap(in.mapScale);
    if (!manualZoom()) {
        pendingScale = kNotSetF;
        scale = static_cast<float>(fitScale(in.extentX, in.extentY, cap));
        flags &= ~viewflag::kFreeMovement;
    } else if (proportionalZoom()) {
        if (in.fixValid) {
            const double km = std::max(in.speedKmh / kKmhPerWidthKm, kClosestProportionalKm);
            pendingScale = static_cast<float>(std::min(usableWidth_ / (km / kKmPerUnit), cap));
        }
    } else if (followsMapScale() && mapScale > 0.0) {
        pendingScale = manualScale = static_cast<float>(mapScale);
    } else if (pendingScale == kNotSetF) {
        scale = manualScale;
    }
    const float most = static_cast<float>(absoluteUpperLimit());
    const float least = static_cast<float>(lowerLimit());
    manualScale = std::clamp(manualScale, least, most);
    scale = std::clamp(scale, least, most);
    if (!std::isfinite(scale)) scale = manualZoom() ? most : static_cast<float>(bAuto);
    const double ratio = scale / old;
    return ratio < kUnchangedLow || ratio > kUnchangedHigh;
}

std::u16string_view ViewGeometry::zoomStep(bool up) {
    if (!manualZoom() || proportionalZoom()) return viewmsg::kNotAvailable;
    if (followsMapScale()) {
        zoomWord &= ~zoom::kFollowMapScale;
        manualScale = scale;
    }
    manualScale =
        static_cast<float>(up ? manualScale * kZoomStepFactor : manualScale / kZoomStepFactor);
    if (usableWidth_ > 0)
        manualScale = std::clamp(manualScale, static_cast<float>(lowerLimit()),
                                 static_cast<float>(absoluteUpperLimit()));
    // A target left over from the map scale would first pull the view elsewhere.
    if (pendingScale != kNotSetF) pendingScale = manualScale;
    return up ? viewmsg::kZoomIn : viewmsg::kZoomOut;
}

std::u16string_view ViewGeometry::wheelZoom(bool up) {
    if (!manualZoom() || proportionalZoom()) enterManualZoom();
    return zoomStep(up);
}

void ViewGeometry::enterManualZoom() {
    if (!manualZoom()) manualScale = scale;
    zoomWord = (zoomWord | zoom::kManual) & ~zoom::kProportional;
}

std::u16string_view ViewGeometry::cycleZoomMode(bool navigating, LatLon& gps, bool fixValid) {
    if (navigating) return viewmsg::kNotAvailable;
    if (!manualZoom()) {
        enterManualZoom();
        return viewmsg::kManualZoom;
    }
    if (!proportionalZoom()) {
        setProportional(gps, fixValid);
        return viewmsg::kProportionalZoom;
    }
    setAuto(gps, fixValid);
    return viewmsg::kAutoZoom;
}

void ViewGeometry::setInfoLineMode(int mode) {
    settingsWord = settings::withField(settingsWord, settings::kInfoLineShift, mode);
}

void ViewGeometry::enterFreeMovement() {
    zoomWord = (zoomWord | zoom::kManual) & ~zoom::kProportional;
    manualScale = scale;
    setInfoLineMode(settings::kInfoLineCoordinates);
    flags = (flags & ~viewflag::kTrackCursor) | viewflag::kFreeMovement;
}

namespace {
constexpr std::uint32_t kFollowingClears = viewflag::kFreeMovement | viewflag::kTrackCursor |
                                           viewflag::kSecondMarker | viewflag::kZoomDrag;
}

void ViewGeometry::setAuto(LatLon& gps, bool fixValid) {
    zoomWord &= ~(zoom::kManual | zoom::kProportional);
    flags &= ~kFollowingClears;
    pendingScale = kNotSetF;
    if (!fixValid) gps = LatLon{lat_, lon_};
}

void ViewGeometry::setProportional(LatLon& gps, bool fixValid) {
    zoomWord |= zoom::kManual | zoom::kProportional;
    flags &= ~kFollowingClears;
    pendingScale = kNotSetF;
    if (!fixValid) gps = LatLon{lat_, lon_};
}

bool ViewGeometry::zoomDrag(int dy) {
    if (usableWidth_ <= 0 || std::abs(dy) >= windowHeight_) return false;
    const float factor = std::clamp(1.0f + 2.0f * dy / usableWidth_, kDragLeast, kDragMost);
    manualScale *= factor;
    return true;
}

void ViewGeometry::moveCentre(int dx, int dy) {
    const double c = tables_.cosD(rotationDegrees_);
    const double s = tables_.sinD(rotationDegrees_);
    lon_ -= (dx * c - dy * s) / scale;
    lat_ += (dx * s + dy * c) / scale;
    refreshCentre();
}

}  // namespace wendra
