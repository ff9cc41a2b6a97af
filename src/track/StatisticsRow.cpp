// The fixed labels of the statistics table, as the screen, the dashboards and the
// exports write them (spelling included), and which rows an export writes.

#include "track/StatisticsRow.h"

#include <array>

namespace wendra {

namespace {

constexpr int kRowCount = 90;

constexpr std::array<std::u16string_view, kRowCount> kLabels = {
    // 0: the range's ends and times
    u"First point", u"-at:", u"-Altitude:", u"Last point", u"-at:", u"-Altitude:", u"Time",
    u"-Accumulated:", u"-Total:", u"-Moving:", u"-Stationary:", u"Lenght:",
    // 12: speeds
    u"Speed", u"-Current:", u"-Average:", u"-Avr. moving:", u"-Average total:", u"-Maxi:", u"--at:",
    u"-Climb speed:", u"-Glide ratio:", u"-Slope:", u"-Rhythm:",
    // 23: altitudes and climbs
    u"Altitude", u"-Current:", u"-Maxi:", u"--at:", u"-Mini:", u"--at:", u"Uneven", u"-Total:",
    u"-Amplitude:", u"-Positive:", u"--Distance:", u"--Time:", u"--Average speed:", u"--Slope:",
    u"-Negative:", u"--Distance:", u"--Time:", u"--Average speed:", u"--Slope:",
    // 42: receiver and track
    u"Signal", u"-Current:", u"-Average:", u"Trace", u"-Nb points:", u"-Nb segments:", u"Position:",
    u"-Latitude:", u"-Longitude:", u"Course:", u"-Current:", u"-Stabilized:",
    // 54: navigation
    u"Navigation", u"-Current point", u"--Course:", u"--Objective:", u"--Distance:", u"--Speed:",
    u"--Time:", u"--Arriving at:", u"--Cross track error:", u"-Next point", u"--Course:",
    u"--Relative course:", u"--Distance:", u"--Speed:", u"--Time:", u"--Arriving at:",
    u"-Last point", u"--Course:", u"--Relative course:", u"--Distance:", u"--Speed:", u"--Time:",
    u"--Arriving at:",
    // 77: resources
    u"Memory", u"-Free:", u"-Maps", u"--Allocated:", u"--Defined:", u"-Points:", u"Internet",
    u"-Session", u"--Nb of tuiles:", u"--Downloaded size:", u"-Cache", u"--Nb of tuiles:",
    u"--Size:"};

// Exports leave out the live values and the rows of other subsystems.
constexpr bool exportedRow(int row) {
    return (row <= 12) || (row >= 14 && row <= 18) || row == 22 || row == 23 ||
           (row >= 25 && row <= 42) || (row >= 44 && row <= 47);
}

}  // namespace

int StatisticsRow::depth() const {
    int dashes = 0;
    while (dashes < static_cast<int>(label.size()) &&
           label[static_cast<std::size_t>(dashes)] == u'-')
        ++dashes;
    return dashes;
}

std::u16string_view StatisticsRow::caption() const {
    return label.substr(static_cast<std::size_t>(depth()));
}

std::u16string_view statisticsLabel(int row) {
    if (row < 0 || row >= kRowCount) return {};
    return kLabels[static_cast<std::size_t>(row)];
}

bool statisticsRowExported(int row) {
    return row >= 0 && row < kRowCount && exportedRow(row);
}

}  // namespace wendra
