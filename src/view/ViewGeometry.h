#pragma once
// The map view's state: centre, rotation, scale, zoom and position modes, the second
// marker, and the rules that move them. Positions are half-turn units (degrees / 180),
// scales pixels per unit. The centre is always clamped to the earth and its derived
// values (degrees, radians, cosine) are kept in step; track points are not read here.

#include <cstdint>
#include <string_view>

#include "platform/Geometry.h"
#include "view/ScreenPoint.h"
#include "view/TrigTables.h"
#include "view/ViewModes.h"

namespace wendra {

// Offsets from the view centre in the rotated frame, in units.
struct RotatedOffset {
    float x = kNotSetF;
    float y = kNotSetF;
};

struct LatLon {
    double lat = 0.0;
    double lon = 0.0;
};

// A position in the rotated frame of the automatic fit, in units.
struct FramePoint {
    double x = 0.0;
    double y = 0.0;
};

// What the scale rules need from outside the view.
struct ScaleInputs {
    // Largest absolute rotated offsets of what the automatic fit shows; kNotSet = none.
    double extentX = kNotSet;
    double extentY = kNotSet;
    double mapScale = -1.0;  // best map's pixel-for-pixel scale, <= 0 when none applies
    bool fixValid = false;
    float speedKmh = 0.0f;
};

class ViewGeometry {
public:
    static constexpr float kInitialScale = 400750176.0f;

    ViewGeometry();

    // The client rectangle of this paint; the first non-empty one fixes the diagonal.
    void placeRect(platform::Rect client);
    int usableWidth() const { return usableWidth_; }
    int usableHeight() const { return usableHeight_; }
    int pixelMultiplier() const { return pixelMultiplier_; }
    double diagonal() const { return diagonal_; }
    platform::Point centrePixel() const { return {centreX_, centreY_}; }

    // Centre ------------------------------------------------------------------
    void setCentre(double lat, double lon);
    // Leaves the position to be derived from the rotated centre by settleCentre.
    void setRotatedCentre(double x, double y);
    // Derives, clamps and refreshes the centre; false while the cosine of the centre
    // latitude moved by more than 1 %, so that a fit computed with it must be redone.
    bool settleCentre();
    double centreLat() const { return lat_; }
    double centreLon() const { return lon_; }
    double latitudeDegrees() const { return latDegrees_; }
    double longitudeDegrees() const { return lonDegrees_; }
    double cosCentreLat() const { return cosLat_; }
    double rotatedCentreX() const { return rotatedX_; }
    double rotatedCentreY() const { return rotatedY_; }
    // The frame used to fit a box: X = lon cos(centreLat) c - lat s, Y likewise.
    FramePoint rotatedFrame(double lat, double lon) const;

    // Projection --------------------------------------------------------------
    // cosLat: the cosine of the object's own latitude.
    // Inline: the track painter places every retained point with it.
    RotatedOffset project(double lat, double lon, double cosLat) const {
        const float c = tables_.cosF(rotationDegrees_);
        const float s = tables_.sinF(rotationDegrees_);
        const double dy = lat - lat_;
        const double dx = (lon - lon_) * cosLat;
        return RotatedOffset{static_cast<float>(dx * c - dy * s),
                             static_cast<float>(dx * s + dy * c)};
    }
    // Rounded half away from zero; far values are held inside the int range.
    platform::Point toScreen(RotatedOffset offset) const {
        return ScreenPoint{centreX_ + static_cast<double>(offset.x) * scale,
                           centreY_ - static_cast<double>(offset.y) * scale}
            .pixel();
    }
    // The position under a screen pixel (the inverse of project and toScreen), held to
    // the earth; onEarth, when given, tells whether it had to be held.
    LatLon fromScreen(double px, double py, bool* onEarth = nullptr) const;

    // Rotation ----------------------------------------------------------------
    void setTargetHeading(int degrees) { heading = TrigTables::wrapDegrees(degrees); }
    // One paint of smoothing towards the target heading, paintMs after the last one.
    void smoothRotation(int paintMs);
    void jumpRotation();
    int rotationDegrees() const { return rotationDegrees_; }
    // "View: turning" / "View: North up".
    std::u16string_view setTurning(bool on);
    // +1 right, -1 left, 0 centre; only in free movement.
    std::u16string_view turnStep(int direction);

    // Scale -------------------------------------------------------------------
    // One paint of the zoom animation towards the pending target.
    void animateZoom(int paintMs);
    void jumpZoom();
    // "Limit zoom auto" factor of the settings word; <= 0 disables the map cap.
    float limitFactor() const;
    // The scale handed to the map choice and drawing.
    float mapDrawScale() const;
    // Applies the zoom mode's rule; true when the scale changed by more than 10 %.
    bool applyScaleRules(const ScaleInputs& in);
    // The automatic fit of an extent, capped by the map scale; kNotSet extents ignored.
    double fitScale(double extentX, double extentY, double mapScale) const;
    // The map scale times the "Limit zoom auto" factor; -1 when either does not apply.
    double limitedMapScale(double mapScale) const;
    // The upper limit of the automatic modes: the limited map scale, at most 50 m across.
    double scaleCap(double mapScale) const;
    double autoUpperLimit() const;
    double absoluteUpperLimit() const;
    double lowerLimit() const;

    // Commands ----------------------------------------------------------------
    std::u16string_view zoomStep(bool up);
    // The mouse wheel and pinch: zoomStep, from manual zoom entered first when needed.
    std::u16string_view wheelZoom(bool up);
    // Auto, Manual, Proportional, Auto; refused while navigating to a point.
    std::u16string_view cycleZoomMode(bool navigating, LatLon& gps, bool fixValid);
    void enterFreeMovement();
    // gps takes the view centre when its fix is not valid.
    void setAuto(LatLon& gps, bool fixValid);
    void setProportional(LatLon& gps, bool fixValid);
    void enterManualZoom();

    bool has(std::uint32_t flag) const { return (flags & flag) != 0; }
    bool manualZoom() const { return (zoomWord & zoom::kManual) != 0; }
    bool proportionalZoom() const { return manualZoom() && (zoomWord & zoom::kProportional); }
    bool followsMapScale() const { return (zoomWord & zoom::kFollowMapScale) != 0; }
    bool trackExcludedFromFit() const { return (zoomWord & zoom::kTrackExcluded) != 0; }
    bool setting(std::int32_t bit) const { return (settingsWord & bit) != 0; }

    // Free movement shift of the centre by a pen displacement (x right, y down).
    void moveCentre(int dx, int dy);
    // The zoom-drag rule; false when the displacement is no zoom gesture.
    bool zoomDrag(int dy);

    // Public state, as the configuration and the frame read and write it.
    int heading = 0;        // target heading, 0..359
    float rotation = 0.0f;  // current rotation, degrees [0, 360)
    float scale = kInitialScale;
    float manualScale = kInitialScale;
    float pendingScale = kNotSetF;
    std::uint32_t flags = 0;    // viewflag bits
    std::int32_t zoomWord = 0;  // zoom bits of the track settings word
    std::int32_t settingsWord = settings::kDefault;
    LatLon secondMarker{kNotSet, kNotSet};
    RotatedOffset secondMarkerOffset{};

private:
    void refreshCentre();
    void setInfoLineMode(int mode);

    TrigTables tables_;
    int centreX_ = 0;
    int centreY_ = 0;
    int usableWidth_ = 0;
    int usableHeight_ = 0;
    int windowHeight_ = 0;
    double diagonal_ = 0.0;
    int pixelMultiplier_ = 1;
    double lat_ = 0.0;
    double lon_ = 0.0;
    double latDegrees_ = 0.0;
    double lonDegrees_ = 0.0;
    double latRadians_ = 0.0;
    double cosLat_ = 1.0;
    double rotatedX_ = kNotSet;
    double rotatedY_ = kNotSet;
    int rotationDegrees_ = 0;
};

}  // namespace wendra
