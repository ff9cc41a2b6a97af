#pragma once
// Fixes and layers for the track tests: positions given in metres north and east of
// a base point, times in seconds after a base Day number.

#include "track/PointValues.h"
#include "track/Track.h"
#include "track/TrackFix.h"
#include "track/TrackPoint.h"
#include "track/TrackUnits.h"

namespace wendra::test {

constexpr double kBaseLatitude = 45.0;
constexpr double kBaseLongitude = 7.0;
constexpr double kBaseDay = 8000.0;
constexpr double kMetresPerDegree = kHalfTurnKm * 1000.0 / 180.0;

inline double northDegrees(double metres) {
    return kBaseLatitude + metres / kMetresPerDegree;
}

inline TrackFix fixAt(double northMetres, double seconds, float speedKmh = 5.0f, int heading = 0,
                      float altitude = 100.0f) {
    TrackFix fix;
    fix.latitude = northDegrees(northMetres);
    fix.longitude = kBaseLongitude;
    fix.speed = speedKmh;
    fix.altitude = altitude;
    fix.heading = heading;
    fix.signal = 50.0f;
    fix.time = kBaseDay + seconds / kSecondsPerDay;
    return fix;
}

// Appends a stored (not live) point north of the base, one second after the last.
inline TrackPoint& appendStored(TrackLayer& layer, double northMetres, int weight = 1,
                                std::uint32_t flags = 0, float altitude = 100.0f,
                                float speed = 5.0f) {
    TrackPoint* point = layer.append();
    PointValues values;
    values.lat = northDegrees(northMetres) / 180.0;
    values.lon = kBaseLongitude / 180.0;
    values.altitude = altitude;
    values.speed = speed;
    values.weight = weight;
    values.flags = flags;
    values.timeZone = 0;
    values.time = kBaseDay + layer.count() / kSecondsPerDay;
    setPointValues(*point, values, 0.001);
    return *point;
}

}  // namespace wendra::test
