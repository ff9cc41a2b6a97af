#pragma once
// What the "Display" button of the statistics screen does for the selected row: the
// rows of a found extreme centre the map view on it (the screen then closes), any
// other row is refused. A pure decision; the caller acts on it and keeps hintShown.

#include <string_view>

#include "track/StatisticsResults.h"

namespace wendra {

struct StatisticsDisplay {
    static constexpr std::u16string_view kHint =
        u"Click on screen to go back\n to the screen of statistic";
    static constexpr std::u16string_view kRefusalText = u"No selection!";
    static constexpr std::u16string_view kRefusalTitle = u"Error!";

    bool centre = false;  // false: show kRefusalText titled kRefusalTitle
    double lon = 0.0;     // half-turn units
    double lat = 0.0;
    bool showHint = false;  // the transient kHint, once in a run

    // hintShown: whether the hint was already shown in this run.
    static StatisticsDisplay decide(int selectedRow, const StatisticsResults& results,
                                    bool hintShown);
};

}  // namespace wendra
