#pragma once
// Half-turn positions to pixels of a north-up, unrotated view: x grows east by the
// longitude difference times the cosine of the object's own latitude, y grows south.
// Results are doubles and may lie anywhere; the caller clips before drawing.

#include "platform/Geometry.h"
#include "view/ViewCentre.h"

namespace wendra {

struct ScreenPoint {
    double x = 0.0;
    double y = 0.0;
};

class NorthUpProjection {
public:
    // scale: pixels per half-turn unit. The centre pixel is the middle of the surface.
    NorthUpProjection(ViewCentre centre, double scale, platform::Size surface);

    // cosLat: the cosine of the object's own latitude (track points keep it).
    ScreenPoint project(double lat, double lon, double cosLat) const {
        return ScreenPoint{centreX_ + (lon - centre_.lon) * cosLat * scale_,
                           centreY_ - (lat - centre_.lat) * scale_};
    }
    // A position in degrees, as fixes hold it.
    ScreenPoint projectDegrees(double latitude, double longitude) const;
    // The position (half-turns) that lands on a screen point: the inverse of project
    // with the cosine of that position's own latitude.
    ViewCentre unproject(double x, double y) const;

    // Rounded half away from zero; far values are held inside the int range.
    static platform::Point toPixel(ScreenPoint point);

    platform::Point centrePixel() const;
    double scale() const { return scale_; }

private:
    ViewCentre centre_;
    double scale_;
    double centreX_;
    double centreY_;
};

}  // namespace wendra
