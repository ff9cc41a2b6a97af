#include "app/SetupMenu.h"

#include <array>

namespace wendra {

namespace {

constexpr std::array<ButtonMenuEntry, 5> kEntries = {{
    {SetupMenuButton::kGps, u"GPS", true},
    {SetupMenuButton::kTrack, u"Track", true},
    {SetupMenuButton::kAlerts, u"Alerts", false},
    {SetupMenuButton::kInternetMaps, u"Internet maps", true},
    {SetupMenuButton::kBack, u"Back", true},
}};

}  // namespace

SetupMenu::SetupMenu() : ButtonMenu(kEntries, SetupMenuButton::kBack) {}

platform::DialogTemplate SetupMenu::dialogTemplate() {
    return layout(kTemplateId, u"Setup", kEntries);
}

}  // namespace wendra
