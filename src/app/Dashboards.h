#pragma once
// The statistics row shown in each cell of the five dashboards (the Dash3 records):
// 8, 8, 7, 5 and 4 cells, each a row number or -1 for an empty cell. Row numbers are
// kept as stored; the dashboard checks them when it paints.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace wendra {

class Dashboards {
public:
    static constexpr int kCount = 5;
    static constexpr int kMaxCells = 8;
    static constexpr std::array<int, kCount> kCells = {8, 8, 7, 5, 4};
    static constexpr int32_t kEmpty = -1;
    static constexpr std::string_view kKind = "Dash3";

    Dashboards() { resetToDefaults(); }

    void resetToDefaults();
    // kEmpty outside the dashboard's cells.
    int32_t cell(int dashboard, int index) const;
    void setCell(int dashboard, int index, int32_t row);
    static int cellCount(int dashboard);

    // The type string of a dashboard's record: its number, then one per cell.
    static std::string_view types(int dashboard);
    // The fields after "Dash3|"; false, and nothing changed, for a dashboard outside
    // 0..4. On success `dashboard` is the one read.
    bool read(std::string_view fields, int& dashboard);
    std::string record(int dashboard) const;

    bool operator==(const Dashboards&) const = default;

private:
    std::array<std::array<int32_t, kMaxCells>, kCount> cells_{};
};

}  // namespace wendra
