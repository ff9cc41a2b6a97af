#pragma once
// The name proposed when a track is saved: "Trc-", the first point's date, then the
// names of the user's points near the track's ends or the track's length, made safe
// for a file name ("." becomes ",", "/" becomes "-").

#include <span>
#include <string>
#include <string_view>

namespace wendra {

// A named point of the points store; position in half-turn units.
struct NamedPlace {
    std::u16string name;
    double lat = 0.0;
    double lon = 0.0;
};

struct TrackNameInput {
    double firstTime = 0.0;  // Day number of the first point
    double firstLat = 0.0;   // half-turn units
    double firstLon = 0.0;
    double lastLat = 0.0;
    double lastLon = 0.0;
    float lengthKm = 0.0f;
};

// Points closer than this to an end of the track name it.
constexpr double kNamingRadiusKm = 0.25;

// Whether the name has the form the program gives points added at once:
// "yymmdd-hhmmss". Such names say nothing about a place.
bool isAutomaticPointName(std::u16string_view name);

// The name of the nearest place within kNamingRadiusKm, automatic names skipped;
// empty when there is none.
std::u16string nearbyPlaceName(std::span<const NamedPlace> places, double lat, double lon);

std::u16string defaultTrackName(const TrackNameInput& track, std::span<const NamedPlace> places,
                                int unitSystem);

}  // namespace wendra
