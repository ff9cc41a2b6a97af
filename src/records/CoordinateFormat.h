#pragma once
// Coordinates as the program shows them, in one of the five coordinate formats, and
// as the NMEA export writes them. Values that are not set, or not numbers, and
// unknown formats add nothing. Each append* has a format* twin that clears first.

#include <string>

#include "records/UnitFormat.h"

namespace wendra {

// What one value is: it picks the hemisphere letters (N/S, E/W) or the zone's.
constexpr int kRoleLatitude = 0;   // also the UTM easting and the Swiss east value
constexpr int kRoleLongitude = 1;  // also the UTM northing and the Swiss north value
constexpr int kRoleUtmZone = 2;

constexpr int kFormatDegrees = 0;  // DD.DDDDDD
constexpr int kFormatMinutes = 1;  // DD°MM.MMMM
constexpr int kFormatSeconds = 2;  // DD°MM'SS.SS
constexpr int kFormatUtm = 3;
constexpr int kFormatSwiss = 4;

// The Swiss grid is only shown inside this box; elsewhere a position shows "---".
constexpr double kSwissSouth = 45.0;
constexpr double kSwissNorth = 48.5;
constexpr double kSwissWest = 5.3;
constexpr double kSwissEast = 11.0;

// Formats 0-2 take degrees; format 3 an easting or northing (roles 0, 1) or a signed
// zone (role 2); format 4 a Swiss grid value.
void appendCoordinate(std::u16string& out, double value, int role, int format);
void formatCoordinate(std::u16string& out, double value, int role, int format);

// Both coordinates of a position, converted to the grid for formats 3 and 4. A
// position with either coordinate not set adds nothing.
void appendPosition(std::u16string& out, double latitude, double longitude, int format);
void formatPosition(std::u16string& out, double latitude, double longitude, int format);

// "ddmm.mmmm,H," for a latitude, "dddmm.mmmm,H," for a longitude (role 1); a value
// that is not set leaves both fields empty: ",,".
void appendNmeaCoordinate(std::string& out, double value, int role);

}  // namespace wendra
