#pragma once
// One row of the statistics table: a fixed label whose leading dashes give its depth
// in the screen's tree (a label without dashes is a heading with no value), its value
// text, the screen's expanded flag and whether exports write it.

#include <string>
#include <string_view>

namespace wendra {

// Rows that code refers to by number (dashboards and exports use the numbers too).
enum StatisticsRowIndex : int {
    kRowFirstAt = 1,
    kRowFirstAltitude = 2,
    kRowLastAt = 4,
    kRowLastAltitude = 5,
    kRowAccumulatedTime = 7,
    kRowTotalTime = 8,
    kRowMovingTime = 9,
    kRowStationary = 10,
    kRowLength = 11,
    kRowCurrentSpeed = 13,
    kRowAverageSpeed = 14,
    kRowAverageMovingSpeed = 15,
    kRowAverageTotalSpeed = 16,
    kRowMaxSpeed = 17,
    kRowMaxSpeedAt = 18,
    kRowClimbSpeed = 19,
    kRowGlideRatio = 20,
    kRowSlope = 21,
    kRowRhythm = 22,
    kRowCurrentAltitude = 24,
    kRowMaxAltitude = 25,
    kRowMaxAltitudeAt = 26,
    kRowMinAltitude = 27,
    kRowMinAltitudeAt = 28,
    kRowAltitudeDelta = 30,
    kRowAmplitude = 31,
    kRowPositive = 32,  // then its distance, time, average speed and slope
    kRowNegative = 37,  // likewise
    kRowCurrentSignal = 43,
    kRowAverageSignal = 44,
    kRowPointCount = 46,
    kRowSegmentCount = 47,
    kRowLatitude = 49,
    kRowLongitude = 50,
    kRowCurrentCourse = 52,
    kRowStabilizedCourse = 53,
    kRowNavigation = 54,
    kRowFreeMemory = 78,
    kRowMapsAllocated = 80,  // the map catalogue's
    kRowMapsDefined = 81,
    kRowPoints = 82,        // the point store's
    kRowSessionTiles = 85,  // the internet maps'
    kRowSessionBytes = 86,
    kRowCacheTiles = 88,
    kRowCacheBytes = 89,
};

struct StatisticsRow {
    std::u16string_view label;
    std::u16string value;
    bool expanded = true;
    bool exported = false;

    // 0 for a heading, 1 or 2 below it.
    int depth() const;
    // The label without its leading dashes, as the screen shows it.
    std::u16string_view caption() const;
};

// The fixed label and export flag of a row 0..89; an empty label outside that range.
std::u16string_view statisticsLabel(int row);
bool statisticsRowExported(int row);

}  // namespace wendra
