#include "points/GpsPoint.h"

#include <cmath>
#include <mutex>
#include <numbers>
#include <random>

#include "records/CoordinateFormat.h"
#include "records/GeoPosition.h"
#include "records/PositionOffset.h"

namespace wendra::points {

namespace {

constexpr double kDegreesPerHalfTurn = 180.0;
constexpr int kRandomMax = 32767;

bool onGlobe(double latDeg, double lonDeg) {
    return std::isfinite(latDeg) && std::isfinite(lonDeg) && std::fabs(latDeg) <= 90.0 &&
           std::fabs(lonDeg) <= 180.0;
}

}  // namespace

int randomIdentifier() {
    // Points are made by the window thread and by the sharing reader alike.
    static std::mutex guard;
    static std::minstd_rand generator{std::random_device{}()};
    const std::lock_guard lock(guard);
    return std::uniform_int_distribution<int>(0, kRandomMax)(generator) + 1;
}

GpsPoint::GpsPoint() : identifier(randomIdentifier()) {}

void GpsPoint::setPosition(double latDeg, double lonDeg) {
    latitude = latDeg;
    longitude = lonDeg;
    latUnits = latDeg / kDegreesPerHalfTurn;
    lonUnits = lonDeg / kDegreesPerHalfTurn;
    latRadians = latUnits * std::numbers::pi;
    cosLat = std::cos(latRadians);
    lonCos = lonUnits * cosLat;
    if (onGlobe(latDeg, lonDeg))
        flags |= kPositionValid;
    else
        flags &= ~kPositionValid;
}

void GpsPoint::setPositionUnits(double lonUnitsIn, double latUnitsIn) {
    setPosition(latUnitsIn * kDegreesPerHalfTurn, lonUnitsIn * kDegreesPerHalfTurn);
}

void GpsPoint::offsetPosition(double dxKm, double dyKm) {
    if (!positionValid()) return;
    const GeoPosition moved = wendra::offsetPosition({latitude, longitude}, dxKm, dyKm);
    setPosition(moved.latitude, moved.longitude);
}

std::u16string GpsPoint::displayText(int format, bool withGroup) const {
    std::u16string text;
    if (withGroup && !group.empty()) {
        text = group;
        text += u'/';
    }
    text += name;
    if (text.empty()) formatPosition(text, latitude, longitude, format);
    return text;
}

void copyPoint(GpsPoint& dst, const GpsPoint& src) {
    dst = src;
}

void copyDisplay(GpsPoint& dst, const GpsPoint& src) {
    dst.flags = (dst.flags & ~kDisplayMask) | (src.flags & kDisplayMask);
    dst.colour = src.colour;
    dst.alertName = src.alertName;
    dst.alert = src.alert;
    dst.iconName = src.iconName;
    dst.iconIndex = src.iconIndex;
    dst.course = src.course;
    dst.speed = src.speed;
}

}  // namespace wendra::points
