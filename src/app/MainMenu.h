#pragma once
// The "Main menu" screen: a column of buttons, each opening a screen or running an
// action, "Back" closing the menu. Buttons whose screens this build does not have are
// shown disabled. The dialog ends with the id of the button pressed; the shell acts.

#include "app/ButtonMenu.h"

namespace wendra {

namespace MainMenuButton {
inline constexpr int kListPoints = 1301;
inline constexpr int kNavigation = 1302;
inline constexpr int kTrack = 1303;
inline constexpr int kTools = 1304;
inline constexpr int kAbout = 1305;
inline constexpr int kSatellites = 1306;
inline constexpr int kAdvancedSetup = 1307;
inline constexpr int kQuickSetup = 1308;
inline constexpr int kQuit = 1309;
inline constexpr int kBack = 1310;
}  // namespace MainMenuButton

class MainMenu final : public ButtonMenu {
public:
    static constexpr int kTemplateId = 131;

    MainMenu();
    static platform::DialogTemplate dialogTemplate();
};

}  // namespace wendra
