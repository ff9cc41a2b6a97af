#include "app/KeyCommands.h"

#include <string>
#include <utility>

#include "app/AppMessages.h"
#include "app/AppShell.h"
#include "app/AppState.h"
#include "app/GpsSettingsFlow.h"
#include "app/InternetMapsScreens.h"
#include "app/KeyTable.h"
#include "app/ScreenServices.h"
#include "platform/Window.h"

namespace wendra {

KeyCommands::KeyCommands(AppState& state, AppShell& shell, GpsSettingsFlow& gps,
                         ScreenServices& screen, platform::Window& window,
                         std::chrono::milliseconds aboutTime)
    : state_(state),
      shell_(shell),
      gps_(gps),
      screen_(screen),
      window_(window),
      menus_(state, shell, gps, screen, aboutTime) {}

// A kill later must not take the user's settings with it: a handled action saves what
// it changed at once.
void KeyCommands::dispatch(int code) {
    const int slot = slotOfCode(code);
    if (slot < 0) return;
    for (int set = 0; set < KeyBindings::kSets; ++set) {
        if (!runAction(state_.config.keys.action(set, slot), slot)) continue;
        shell_.saveChangedFiles(false);
        shell_.requestRepaint();
        return;
    }
}

bool KeyCommands::runAction(int action, int slot) {
    switch (action) {
        case Action::kDoNothing:
            return true;
        case Action::kMainMenu:
            menus_.openMainMenu();
            return true;
        case Action::kAdvancedSetup:
            menus_.openSetupMenu();
            return true;
        case Action::kTools:
            menus_.openToolsMenu();
            return true;
        case Action::kListPoints:
            menus_.openPointList();
            return true;
        case Action::kAddPoint:
            menus_.addPoint();
            return true;
        case Action::kAddVoicePoint:
            menus_.addPoint(true);
            return true;
        case Action::kToggleTrack:
            shell_.showStatusText(std::u16string(state_.track.toggleRecording()));
            state_.config.track = state_.track.settings;
            state_.dataFiles.markChanged(DataFile::Configuration);
            return true;
        case Action::kToggleGps:
            gps_.toggle();
            return true;
        case Action::kScreenOffOn:
            screen_.toggle();
            return true;
        case Action::kDeleteTrack:
            state_.track.clearLayer(Track::kMainLayer);
            state_.trackFiles.storeLayer(Track::kMainLayer);
            shell_.showStatusText(u"Track deleted");
            return true;
        case Action::kInternetMaps:
            shell_.showStatusText(InternetMapsScreens(*state_.internet, shell_).toggle());
            return true;
        case Action::kDisplayButton:
            shell_.showStatusText(std::u16string(kKeySlots[static_cast<std::size_t>(slot)].name));
            return true;
        default:
            return false;
    }
}

void KeyCommands::deferUntilDialogCloses(int code) {
    deferred_.push_back(code);
}

void KeyCommands::dialogClosed() {
    for (const int code : std::exchange(deferred_, {})) window_.post(AppMessage::kCommand, code);
}

}  // namespace wendra
