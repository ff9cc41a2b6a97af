// The coordinate verbs: show a position as the program does, read a typed coordinate,
// and convert between degrees and the two grids.
//
//   coord FORMAT LAT LON            the position in coordinate format 0-4, one line
//   coord --parse FORMAT ROLE TEXT  the value with 9 decimals; on a refusal the span
//                                   "START<TAB>END<TAB>CHARS" on stdout, the program's
//                                   message on stderr, exit status 1
//   grid utm LAT LON                easting, northing (2 decimals), signed zone
//   grid swiss LAT LON              east, north (2 decimals)
//   grid utm --inverse E N ZONE     latitude, longitude (9 decimals)
//   grid swiss --inverse E N        latitude, longitude (9 decimals)
//
// Output is UTF-8 and tab-separated; bad input exits 1 with one line on stderr.

#include <cmath>
#include <cstdio>
#include <string>

#include "Verbs.h"
#include "records/CoordinateFormat.h"
#include "records/CoordinateParser.h"
#include "records/SwissGrid.h"
#include "records/Text.h"
#include "records/Utm.h"

namespace wendra::tool {

namespace {

constexpr const char* kCoordUsage =
    "usage: coord FORMAT LAT LON | coord --parse FORMAT ROLE TEXT (prints the value, or "
    "START END CHARS of the refused characters and exits 1)";
constexpr const char* kGridUsage =
    "usage: grid utm|swiss LAT LON | grid utm --inverse E N ZONE | grid swiss --inverse E N";

int parseFormat(const std::string& text) {
    const long long format = parseInteger(text, "coordinate format");
    if (format < 0 || format >= kCoordinateFormatCount)
        fail("unknown coordinate format " + text + " (0 to 4)");
    return static_cast<int>(format);
}

double parseDegrees(const std::string& text, const char* what, double largest) {
    const double value = parseReal(text, what);
    if (!std::isfinite(value) || std::fabs(value) > largest)
        fail(std::string(what) + " out of range: \"" + text + "\"");
    return value;
}

double parseMetres(const std::string& text, const char* what) {
    const double value = parseReal(text, what);
    if (!std::isfinite(value)) fail(std::string("malformed ") + what + ": \"" + text + "\"");
    return value;
}

// Degrees in range, or the no-value marker (-999999 and below) that shows as nothing.
double parseCoordinateArgument(const std::string& text, const char* what, double largest) {
    const double value = parseReal(text, what);
    if (value <= kNoCoordinate && std::isfinite(value)) return value;
    return parseDegrees(text, what, largest);
}

int showPosition(const Args& args) {
    if (args.size() != 3) fail(kCoordUsage);
    const int format = parseFormat(args[0]);
    const double latitude = parseCoordinateArgument(args[1], "latitude", 90.0);
    const double longitude = parseCoordinateArgument(args[2], "longitude", 180.0);
    std::u16string text;
    formatPosition(text, latitude, longitude, format);
    std::printf("%s\n", toUtf8(text).c_str());
    return 0;
}

int parseOne(const Args& args) {
    if (args.size() != 4) fail(kCoordUsage);
    const int format = parseFormat(args[1]);
    const long long role = parseInteger(args[2], "role");
    if (role < kRoleLatitude || role > kRoleUtmZone) fail("unknown role " + args[2] + " (0 to 2)");
    const std::u16string text = fromUtf8(args[3]);
    const CoordinateParse parse = parseCoordinate(text, static_cast<int>(role), format);
    if (parse.ok) {
        std::printf("%.9f\n", parse.value);
        return 0;
    }
    const std::u16string_view wrong =
        std::u16string_view(text).substr(parse.errorStart, parse.errorEnd - parse.errorStart);
    std::printf("%zu\t%zu\t%s\n", parse.errorStart, parse.errorEnd, toUtf8(wrong).c_str());
    fail("[" + toUtf8(wrong) + "] not valid in the string " + args[3] + " at format " +
         toUtf8(kCoordinateFormatNames[format]));
}

int utm(const Args& args, bool inverse) {
    if (inverse) {
        if (args.size() != 5) fail(kGridUsage);
        const long long zone = parseInteger(args[4], "zone");
        if (zone == 0 || zone > kUtmZoneCount || zone < -kUtmZoneCount)
            fail("zone out of range: \"" + args[4] + "\" (1 to 60, negative in the south)");
        const GeoPosition position =
            geoFromUtm(parseMetres(args[2], "easting"), parseMetres(args[3], "northing"),
                       static_cast<int>(zone));
        if (!hasCoordinate(position.latitude)) fail("no position for this grid value");
        std::printf("%.9f\t%.9f\n", position.latitude, position.longitude);
        return 0;
    }
    if (args.size() != 3) fail(kGridUsage);
    const UtmCoordinates grid = utmFromGeo(parseDegrees(args[1], "latitude", 90.0),
                                           parseDegrees(args[2], "longitude", 180.0));
    std::printf("%.2f\t%.2f\t%d\n", grid.easting, grid.northing, grid.zone);
    return 0;
}

int swiss(const Args& args, bool inverse) {
    if (inverse) {
        if (args.size() != 4) fail(kGridUsage);
        const GeoPosition position =
            geoFromSwiss(parseMetres(args[2], "east"), parseMetres(args[3], "north"));
        if (!hasCoordinate(position.latitude)) fail("no position for this grid value");
        std::printf("%.9f\t%.9f\n", position.latitude, position.longitude);
        return 0;
    }
    if (args.size() != 3) fail(kGridUsage);
    const SwissCoordinates grid = swissFromGeo(parseDegrees(args[1], "latitude", 90.0),
                                               parseDegrees(args[2], "longitude", 180.0));
    std::printf("%.2f\t%.2f\n", grid.east, grid.north);
    return 0;
}

}  // namespace

int runCoord(const Args& args) {
    if (!args.empty() && args[0] == "--parse") return parseOne(args);
    return showPosition(args);
}

int runGrid(const Args& args) {
    if (args.empty()) fail(kGridUsage);
    const bool inverse = args.size() > 1 && args[1] == "--inverse";
    if (args[0] == "utm") return utm(args, inverse);
    if (args[0] == "swiss") return swiss(args, inverse);
    fail("unknown grid \"" + args[0] + "\" (utm or swiss)");
}

}  // namespace wendra::tool
