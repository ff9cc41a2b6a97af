#include "track/StatisticsDisplay.h"

#include "track/StatisticsRow.h"

namespace wendra {

namespace {

const StatisticsExtreme* extremeOfRow(int row, const StatisticsResults& results) {
    switch (row) {
        case kRowMaxSpeed:
            return &results.maxSpeed;
        case kRowMaxAltitude:
            return &results.maxAltitude;
        case kRowMinAltitude:
            return &results.minAltitude;
        default:
            return nullptr;
    }
}

}  // namespace

StatisticsDisplay StatisticsDisplay::decide(int selectedRow, const StatisticsResults& results,
                                            bool hintShown) {
    StatisticsDisplay display;
    const StatisticsExtreme* extreme = extremeOfRow(selectedRow, results);
    if (!extreme || !extreme->found()) return display;
    display.centre = true;
    display.lon = extreme->lon;
    display.lat = extreme->lat;
    display.showHint = !hintShown;
    return display;
}

}  // namespace wendra
