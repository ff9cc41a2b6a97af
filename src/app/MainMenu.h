#pragma once
// The "Main menu" screen: a column of buttons, each opening a screen or running an
// action, "Back" closing the menu. Buttons whose screens this build does not have are
// shown disabled. The dialog ends with the id of the button pressed; the shell acts.
// The maps group button's caption is the group line computed when the menu opens.

#include <string>

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
inline constexpr int kMapList = 1311;
inline constexpr int kMapGroup = 1312;  // its caption is the maps group line
inline constexpr int kAddPoint = 1313;
inline constexpr int kAddVoicePoint = 1314;
}  // namespace MainMenuButton

class MainMenu final : public ButtonMenu {
public:
    static constexpr int kTemplateId = 131;

    explicit MainMenu(std::u16string mapGroupLine = u"Select a group of maps");
    static platform::DialogTemplate dialogTemplate(std::u16string_view mapGroupLine = {});

    void init(platform::DialogControls& dialog) override;

private:
    std::u16string mapGroupLine_;
};

}  // namespace wendra
