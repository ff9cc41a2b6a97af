#pragma once
// Reads one coordinate typed by the user in one of the five coordinate formats.
// Any text is safe to give; the result is the value or where the text goes wrong.
// Spaces around the text are ignored. Nothing here converts grid values to degrees.

#include <cstddef>
#include <string_view>

namespace wendra {

struct CoordinateParse {
    bool ok = false;
    double value = 0.0;  // degrees (formats 0-2), metres, or the signed UTM zone
    // The offending characters, [errorStart, errorEnd); an empty span at the end of
    // the text means that something is missing there.
    size_t errorStart = 0;
    size_t errorEnd = 0;
};

// role: 0 latitude, easting or Swiss east; 1 longitude, northing or Swiss north;
// 2 UTM zone. A hemisphere letter (N S / E W O) decides the sign over a leading "-";
// so does a zone's letter (S south, any other north).
CoordinateParse parseCoordinate(std::u16string_view text, int role, int format);

}  // namespace wendra
