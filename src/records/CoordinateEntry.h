#pragma once
// The rule of the position entry dialog: read its fields in the chosen coordinate
// format and give either the position or the message box to show (text and title).
// It shows nothing itself and keeps no state.

#include <array>
#include <string>
#include <string_view>

#include "records/GeoPosition.h"

namespace wendra {

// The field texts by role: latitude and longitude (formats 0-2), easting, northing
// and zone (UTM), east and north (Swiss grid). Fields the format does not use are
// ignored.
using CoordinateFields = std::array<std::u16string_view, 3>;

struct CoordinateEntry {
    bool accepted = false;
    GeoPosition position;    // when accepted
    int field = -1;          // when refused: the field the message is about
    std::u16string message;  // when refused: the box's text
    std::u16string title;    // and its title, "Error!" or "Info!"
};

CoordinateEntry readCoordinateEntry(const CoordinateFields& fields, int format);

}  // namespace wendra
