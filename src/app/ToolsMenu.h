#pragma once
// The "Tools" screen behind the main menu's "Tools": statistics, the display switch and
// the tools of later screens (shown disabled until they exist). The dialog ends with
// the id of the button pressed; the shell opens that screen.

#include "app/ButtonMenu.h"

namespace wendra {

namespace ToolsMenuButton {
inline constexpr int kImportPoints = 1331;
inline constexpr int kExportPoints = 1332;
inline constexpr int kStatistics = 1333;
inline constexpr int kTurnDisplayOff = 1334;
inline constexpr int kGraphics = 1335;
inline constexpr int kDriftAlarm = 1336;
inline constexpr int kDashboard1 = 1337;
inline constexpr int kDashboard2 = 1338;
inline constexpr int kChronometer = 1339;
inline constexpr int kSearchAddress = 1340;
inline constexpr int kBack = 1341;
}  // namespace ToolsMenuButton

class ToolsMenu final : public ButtonMenu {
public:
    static constexpr int kTemplateId = 133;

    ToolsMenu();
    static platform::DialogTemplate dialogTemplate();
};

}  // namespace wendra
