#include "app/Dashboards.h"

#include "records/RecordSplitter.h"
#include "records/RecordWriter.h"

namespace wendra {

namespace {

using Cells = std::array<int32_t, Dashboards::kMaxCells>;

// Rows: 7 altitude, 9, 11, 13 speed, 14 average speed, 17, 24, 25, 27, 34, 35, 39,
// 40, and the navigation rows 52, 57, 58, 60.
constexpr std::array<Cells, Dashboards::kCount> kDefaults = {{
    {13, 14, 17, 24, 27, 25, 11, 7},
    {13, 35, 40, 7, 34, 39, 11, 14},
    {13, 14, 17, 7, 9, 24, 11, -1},
    {52, 57, 58, 60, 13, -1, -1, -1},
    {13, 7, 58, 60, -1, -1, -1, -1},
}};

bool valid(int dashboard) {
    return dashboard >= 0 && dashboard < Dashboards::kCount;
}

}  // namespace

void Dashboards::resetToDefaults() {
    cells_ = kDefaults;
}

int Dashboards::cellCount(int dashboard) {
    return valid(dashboard) ? kCells[static_cast<size_t>(dashboard)] : 0;
}

int32_t Dashboards::cell(int dashboard, int index) const {
    if (index < 0 || index >= cellCount(dashboard)) return kEmpty;
    return cells_[static_cast<size_t>(dashboard)][static_cast<size_t>(index)];
}

void Dashboards::setCell(int dashboard, int index, int32_t row) {
    if (index < 0 || index >= cellCount(dashboard)) return;
    cells_[static_cast<size_t>(dashboard)][static_cast<size_t>(index)] = row;
}

std::string_view Dashboards::types(int dashboard) {
    static constexpr std::string_view kAll = "ddddddddd";
    return kAll.substr(0, 1 + static_cast<size_t>(cellCount(dashboard)));
}

bool Dashboards::read(std::string_view fields, int& dashboard) {
    int32_t number = -1;
    splitRecord(fields, "d", {&number});
    if (!valid(number)) return false;
    dashboard = number;
    Cells read{};
    read.fill(kEmpty);
    auto& c = read;
    // Only the dashboard's own cells are read; the letters beyond its count are absent
    // from the type string, so those outputs stay empty.
    splitRecord(fields, types(dashboard),
                {std::monostate{}, &c[0], &c[1], &c[2], &c[3], &c[4], &c[5], &c[6], &c[7]});
    cells_[static_cast<size_t>(dashboard)] = read;
    return true;
}

std::string Dashboards::record(int dashboard) const {
    if (!valid(dashboard)) return {};
    std::string line = formatRecord("Dash3|%d|", dashboard);
    for (int i = 0; i < cellCount(dashboard); ++i) appendFormat(line, "%d|", cell(dashboard, i));
    line += '\n';
    return line;
}

}  // namespace wendra
