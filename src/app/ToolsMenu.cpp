#include "app/ToolsMenu.h"

#include <array>

namespace wendra {

namespace {

constexpr std::array<ButtonMenuEntry, 11> kEntries = {{
    {ToolsMenuButton::kImportPoints, u"Import points", false},
    {ToolsMenuButton::kExportPoints, u"Export points", false},
    {ToolsMenuButton::kStatistics, u"Statistics", true},
    {ToolsMenuButton::kTurnDisplayOff, u"Turn display off", true},
    {ToolsMenuButton::kGraphics, u"Graphics", false},
    {ToolsMenuButton::kDriftAlarm, u"Drift alarm", false},
    {ToolsMenuButton::kDashboard1, u"Dashboard 1", false},
    {ToolsMenuButton::kDashboard2, u"Dashboard 2", false},
    {ToolsMenuButton::kChronometer, u"Chronometer", false},
    {ToolsMenuButton::kSearchAddress, u"Search for an address", false},
    {ToolsMenuButton::kBack, u"Back", true},
}};

}  // namespace

ToolsMenu::ToolsMenu() : ButtonMenu(kEntries, ToolsMenuButton::kBack) {}

platform::DialogTemplate ToolsMenu::dialogTemplate() {
    return layout(kTemplateId, u"Tools", kEntries);
}

}  // namespace wendra
