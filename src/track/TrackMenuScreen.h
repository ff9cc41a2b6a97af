#pragma once
// The "Track" menu as a screen: a column of command buttons over TrackMenu, and the
// "Load a track" dialog it opens. The menu closes on the command pressed, which then
// runs, so that the file chooser and the questions never open over the menu.
// Commands whose screens this build does not have are shown disabled.

#include "platform/DialogProcedure.h"
#include "platform/DialogTemplate.h"
#include "track/TrackMenu.h"

namespace wendra {

namespace TrackMenuButton {
inline constexpr int kLoad = 1401;
inline constexpr int kTakePrevious = 1402;
inline constexpr int kSave = 1403;
inline constexpr int kSaveAndDelete = 1404;
inline constexpr int kDelete = 1405;
inline constexpr int kChangeColour = 1406;
inline constexpr int kImport = 1407;
inline constexpr int kExport = 1408;
inline constexpr int kBack = 1409;
}  // namespace TrackMenuButton

class TrackMenuScreen final : public platform::DialogProcedure {
public:
    static constexpr int kTemplateId = 140;

    static platform::DialogTemplate dialogTemplate();

    void init(platform::DialogControls& dialog) override;
    void command(platform::DialogControls& dialog, int id) override;
};

// The "Load a track" dialog: "In the layer:", "Force color", "Replace track of layer".
// OK leaves the choices in the LoadTrackDialog it was opened with.
class LoadTrackScreen final : public platform::DialogProcedure {
public:
    static constexpr int kTemplateId = 141;
    static constexpr int kLayer = 1411;
    static constexpr int kForceColour = 1412;
    static constexpr int kReplace = 1413;

    explicit LoadTrackScreen(LoadTrackDialog& values) : values_(values) {}

    static platform::DialogTemplate dialogTemplate();

    void init(platform::DialogControls& dialog) override;
    void command(platform::DialogControls& dialog, int id) override;

private:
    LoadTrackDialog& values_;
};

// Opens the track menu and runs the command chosen; false when nothing was done.
bool runTrackMenu(TrackMenu& menu);

}  // namespace wendra
