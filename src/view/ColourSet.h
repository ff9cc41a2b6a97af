#pragma once
// The six role colours of the map view, each with a day and a night value, and their
// twelve configuration records. Values are 0x00BBGGRR inside and RRGGBB in the file;
// a record whose value does not read keeps the colour it replaces.

#include <array>
#include <string>
#include <string_view>

#include "platform/Rgb16.h"
#include "view/ViewColours.h"

namespace wendra {

enum class ColourRole { Gps, Trk, Sel, Nav, Draw, Back };

class ColourSet {
public:
    static constexpr int kRoles = 6;
    static constexpr int kRecords = 2 * kRoles;  // day then night for each role

    ColourSet();

    platform::ColorRef day(ColourRole role) const { return day_[index(role)]; }
    platform::ColorRef night(ColourRole role) const { return night_[index(role)]; }
    void setDay(ColourRole role, platform::ColorRef colour) { day_[index(role)] = colour; }
    void setNight(ColourRole role, platform::ColorRef colour) { night_[index(role)] = colour; }

    // The colours a frame paints with; night also turns the grid pen dark.
    ViewColours active(bool nightColours) const;

    // "GPS_COLOR" ... "BACK_COLOR_NT"; empty outside 0..11.
    static std::string_view recordKey(int record);
    // "RIRUvo|GPS_COLOR|%06x|\n" and the others, in file order (record 0..11).
    std::string colourRecord(int record) const;
    void writeColours(std::string& out) const;
    // The record number a "RIRUvo|..._COLOR" line stands for, having taken its value;
    // -1 for any other line.
    int readColourRecord(std::string_view line);

private:
    static std::size_t index(ColourRole role) { return static_cast<std::size_t>(role); }
    platform::ColorRef& slot(int record);
    platform::ColorRef slot(int record) const;

    std::array<platform::ColorRef, kRoles> day_{};
    std::array<platform::ColorRef, kRoles> night_{};
};

}  // namespace wendra
