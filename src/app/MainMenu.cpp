#include "app/MainMenu.h"

#include <array>

namespace wendra {

namespace {

constexpr std::array<ButtonMenuEntry, 14> kEntries = {{
    {MainMenuButton::kListPoints, u"List points", true},
    {MainMenuButton::kAddPoint, u"Add point", true},
    {MainMenuButton::kAddVoicePoint, u"Add voice point", true},
    {MainMenuButton::kNavigation, u"Navigation", false},
    {MainMenuButton::kTrack, u"Track", true},
    {MainMenuButton::kMapList, u"List of maps", true},
    {MainMenuButton::kMapGroup, u"Grp of maps: ", true},
    {MainMenuButton::kTools, u"Tools", true},
    {MainMenuButton::kAbout, u"About", true},
    {MainMenuButton::kSatellites, u"Satellites", false},
    {MainMenuButton::kAdvancedSetup, u"Advanced Setup", true},
    {MainMenuButton::kQuickSetup, u"Quick Setup", false},
    {MainMenuButton::kQuit, u"Quit", true},
    {MainMenuButton::kBack, u"Back", true},
}};

}  // namespace

MainMenu::MainMenu(std::u16string mapGroupLine)
    : ButtonMenu(kEntries, MainMenuButton::kBack), mapGroupLine_(std::move(mapGroupLine)) {}

platform::DialogTemplate MainMenu::dialogTemplate(std::u16string_view mapGroupLine) {
    platform::DialogTemplate dialog = layout(kTemplateId, u"Main menu", kEntries);
    if (!mapGroupLine.empty())
        for (platform::ControlTemplate& control : dialog.controls)
            if (control.id == MainMenuButton::kMapGroup) control.text = mapGroupLine;
    return dialog;
}

void MainMenu::init(platform::DialogControls& dialog) {
    ButtonMenu::init(dialog);
    dialog.setText(MainMenuButton::kMapGroup, mapGroupLine_);
}

}  // namespace wendra
