#include "records/Utm.h"

#include <cmath>
#include <numbers>

namespace wendra {

namespace {

constexpr double kSemiMajor = 6378137.0;
constexpr double kSemiMinor = 6356752.314;
constexpr double kScale = 0.9996;
constexpr double kFalseEasting = 500000.0;
constexpr double kFalseNorthingSouth = 10000000.0;
constexpr double kZoneWidth = 6.0;
constexpr double kDegrees = std::numbers::pi / 180.0;

// The ellipsoid's derived constants, computed once.
struct Ellipsoid {
    double e2;              // first eccentricity squared
    double ep2;             // second eccentricity squared
    double m0, m2, m4, m6;  // meridian arc coefficients
};

const Ellipsoid& ellipsoid() {
    static const Ellipsoid value = [] {
        const double e2 =
            (kSemiMajor * kSemiMajor - kSemiMinor * kSemiMinor) / (kSemiMajor * kSemiMajor);
        const double e4 = e2 * e2;
        const double e6 = e4 * e2;
        return Ellipsoid{e2,
                         e2 / (1.0 - e2),
                         1.0 - e2 / 4.0 - 3.0 * e4 / 64.0 - 5.0 * e6 / 256.0,
                         3.0 * e2 / 8.0 + 3.0 * e4 / 32.0 + 45.0 * e6 / 1024.0,
                         15.0 * e4 / 256.0 + 45.0 * e6 / 1024.0,
                         35.0 * e6 / 3072.0};
    }();
    return value;
}

double meridianArc(double phi) {
    const Ellipsoid& el = ellipsoid();
    return kSemiMajor * (el.m0 * phi - el.m2 * std::sin(2.0 * phi) + el.m4 * std::sin(4.0 * phi) -
                         el.m6 * std::sin(6.0 * phi));
}

double centralMeridian(int zone) {
    return (zone - 1) * kZoneWidth - 180.0 + kZoneWidth / 2.0;
}

// Into [-180, 180).
double wrapLongitude(double longitude) {
    double wrapped = std::fmod(longitude + 180.0, 360.0);
    if (wrapped < 0.0) wrapped += 360.0;
    return wrapped - 180.0;
}

// The latitude whose meridian arc is the given length.
double footpointLatitude(double arc) {
    const Ellipsoid& el = ellipsoid();
    const double mu = arc / (kSemiMajor * el.m0);
    const double root = std::sqrt(1.0 - el.e2);
    const double e1 = (1.0 - root) / (1.0 + root);
    const double e1p2 = e1 * e1, e1p3 = e1p2 * e1, e1p4 = e1p3 * e1;
    return mu + (3.0 * e1 / 2.0 - 27.0 * e1p3 / 32.0) * std::sin(2.0 * mu) +
           (21.0 * e1p2 / 16.0 - 55.0 * e1p4 / 32.0) * std::sin(4.0 * mu) +
           (151.0 * e1p3 / 96.0) * std::sin(6.0 * mu) +
           (1097.0 * e1p4 / 512.0) * std::sin(8.0 * mu);
}

}  // namespace

UtmCoordinates utmFromGeo(double latitude, double longitude) {
    if (!hasCoordinate(latitude) || !hasCoordinate(longitude) || std::fabs(latitude) > 90.0)
        return {};
    const Ellipsoid& el = ellipsoid();
    longitude = wrapLongitude(longitude);
    const int zone = static_cast<int>(std::floor((longitude + 180.0) / kZoneWidth)) + 1;

    const double phi = latitude * kDegrees;
    const double sinPhi = std::sin(phi), cosPhi = std::cos(phi), tanPhi = std::tan(phi);
    const double n = kSemiMajor / std::sqrt(1.0 - el.e2 * sinPhi * sinPhi);
    const double t = tanPhi * tanPhi;
    const double c = el.ep2 * cosPhi * cosPhi;
    const double a = cosPhi * (longitude - centralMeridian(zone)) * kDegrees;
    const double a2 = a * a, a3 = a2 * a, a4 = a3 * a, a5 = a4 * a, a6 = a5 * a;

    UtmCoordinates utm;
    utm.easting = kScale * n *
                      (a + (1.0 - t + c) * a3 / 6.0 +
                       (5.0 - 18.0 * t + t * t + 72.0 * c - 58.0 * el.ep2) * a5 / 120.0) +
                  kFalseEasting;
    utm.northing =
        kScale * (meridianArc(phi) +
                  n * tanPhi *
                      (a2 / 2.0 + (5.0 - t + 9.0 * c + 4.0 * c * c) * a4 / 24.0 +
                       (61.0 - 58.0 * t + t * t + 600.0 * c - 330.0 * el.ep2) * a6 / 720.0));
    utm.zone = zone;
    if (utm.northing < 0.0) utm.northing += kFalseNorthingSouth;
    if (latitude < 0.0) utm.zone = -zone;
    return utm;
}

GeoPosition geoFromUtm(double easting, double northing, int zone) {
    if (zone == 0 || zone > kUtmZoneCount || zone < -kUtmZoneCount || !std::isfinite(easting) ||
        !std::isfinite(northing))
        return {};
    const Ellipsoid& el = ellipsoid();
    if (zone < 0) northing -= kFalseNorthingSouth;
    // Beyond the pole the series runs on into latitudes that do not exist, and across
    // the equator into the other hemisphere's zone: neither is a place of this zone.
    const double poleNorthing = kScale * meridianArc(std::numbers::pi / 2.0);
    if (zone > 0 ? (northing < 0.0 || northing > poleNorthing)
                 : (northing > 0.0 || northing < -poleNorthing))
        return {};

    const double phi1 = footpointLatitude(northing / kScale);
    const double sinPhi = std::sin(phi1), cosPhi = std::cos(phi1), tanPhi = std::tan(phi1);
    const double w = 1.0 - el.e2 * sinPhi * sinPhi;
    const double n1 = kSemiMajor / std::sqrt(w);
    const double r1 = kSemiMajor * (1.0 - el.e2) / (w * std::sqrt(w));
    const double t1 = tanPhi * tanPhi;
    const double c1 = el.ep2 * cosPhi * cosPhi;
    const double d = (easting - kFalseEasting) / (n1 * kScale);
    const double d2 = d * d, d3 = d2 * d, d4 = d3 * d, d5 = d4 * d, d6 = d5 * d;

    const double phi =
        phi1 -
        (n1 * tanPhi / r1) *
            (d2 / 2.0 - (5.0 + 3.0 * t1 + 10.0 * c1 - 4.0 * c1 * c1 - 9.0 * el.ep2) * d4 / 24.0 +
             (61.0 + 90.0 * t1 + 298.0 * c1 + 45.0 * t1 * t1 - 252.0 * el.ep2 - 3.0 * c1 * c1) *
                 d6 / 720.0);
    const double lambda =
        (d - (1.0 + 2.0 * t1 + c1) * d3 / 6.0 +
         (5.0 - 2.0 * c1 + 28.0 * t1 - 3.0 * c1 * c1 + 8.0 * el.ep2 + 24.0 * t1 * t1) * d5 /
             120.0) /
        cosPhi;
    GeoPosition position{phi / kDegrees,
                         wrapLongitude(centralMeridian(std::abs(zone)) + lambda / kDegrees)};
    if (!std::isfinite(position.latitude) || !std::isfinite(position.longitude) ||
        std::fabs(position.latitude) > 90.0)
        return {};
    return position;
}

}  // namespace wendra
