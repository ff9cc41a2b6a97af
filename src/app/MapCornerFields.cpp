#include "app/MapCornerFields.h"

#include <cmath>

#include "records/CoordinateFormat.h"
#include "records/Utm.h"

namespace wendra {

namespace {

constexpr double kUnsetMarker = 999999.0;
constexpr std::u16string_view kNotShown = u"---";

bool isSet(double latitude, double longitude) {
    return std::isfinite(latitude) && std::isfinite(longitude) &&
           std::fabs(latitude) < kUnsetMarker && std::fabs(longitude) < kUnsetMarker;
}

std::optional<CornerTexts> grid(double latitude, double longitude, int format) {
    CornerTexts texts;
    if (format == kFormatUtm) {
        const UtmCoordinates utm = utmFromGeo(latitude, longitude);
        if (!utm.valid()) return std::nullopt;
        formatCoordinate(texts[0], utm.easting, kRoleLatitude, format);
        formatCoordinate(texts[1], utm.northing, kRoleLongitude, format);
        formatCoordinate(texts[2], utm.zone, kRoleUtmZone, format);
        return texts;
    }
    // The Swiss grid's own check of its box: outside it a position shows "---".
    std::u16string position;
    formatPosition(position, latitude, longitude, format);
    if (position.empty() || position == kNotShown) return std::nullopt;
    const auto space = position.find(u' ');
    texts[0] = position.substr(0, space);
    texts[1] = position.substr(space + 1);
    return texts;
}

std::optional<CornerTexts> textsOf(double latitude, double longitude, int format) {
    if (!isSet(latitude, longitude)) return CornerTexts{};
    if (format == kFormatUtm || format == kFormatSwiss) return grid(latitude, longitude, format);
    if (format < 0 || format >= kCoordinateFormatCount) return std::nullopt;
    CornerTexts texts;
    formatCoordinate(texts[0], latitude, kRoleLatitude, format);
    formatCoordinate(texts[1], longitude, kRoleLongitude, format);
    return texts;
}

}  // namespace

MapCorners unsetCorners() {
    MapCorners corners;
    corners.latitudes.fill(kUnsetMarker);
    corners.longitudes.fill(kUnsetMarker);
    return corners;
}

std::optional<MapCornerTexts> cornerTexts(const MapCorners& corners, int format) {
    MapCornerTexts all;
    for (int corner = 0; corner < maps::kCornerCount; ++corner) {
        std::optional<CornerTexts> texts =
            textsOf(corners.latitudes[corner], corners.longitudes[corner], format);
        if (!texts) return std::nullopt;
        all[corner] = std::move(*texts);
    }
    return all;
}

CoordinateEntry readCorner(const CornerTexts& texts, int format, const CornerTexts& shown,
                           const GeoPosition& exact) {
    if (texts == shown && isSet(exact.latitude, exact.longitude)) {
        CoordinateEntry entry;
        entry.accepted = true;
        entry.position = exact;
        return entry;
    }
    return readCoordinateEntry({texts[0], texts[1], texts[2]}, format);
}

}  // namespace wendra
