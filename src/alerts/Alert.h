#pragma once
// One entry of the alert list: a threshold on altitude, uneven ground, speed or climb
// speed, or a named proximity radius that points refer to. Values are in internal units
// (km, km/h, m/min); the run-time references start unset each run and are never stored.

#include <cstdint>
#include <string>

#include "records/NoValue.h"

namespace wendra {

struct Alert {
    // The kind lives in the top four bits of the flags.
    static constexpr uint32_t kKindMask = 0xF0000000u;
    static constexpr uint32_t kProximity = 0x00000000u;
    static constexpr uint32_t kAltitude = 0x10000000u;
    static constexpr uint32_t kUneven = 0x20000000u;
    static constexpr uint32_t kSpeed = 0x30000000u;
    static constexpr uint32_t kClimbSpeed = 0x40000000u;

    static constexpr uint32_t kOnlyOnTheWay = 0x01;  // proximity
    static constexpr uint32_t kAbove = 0x04;         // also "While going up"
    static constexpr uint32_t kBelow = 0x08;         // also "While going down"
    static constexpr uint32_t kRepeatSound = 0x10;
    static constexpr uint32_t kDisabled = 0x20;

    static constexpr float kNotSet = static_cast<float>(kNoValue);

    std::u16string name;
    std::u16string sound = u"Son 1";  // a .wav in the program folder; empty is silent
    float value = 0.2f;               // km, km/h or m/min by kind
    uint32_t flags = kProximity;
    float reference1 = kNotSet;
    float reference2 = kNotSet;
    double nextAllowed = 0.0;  // days
    float effectiveRadius = 0.0f;
    // Fields that a later version wrote after ours, written back unchanged.
    std::string laterFields;

    uint32_t kind() const { return flags & kKindMask; }
    // Proximity, altitude and uneven values are kept in km and stored in metres.
    bool storedInMetres() const {
        return kind() == kProximity || kind() == kAltitude || kind() == kUneven;
    }
};

}  // namespace wendra
