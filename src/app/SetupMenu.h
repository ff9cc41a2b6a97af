#pragma once
// The "Setup" screen behind "Advanced Setup": a column of buttons, each opening one
// settings dialog, "Back" closing it. Dialogs this build does not have are disabled.
// The dialog ends with the id of the button pressed; the shell opens that dialog.

#include "app/ButtonMenu.h"

namespace wendra {

namespace SetupMenuButton {
inline constexpr int kGps = 1321;
inline constexpr int kTrack = 1322;
inline constexpr int kAlerts = 1323;
inline constexpr int kBack = 1324;
inline constexpr int kInternetMaps = 1325;
}  // namespace SetupMenuButton

class SetupMenu final : public ButtonMenu {
public:
    static constexpr int kTemplateId = 132;

    SetupMenu();
    static platform::DialogTemplate dialogTemplate();
};

}  // namespace wendra
