#include "app/MainMenu.h"

#include <array>

namespace wendra {

namespace {

constexpr std::array<ButtonMenuEntry, 10> kEntries = {{
    {MainMenuButton::kListPoints, u"List points", false},
    {MainMenuButton::kNavigation, u"Navigation", false},
    {MainMenuButton::kTrack, u"Track", true},
    {MainMenuButton::kTools, u"Tools", true},
    {MainMenuButton::kAbout, u"About", true},
    {MainMenuButton::kSatellites, u"Satellites", false},
    {MainMenuButton::kAdvancedSetup, u"Advanced Setup", true},
    {MainMenuButton::kQuickSetup, u"Quick Setup", false},
    {MainMenuButton::kQuit, u"Quit", true},
    {MainMenuButton::kBack, u"Back", true},
}};

}  // namespace

MainMenu::MainMenu() : ButtonMenu(kEntries, MainMenuButton::kBack) {}

platform::DialogTemplate MainMenu::dialogTemplate() {
    return layout(kTemplateId, u"Main menu", kEntries);
}

}  // namespace wendra
