#pragma once
// The bits of the parser's state word. The word is saved whole in the NMEA2 record,
// so the values are a file format; the transient bits are never meaningful on load.

#include <cstdint>

namespace wendra {

struct ParserFlags {
    static constexpr int32_t kFixValid = 0x001;         // last GGA/RMC had a usable position
    static constexpr int32_t kSkyComplete = 0x002;      // last GSV group arrived whole
    static constexpr int32_t kGeoidCorrection = 0x004;  // user setting "Corr. geoide"
    static constexpr int32_t kAutoCorrection = 0x008;   // user setting "Upd auto"
    static constexpr int32_t kNewFix = 0x010;           // cleared by whoever takes the fix
    static constexpr int32_t kSetClock = 0x020;         // user setting "Update time"
    static constexpr int32_t kClockTimeSet = 0x040;
    static constexpr int32_t kChanged = 0x080;  // some value changed in this call
    static constexpr int32_t kGap = 0x100;      // over a minute since the last call
    static constexpr int32_t kClockDateSet = 0x200;
    // User setting "All satellite systems": the GN, GL, GA, GB and GQ talkers are
    // decoded like GP (receivers that never send their positions as $GP).
    static constexpr int32_t kAllSystems = 0x400;

    static constexpr int32_t kTransient =
        kFixValid | kSkyComplete | kNewFix | kClockTimeSet | kGap | kClockDateSet;
    static constexpr int32_t kInitial = kGeoidCorrection | kAutoCorrection;
    // Every bit the program knows. A stored word with any other bit is damage.
    static constexpr int32_t kKnown = 0x7FF;
    // The user's settings among them, which the dialog edits and the parser may change.
    static constexpr int32_t kSettings =
        kGeoidCorrection | kAutoCorrection | kSetClock | kAllSystems;
};

static_assert(ParserFlags::kTransient == 0x353);

}  // namespace wendra
