#include "maps/MapRanking.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "maps/MapLines.h"

namespace wendra::maps {

namespace {

constexpr double kHalfTurnDegrees = 180.0;
constexpr double kNoCrossing = 999999.0;
constexpr int kMaxMismatchPoints = 49;
constexpr int kMaxDistanceBand = 3;
constexpr double kBandWidth = 50.0;
constexpr double kSpread = 10.1;
constexpr float kOutsideOffset = 0.1f;

// Sides as corner pairs: top, bottom, left, right.
constexpr int kSides[4][2] = {{0, 1}, {2, 3}, {0, 2}, {1, 3}};

double squaredDistance(double dLat, double dLon, double cosC) {
    return dLat * dLat + (dLon * cosC) * (dLon * cosC);
}

double outsideDistance(const CalibratedMap& map, double latitude, double longitude, double cosC) {
    const MapDefinition& d = map.definition();
    const PlanePoint position{longitude, latitude};
    const PlanePoint centre{map.centreLongitude(), map.centreLatitude()};
    double best = std::numeric_limits<double>::infinity();
    for (const auto& side : kSides) {
        const PlanePoint a{d.cornerLongitudes[side[0]], d.cornerLatitudes[side[0]]};
        const PlanePoint b{d.cornerLongitudes[side[1]], d.cornerLatitudes[side[1]]};
        const LineIntersection cut = intersectLines(a, b, position, centre);
        if (cut.crossing != LineCrossing::OnSegment) continue;
        best =
            std::min(best, squaredDistance(cut.point.y - latitude, cut.point.x - longitude, cosC));
    }
    if (!std::isfinite(best)) best = kNoCrossing;
    return std::sqrt(best) / kHalfTurnDegrees;
}

}  // namespace

float scaleMismatch(float lonScale, float a) {
    if (lonScale == 0) return kNoScaleMismatch;
    if (lonScale > a) return lonScale / a - 1;
    return (a / lonScale - 1) * 2;
}

void evaluateDistance(const CalibratedMap& map, MapSelection& s, double latitude, double longitude,
                      float c) {
    const MapScales& scales = map.scales();
    if (std::abs(latitude - s.lastLatitude) < scales.degreesPerPixelY &&
        std::abs(longitude - s.lastLongitude) * c < scales.degreesPerPixelX)
        return;
    s.lastLatitude = latitude;
    s.lastLongitude = longitude;
    s.contains = map.containsPosition(latitude, longitude);
    const double cosC = std::cos(map.centreLatitude() * std::numbers::pi / kHalfTurnDegrees);
    if (s.contains) {
        s.distance = std::sqrt(squaredDistance(latitude - map.centreLatitude(),
                                               longitude - map.centreLongitude(), cosC)) /
                     kHalfTurnDegrees;
    } else {
        s.distance = outsideDistance(map, latitude, longitude, cosC);
    }
}

float rankScore(const MapSelection& s, const ScoreBase& base) {
    const double points = std::floor((s.rankMismatch - base.minMismatch) * 2.0);
    const double d = std::min<double>(points, kMaxMismatchPoints);
    if (s.contains) return static_cast<float>(s.distance / (base.maxIn * kSpread) + d);
    const double e =
        std::min<double>(std::floor(s.distance * base.outsideFactor), kMaxDistanceBand);
    return static_cast<float>(kOutsideOffset + s.distance / (base.maxOut * kSpread) + d +
                              kBandWidth * e);
}

}  // namespace wendra::maps
