#include "app/MainMenu.h"

#include <array>
#include <string_view>

namespace wendra {

namespace {

struct Entry {
    int id;
    std::u16string_view caption;
    bool built;  // the screen behind it exists in this build
};

constexpr std::array<Entry, 10> kEntries = {{
    {MainMenuButton::kListPoints, u"List points", false},
    {MainMenuButton::kNavigation, u"Navigation", false},
    {MainMenuButton::kTrack, u"Track", true},
    {MainMenuButton::kTools, u"Tools", false},
    {MainMenuButton::kAbout, u"About", true},
    {MainMenuButton::kSatellites, u"Satellites", false},
    {MainMenuButton::kAdvancedSetup, u"Advanced Setup", true},
    {MainMenuButton::kQuickSetup, u"Quick Setup", false},
    {MainMenuButton::kQuit, u"Quit", true},
    {MainMenuButton::kBack, u"Back", true},
}};

constexpr int kWidth = 120;
constexpr int kRowHeight = 16;
constexpr int kMargin = 4;

}  // namespace

platform::DialogTemplate MainMenu::dialogTemplate() {
    platform::DialogTemplate dialog;
    dialog.id = kTemplateId;
    dialog.title = u"Main menu";
    int top = kMargin;
    for (const Entry& entry : kEntries) {
        dialog.controls.push_back({entry.id, platform::ControlKind::Button,
                                   std::u16string(entry.caption),
                                   {kMargin, top, kWidth - kMargin, top + kRowHeight - 2},
                                   entry.built ? 0u : platform::style::kDisabled});
        top += kRowHeight;
    }
    dialog.size = {kWidth, top + kMargin};
    return dialog;
}

void MainMenu::init(platform::DialogControls& dialog) {
    for (const Entry& entry : kEntries) dialog.setEnabled(entry.id, entry.built);
}

void MainMenu::command(platform::DialogControls& dialog, int id) {
    if (id == platform::kIdCancel || id == MainMenuButton::kBack) {
        dialog.end(MainMenuButton::kBack);
        return;
    }
    for (const Entry& entry : kEntries)
        if (entry.id == id && entry.built) dialog.end(id);
}

}  // namespace wendra
