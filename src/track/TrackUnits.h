#pragma once
// Units and markers of the track: positions in half-turn units (degrees / 180),
// lengths in km or m. Thresholds use the double constant; conversions of stored
// lengths use the single-precision ones, as the stored files were computed with them.

#include "records/NoValue.h"

namespace wendra {

// Half the equatorial circumference: the length of one half-turn unit of arc.
constexpr double kHalfTurnKm = 20037.508342789242;
constexpr float kHalfTurnKmSingle = 20037.5078f;
constexpr float kHalfTurnMetresSingle = 20037508.0f;
constexpr double kPi = 3.14159265358979323846;

constexpr double kSecondsPerDay = 86400.0;
constexpr double kMinutesPerDay = 1440.0;

}  // namespace wendra
