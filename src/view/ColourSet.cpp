#include "view/ColourSet.h"

#include <cctype>

#include "records/RecordSplitter.h"
#include "records/RecordWriter.h"

namespace wendra {

namespace {

using platform::ColorRef;
using platform::rgb;

constexpr std::string_view kPrefix = "RIRUvo";

// Record order of the file: the roles in this order, each day then night.
constexpr std::array<ColourRole, ColourSet::kRoles> kFileOrder = {
    ColourRole::Gps, ColourRole::Trk,  ColourRole::Sel,
    ColourRole::Nav, ColourRole::Draw, ColourRole::Back};
constexpr std::array<std::string_view, ColourSet::kRecords> kKeys = {
    "GPS_COLOR", "GPS_COLOR_NT", "TRK_COLOR",  "TRK_COLOR_NT",  "SEL_COLOR",  "SEL_COLOR_NT",
    "NAV_COLOR", "NAV_COLOR_NT", "DRAW_COLOR", "DRAW_COLOR_NT", "BACK_COLOR", "BACK_COLOR_NT"};

constexpr ColorRef kColourMask = 0x00FFFFFFu;

// 0x00BBGGRR to the file's RRGGBB and back: the same byte swap.
ColorRef swapped(ColorRef colour) {
    return ((colour & 0xFFu) << 16) | (colour & 0xFF00u) | ((colour >> 16) & 0xFFu);
}

bool startsWithHexDigit(std::string_view fields) {
    return !fields.empty() && std::isxdigit(static_cast<unsigned char>(fields.front()));
}

}  // namespace

ColourSet::ColourSet()
    : day_{rgb(0xff, 0x00, 0x00), rgb(0x00, 0xff, 0x00), rgb(0x00, 0xa0, 0x00),
           rgb(0x00, 0x00, 0xa0), rgb(0x00, 0x00, 0x00), rgb(0xff, 0xff, 0xff)},
      night_{rgb(0xff, 0x70, 0x70), rgb(0x00, 0xa0, 0x00), rgb(0x50, 0xff, 0x50),
             rgb(0x50, 0x50, 0xff), rgb(0xd0, 0xd0, 0xd0), rgb(0x00, 0x00, 0x00)} {}

ViewColours ColourSet::active(bool nightColours) const {
    const auto& set = nightColours ? night_ : day_;
    ViewColours colours;
    colours.gps = set[index(ColourRole::Gps)];
    colours.trk = set[index(ColourRole::Trk)];
    colours.sel = set[index(ColourRole::Sel)];
    colours.nav = set[index(ColourRole::Nav)];
    colours.draw = set[index(ColourRole::Draw)];
    colours.back = set[index(ColourRole::Back)];
    colours.grid = nightColours ? kGridNightColour : kGridDayColour;
    return colours;
}

ColorRef& ColourSet::slot(int record) {
    const std::size_t role = index(kFileOrder[static_cast<std::size_t>(record / 2)]);
    return record % 2 == 0 ? day_[role] : night_[role];
}

ColorRef ColourSet::slot(int record) const {
    return const_cast<ColourSet*>(this)->slot(record);
}

std::string_view ColourSet::recordKey(int record) {
    if (record < 0 || record >= kRecords) return {};
    return kKeys[static_cast<std::size_t>(record)];
}

std::string ColourSet::colourRecord(int record) const {
    if (record < 0 || record >= kRecords) return {};
    return formatRecord("RIRUvo|%s|%06x|\n", kKeys[static_cast<std::size_t>(record)].data(),
                        static_cast<unsigned>(swapped(slot(record) & kColourMask)));
}

void ColourSet::writeColours(std::string& out) const {
    for (int record = 0; record < kRecords; ++record) out += colourRecord(record);
}

int ColourSet::readColourRecord(std::string_view line) {
    std::string_view sub;
    if (!hasRecordPrefix(line, kPrefix, &sub)) return -1;
    for (int record = 0; record < kRecords; ++record) {
        std::string_view fields;
        if (!hasRecordPrefix(sub, kKeys[static_cast<std::size_t>(record)], &fields)) continue;
        std::int32_t value = 0;
        if (startsWithHexDigit(fields) && splitRecord(fields, "C", {&value}) == 0)
            slot(record) = static_cast<ColorRef>(value) & kColourMask;
        return record;
    }
    return -1;
}

}  // namespace wendra
