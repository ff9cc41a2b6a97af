#pragma once
// The formatters of shown values: internal metric values in, text in the user's unit
// system out. Each append* adds to the caller's text; its format* twin clears first.
// Values at the no-value marker, non-finite values and unknown unit systems add nothing.

#include <cstdint>
#include <string>
#include <string_view>

#include "records/NoValue.h"

namespace wendra {

// A float at or above kNoValue (or a distance equal to it) means "not set".

constexpr int kUnitSystemCount = 4;
// Unit systems as the settings list names them, by index.
inline constexpr std::u16string_view kUnitSystemNames[kUnitSystemCount] = {
    u"Metric", u"Anglo-Saxon", u"Marine", u"Aeronautical"};

constexpr int kCoordinateFormatCount = 5;
// Coordinate formats as the settings list names them, by index.
inline constexpr std::u16string_view kCoordinateFormatNames[kCoordinateFormatCount] = {
    u"DD.DDDDDD", u"DD\u00B0MM.MMMM", u"DD\u00B0MM'SS.SS", u"UTM", u"Swiss grid"};

// Duration modes.
constexpr int kDurationElapsed = 0;   // a length of time
constexpr int kClockTimeWithDay = 1;  // time of day of a Day number, with " j+N" offset
constexpr int kClockTimeOnly = -1;    // time of day of a Day number alone

void appendSpeed(std::u16string& out, float kmh, int unitSystem, bool forceOneDecimal = false);
void formatSpeed(std::u16string& out, float kmh, int unitSystem, bool forceOneDecimal = false);

// Time per distance unit at this speed, e.g. 5'12s/km; nothing for a speed of 0.
void appendPace(std::u16string& out, float kmh, int unitSystem);
void formatPace(std::u16string& out, float kmh, int unitSystem);

// unitChoice: 0 picks the unit by magnitude, 1 forces the small unit (m, ft), -1 the
// large one (mi, mn); metric always picks by magnitude.
void appendDistance(std::u16string& out, float km, int unitSystem, int unitChoice = 0);
void formatDistance(std::u16string& out, float km, int unitSystem, int unitChoice = 0);

void appendAltitude(std::u16string& out, float metres, int unitSystem);
void formatAltitude(std::u16string& out, float metres, int unitSystem);

void appendClimbSpeed(std::u16string& out, float metresPerMinute, int unitSystem);
void formatClimbSpeed(std::u16string& out, float metresPerMinute, int unitSystem);

void appendNumber(std::u16string& out, float value, bool forceOneDecimal = false);
void formatNumber(std::u16string& out, float value, bool forceOneDecimal = false);

void appendPercentage(std::u16string& out, float percent, bool forceOneDecimal = false);
void formatPercentage(std::u16string& out, float percent, bool forceOneDecimal = false);

void appendSignalLevel(std::u16string& out, float decibels);
void formatSignalLevel(std::u16string& out, float decibels);

// "12 b", "1.23 Mb", "123 Kb": at most four characters of number.
void appendByteSize(std::u16string& out, int64_t bytes);
void formatByteSize(std::u16string& out, int64_t bytes);

// A duration (mode 0) or the clock time of a Day number (modes 1 and -1; 0 means no
// time and adds nothing). Mode 1 compares the day with the current Day number.
void appendDuration(std::u16string& out, double days, int mode, bool shortForm = false);
void formatDuration(std::u16string& out, double days, int mode, bool shortForm = false);

}  // namespace wendra
