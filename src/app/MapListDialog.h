#pragma once
// "List of maps": the catalogue's groups and their maps in a tree, each line with its
// status, kept current by a 200 ms timer, and the commands that change the list.
// Every change runs with drawing paused and marks the maps file for saving. Removed
// maps stay in the catalogue while the dialog is open; the catalogue outlives it.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "maps/MapCatalogue.h"
#include "platform/DialogProcedure.h"
#include "platform/DialogTemplate.h"
#include "records/GeoPosition.h"

namespace wendra {

namespace MapListControl {
inline constexpr int kTree = 1901;
inline constexpr int kLoad = 1902;
inline constexpr int kDelete = 1903;
inline constexpr int kImport = 1904;
inline constexpr int kNew = 1905;
inline constexpr int kModify = 1906;
inline constexpr int kCorrect = 1907;
inline constexpr int kBack = 1908;
}  // namespace MapListControl

// What the list needs from the program around it. Unset functions are not offered.
struct MapListContext {
    int coordinateFormat = 0;
    int unitSystem = 0;
    // The "BmpPath" folder, which the import and the setup's "Import" move; must
    // outlive the dialog.
    std::u16string* bmpPath = nullptr;
    // The zone last given for UTM values; must outlive the dialog.
    int* lastZone = nullptr;
    std::function<std::optional<GeoPosition>()> currentFix;
    using Chooser = std::function<std::optional<std::u16string>(std::u16string_view start)>;
    Chooser chooseFolder, chooseImage, chooseCalibration;
    // "Save and test" and "Apply and test": show this map in the view. The list then
    // closes so that the map can be seen.
    std::function<void(const maps::MapDefinition&)> showMap;
};

// The texts the tree shows after a map's or a group's name.
std::u16string mapStatusText(const maps::MapEntry& map);
std::u16string groupIconText(int icon);

class MapListDialog final : public platform::DialogProcedure {
public:
    static constexpr int kTemplateId = 190;
    static constexpr int kRefreshTimer = 1;
    static constexpr int kRefreshMs = 200;
    // The dialog's result when it closed to show a map.
    static constexpr int kShowMap = 100;

    MapListDialog(maps::MapCatalogue& catalogue, MapListContext context);

    static platform::DialogTemplate dialogTemplate();

    void init(platform::DialogControls& dialog) override;
    void command(platform::DialogControls& dialog, int id) override;
    void notify(platform::DialogControls& dialog, int id,
                const platform::Notification& what) override;
    void timer(platform::DialogControls& dialog, int timerId) override;

private:
    // What a tree item stands for: a map, or a group when `map` is empty.
    struct Row {
        int group = -1;
        maps::MapPtr map;
    };

    std::vector<std::u16string> lines() const;
    void rebuild(platform::DialogControls& dialog);
    void refresh(platform::DialogControls& dialog);
    void updateButtons(platform::DialogControls& dialog);
    const Row* selected(const platform::DialogControls& dialog) const;
    // Runs a change of the list with drawing paused, then regroups and marks the file.
    void change(const std::function<void()>& edit);

    void toggleLoad(const Row& row);
    void remove(const Row& row);
    void importFolder();
    void setup(const Row* row);
    void correct(const Row& row);

    maps::MapCatalogue& catalogue_;
    MapListContext context_;
    std::map<platform::TreeItem, Row> rows_;
    std::vector<std::u16string> shown_;  // the lines as last put in the tree
    std::optional<maps::MapDefinition> toShow_;
};

// Runs the dialog with the catalogue told that the list is open.
int runMapList(maps::MapCatalogue& catalogue, MapListContext context);

}  // namespace wendra
