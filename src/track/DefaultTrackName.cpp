#include "track/DefaultTrackName.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "records/DayNumber.h"
#include "records/Text.h"
#include "records/UnitFormat.h"

namespace wendra {

namespace {

constexpr double kKmPerHalfTurn = 20037.508342789242;
constexpr double kPi = 3.14159265358979323846;
constexpr std::size_t kAutomaticNameLength = 13;  // "yymmdd-hhmmss"
constexpr std::size_t kAutomaticNameDash = 6;

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// Flat-earth distance between two positions in half-turn units, km.
double distanceKm(double lat1, double lon1, double lat2, double lon2) {
    const double dx = (lon1 - lon2) * std::cos((lat1 + lat2) / 2 * kPi);
    const double dy = lat1 - lat2;
    return std::sqrt(dx * dx + dy * dy) * kKmPerHalfTurn;
}

}  // namespace

bool isAutomaticPointName(std::u16string_view name) {
    if (name.size() != kAutomaticNameLength) return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const bool ok = i == kAutomaticNameDash ? name[i] == u'-' : isDigit(name[i]);
        if (!ok) return false;
    }
    return true;
}

std::u16string nearbyPlaceName(std::span<const NamedPlace> places, double lat, double lon) {
    const NamedPlace* nearest = nullptr;
    double best = kNamingRadiusKm;
    for (const NamedPlace& place : places) {
        if (place.name.empty() || isAutomaticPointName(place.name)) continue;
        const double d = distanceKm(lat, lon, place.lat, place.lon);
        if (d < best) {
            best = d;
            nearest = &place;
        }
    }
    return nearest ? nearest->name : std::u16string();
}

std::u16string defaultTrackName(const TrackNameInput& track, std::span<const NamedPlace> places,
                                int unitSystem) {
    const platform::CivilTime date = civilFromDayNumber(track.firstTime);
    char prefix[32];
    std::snprintf(prefix, sizeof prefix, "Trc-%02d%02d%02d-", date.year % 100, date.month,
                  date.day);
    std::u16string name = widen(prefix);
    std::u16string length;
    formatDistance(length, track.lengthKm, unitSystem);
    const std::u16string start = nearbyPlaceName(places, track.firstLat, track.firstLon);
    const std::u16string end = nearbyPlaceName(places, track.lastLat, track.lastLon);
    name += start.empty() ? length : start;
    if (!end.empty()) {
        name += u'-';
        name += end;
    } else if (!start.empty()) {
        name += u'-';
        name += length;
    }
    std::replace(name.begin(), name.end(), u'.', u',');
    std::replace(name.begin(), name.end(), u'/', u'-');
    return name;
}

}  // namespace wendra
