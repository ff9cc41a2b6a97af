#include "records/CoordinateFormat.h"

#include <cmath>
#include <cstdio>

#include "records/GeoPosition.h"
#include "records/SwissGrid.h"
#include "records/Utm.h"
#include "records/WidePrintf.h"

namespace wendra {

namespace {

// Degrees this large are the no-value marker (either sign) or garbage; the limit also
// keeps the whole degrees inside an int.
constexpr double kLargestDegrees = 999999.0;

struct Sexagesimal {
    int degrees = 0;
    int minutes = 0;
    int seconds = 0;
    int fraction = 0;  // of a minute (DD°MM.MMMM) or of a second (DD°MM'SS.SS)
};

// Rounds a non-negative amount of small units up when its fraction exceeds one half;
// true when the result reached `limit` and must carry into the next unit.
bool roundUnits(double amount, int limit, int& units) {
    units = static_cast<int>(amount);
    if (amount - units > 0.5) ++units;
    if (units < limit) return false;
    units -= limit;
    return true;
}

// Whole degrees, whole minutes and ten-thousandths of a minute of |value|.
Sexagesimal splitMinutes(double value) {
    Sexagesimal parts;
    parts.degrees = static_cast<int>(value);
    const double minutes = (value - parts.degrees) * 60.0;
    parts.minutes = static_cast<int>(minutes);
    if (roundUnits((minutes - parts.minutes) * 10000.0, 10000, parts.fraction)) ++parts.minutes;
    if (parts.minutes > 59) {
        parts.minutes -= 60;
        ++parts.degrees;
    }
    return parts;
}

// Whole degrees, minutes, seconds and hundredths of a second of |value|.
Sexagesimal splitSeconds(double value) {
    Sexagesimal parts;
    parts.degrees = static_cast<int>(value);
    const double minutes = (value - parts.degrees) * 60.0;
    parts.minutes = static_cast<int>(minutes);
    const double seconds = (minutes - parts.minutes) * 60.0;
    parts.seconds = static_cast<int>(seconds);
    if (roundUnits((seconds - parts.seconds) * 100.0, 100, parts.fraction)) ++parts.seconds;
    if (parts.seconds > 59) {
        parts.seconds -= 60;
        ++parts.minutes;
    }
    if (parts.minutes > 59) {
        parts.minutes -= 60;
        ++parts.degrees;
    }
    return parts;
}

char hemisphere(double value, int role) {
    if (role == kRoleLatitude) return value >= 0.0 ? 'N' : 'S';
    return value >= 0.0 ? 'E' : 'W';
}

void appendDegrees(std::u16string& out, double value, int role, int format) {
    if (!(std::fabs(value) < kLargestDegrees)) return;
    const char letter = hemisphere(value, role);
    const double magnitude = std::fabs(value);
    if (format == kFormatDegrees) {
        appendPrintf(out, "%0.6f%c", magnitude, letter);
    } else if (format == kFormatMinutes) {
        const Sexagesimal p = splitMinutes(magnitude);
        appendPrintf(out, "%d\xB0%02d.%04d%c", p.degrees, p.minutes, p.fraction, letter);
    } else {
        const Sexagesimal p = splitSeconds(magnitude);
        appendPrintf(out, "%d\xB0%02d'%02d.%02d%c", p.degrees, p.minutes, p.seconds, p.fraction,
                     letter);
    }
}

void appendGrid(std::u16string& out, double value, int role, int format) {
    if (!hasCoordinate(value)) return;
    if (format == kFormatSwiss)
        appendPrintf(out, "%0.2f", value);
    else if (role == kRoleUtmZone)
        appendPrintf(out, "%0.0f%c", std::fabs(value), value < 0.0 ? 'S' : 'N');
    else
        appendPrintf(out, "%0.0f", value);
}

bool insideSwissBox(double latitude, double longitude) {
    return latitude >= kSwissSouth && latitude <= kSwissNorth && longitude >= kSwissWest &&
           longitude <= kSwissEast;
}

}  // namespace

void appendCoordinate(std::u16string& out, double value, int role, int format) {
    if (format >= kFormatDegrees && format <= kFormatSeconds)
        appendDegrees(out, value, role, format);
    else if (format == kFormatUtm || format == kFormatSwiss)
        appendGrid(out, value, role, format);
}

void formatCoordinate(std::u16string& out, double value, int role, int format) {
    out.clear();
    appendCoordinate(out, value, role, format);
}

void appendPosition(std::u16string& out, double latitude, double longitude, int format) {
    if (!hasCoordinate(latitude) || !hasCoordinate(longitude)) return;
    if (format >= kFormatDegrees && format <= kFormatSeconds) {
        appendCoordinate(out, latitude, kRoleLatitude, format);
        out += u',';
        appendCoordinate(out, longitude, kRoleLongitude, format);
    } else if (format == kFormatUtm) {
        const UtmCoordinates utm = utmFromGeo(latitude, longitude);
        if (!utm.valid()) return;
        appendCoordinate(out, utm.easting, kRoleLatitude, format);
        out += u' ';
        appendCoordinate(out, utm.northing, kRoleLongitude, format);
        out += u' ';
        appendCoordinate(out, utm.zone, kRoleUtmZone, format);
    } else if (format == kFormatSwiss) {
        if (!insideSwissBox(latitude, longitude)) {
            out += u"---";
            return;
        }
        const SwissCoordinates grid = swissFromGeo(latitude, longitude);
        appendCoordinate(out, grid.east, kRoleLatitude, format);
        out += u' ';
        appendCoordinate(out, grid.north, kRoleLongitude, format);
    }
}

void formatPosition(std::u16string& out, double latitude, double longitude, int format) {
    out.clear();
    appendPosition(out, latitude, longitude, format);
}

void appendNmeaCoordinate(std::string& out, double value, int role) {
    if (!(std::fabs(value) < kLargestDegrees)) {
        out += ",,";
        return;
    }
    const Sexagesimal p = splitMinutes(std::fabs(value));
    const char* format = role == kRoleLatitude ? "%02d%02d.%04d,%c," : "%03d%02d.%04d,%c,";
    char text[64];
    std::snprintf(text, sizeof text, format, p.degrees, p.minutes, p.fraction,
                  hemisphere(value, role));
    out += text;
}

}  // namespace wendra
