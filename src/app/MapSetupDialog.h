#pragma once
// The "Map" setup dialog: name, image file and four corners, one at a time in the
// user's coordinate format, typed or imported from a ".map" file. OK and "Save and
// test" refuse an unset or unreadable corner and an empty file name.

#include <functional>
#include <optional>
#include <string>

#include "app/MapCornerFields.h"
#include "maps/CalibratedMap.h"
#include "platform/DialogProcedure.h"
#include "platform/DialogTemplate.h"

namespace wendra {

namespace MapSetupControl {
inline constexpr int kName = 1751;
inline constexpr int kFile = 1752;
inline constexpr int kBrowse = 1753;
inline constexpr int kUpLeft = 1754;  // the four corners in corner order
inline constexpr int kUpRight = 1755;
inline constexpr int kDownLeft = 1756;
inline constexpr int kDownRight = 1757;
inline constexpr int kLatitude = 1758;  // easting in UTM, east in the Swiss grid
inline constexpr int kLongitude = 1759;
inline constexpr int kZoneLabel = 1760;
inline constexpr int kZone = 1761;
inline constexpr int kImport = 1762;
inline constexpr int kSaveAndTest = 1763;
}  // namespace MapSetupControl

// What the catalogue does with an accepted map.
class MapSetupTarget {
public:
    virtual ~MapSetupTarget() = default;
    // Creates the map when new, or gives the edited one this definition (active flag
    // set), then regroups and saves the list. False when the map did not take it (the
    // target told the user why): the dialog stays open.
    virtual bool store(const maps::MapDefinition& definition) = 0;
    // After "Save and test", once the dialog is closed: centre the view on the stored
    // map and fill the view's width with it.
    virtual void test(const maps::MapDefinition& definition) = 0;
};

struct MapSetupContext {
    int coordinateFormat = 0;
    // The "BmpPath" folder: "Import" opens its chooser there and stores the folder
    // of the file imported. Must outlive the dialog.
    std::u16string* bmpPath = nullptr;
    // Choosers, given the folder to open at: an image file, a ".map" file.
    std::function<std::optional<std::u16string>(std::u16string_view start)> chooseImage;
    std::function<std::optional<std::u16string>(std::u16string_view start)> chooseCalibration;
    // The signed UTM zone for a ".map" file in UTM values ("Select a zone").
    std::function<std::optional<int>()> askZone;
};

class MapSetupDialog final : public platform::DialogProcedure {
public:
    static constexpr int kTemplateId = 175;

    // `texts` are the corners as shown (cornerTexts of `definition`).
    MapSetupDialog(const maps::MapDefinition& definition, const MapCornerTexts& texts,
                   MapSetupContext context, MapSetupTarget& target);

    static platform::DialogTemplate dialogTemplate(int coordinateFormat);

    void init(platform::DialogControls& dialog) override;
    void command(platform::DialogControls& dialog, int id) override;

    // The definition stored, when the dialog closed on OK or "Save and test".
    const std::optional<maps::MapDefinition>& stored() const { return stored_; }

private:
    void showCorner(platform::DialogControls& dialog, int corner);
    void keepCorner(const platform::DialogControls& dialog);
    void browse(platform::DialogControls& dialog);
    void import(platform::DialogControls& dialog);
    void accept(platform::DialogControls& dialog, int closeWith);
    std::optional<maps::MapDefinition> readDefinition(platform::DialogControls& dialog);

    maps::MapDefinition original_;
    MapCornerTexts shown_;  // as first shown: their exact values are original_'s
    MapCornerTexts texts_;
    MapSetupContext context_;
    MapSetupTarget& target_;
    int corner_ = 0;
    std::optional<maps::MapDefinition> stored_;
};

// Opens the dialog for a map (or a new one when `definition` is nothing) and runs
// "Save and test"'s test once it is closed. A map whose corners cannot be shown in
// the format is refused with "Unable to display the coordinates in the selected
// format." before the dialog opens. True when a definition was stored.
bool runMapSetup(const std::optional<maps::MapDefinition>& definition, MapSetupContext context,
                 MapSetupTarget& target);

}  // namespace wendra
