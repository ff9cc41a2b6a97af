#pragma once
// "Correct a map": shifts and stretches one map or a group by steps in the user's small
// distance unit, the three sums kept rounded to 0.001 of it; "Apply" hands them in km
// to correctMaps. The selection's maps must outlive the dialog.

#include <functional>
#include <span>
#include <string>

#include "maps/CalibratedMap.h"
#include "maps/MapCorrection.h"
#include "platform/DialogProcedure.h"
#include "platform/DialogTemplate.h"

namespace wendra {

namespace CorrectMapControl {
inline constexpr int kSummary = 1801;
inline constexpr int kStep = 1802;
inline constexpr int kUnit = 1803;
inline constexpr int kWider = 1804;
inline constexpr int kNarrower = 1805;
inline constexpr int kNorth = 1806;
inline constexpr int kSouth = 1807;
inline constexpr int kEast = 1808;
inline constexpr int kWest = 1809;
inline constexpr int kApply = 1810;
inline constexpr int kApplyAndTest = 1811;
}  // namespace CorrectMapControl

struct SmallDistanceUnit {
    std::u16string name;
    double perKm = 1000.0;
};

// "m" for the metric and aeronautical systems, "ft" for miles, "mn" at sea.
SmallDistanceUnit smallDistanceUnit(int unitSystem);

struct MapCorrectionValues {
    double widthChange = 0;  // in the small unit
    double northShift = 0;
    double eastShift = 0;
};

class CorrectMapDialog final : public platform::DialogProcedure {
public:
    static constexpr int kTemplateId = 180;

    // `name`: the map's title or the group's name. `applied` runs after the maps
    // were corrected, with true for "Apply and test" (mark the maps file for saving,
    // show the map).
    CorrectMapDialog(std::span<maps::CalibratedMap* const> selection, std::u16string name,
                     int unitSystem, std::function<void(bool test)> applied);

    static platform::DialogTemplate dialogTemplate(std::u16string_view unitName);

    void init(platform::DialogControls& dialog) override;
    void command(platform::DialogControls& dialog, int id) override;

    const MapCorrectionValues& values() const { return values_; }
    const SmallDistanceUnit& unit() const { return unit_; }

private:
    void change(platform::DialogControls& dialog, double& value, double sign);
    void apply(platform::DialogControls& dialog, bool test);
    std::u16string summary() const;

    std::span<maps::CalibratedMap* const> selection_;
    std::u16string name_;
    int unitSystem_;
    SmallDistanceUnit unit_;
    std::function<void(bool)> applied_;
    maps::MapExtent extent_;
    MapCorrectionValues values_;
};

// Runs the dialog for the selection; true when the maps were corrected.
bool runCorrectMap(std::span<maps::CalibratedMap* const> selection, std::u16string name,
                   int unitSystem, std::function<void(bool test)> applied);

}  // namespace wendra
