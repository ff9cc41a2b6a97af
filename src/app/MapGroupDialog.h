#pragma once
// "Maps group": one button per choice of the maps shown ("None", "All (except
// Internet)", then each non-empty group, at most 20). A click activates that choice
// with drawing paused and closes the dialog; the catalogue must outlive it.

#include <functional>
#include <vector>

#include "maps/MapCatalogue.h"
#include "platform/DialogProcedure.h"
#include "platform/DialogTemplate.h"

namespace wendra {

namespace MapGroupControl {
inline constexpr int kNone = 1851;
inline constexpr int kAll = 1852;
inline constexpr int kFirstGroup = 1860;  // plus the group's index in the catalogue
}  // namespace MapGroupControl

class MapGroupDialog final : public platform::DialogProcedure {
public:
    static constexpr int kTemplateId = 185;
    static constexpr int kMaxGroupButtons = 20;

    // `chosen` runs after a selection (mark the configuration and the maps for saving).
    MapGroupDialog(maps::MapCatalogue& catalogue, std::function<void()> chosen)
        : catalogue_(catalogue), chosen_(std::move(chosen)) {}

    // The group buttons follow the catalogue's groups as regroup last left them.
    static platform::DialogTemplate dialogTemplate(const std::vector<maps::MapGroup>& groups);

    void init(platform::DialogControls& /*dialog*/) override {}
    void command(platform::DialogControls& dialog, int id) override;

private:
    maps::MapCatalogue& catalogue_;
    std::function<void()> chosen_;
};

// Regroups, then runs the dialog; true when a selection was made.
bool runMapGroupDialog(maps::MapCatalogue& catalogue, std::function<void()> chosen);

}  // namespace wendra
