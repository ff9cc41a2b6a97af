#pragma once
// The commands of the keys: a key code finds its slot in the key table, the slot's
// bindings are tried set by set until an action applies, and what the action changed
// is saved at once. Also keeps the commands that wait for a dialog to close. Window
// thread only.

#include <chrono>
#include <vector>

#include "app/MenuScreens.h"

namespace wendra::platform {
class Window;
}

namespace wendra {

class AppShell;
class GpsSettingsFlow;
class ScreenServices;
struct AppState;

class KeyCommands {
public:
    KeyCommands(AppState& state, AppShell& shell, GpsSettingsFlow& gps, ScreenServices& screen,
                platform::Window& window, std::chrono::milliseconds aboutTime);

    // A key press, a pseudo-key or a posted command; codes no slot has are ignored.
    void dispatch(int code);
    // Running it now would stall the open dialog's own loop on this thread: it is posted
    // again once the dialog has closed.
    void deferUntilDialogCloses(int code);
    void dialogClosed();
    // A tap on the map that a screen waits for; false when none does.
    bool tapOnMap() { return menus_.tapOnMap(); }

private:
    // False when the action does not apply here, so that the next set is tried.
    bool runAction(int action, int slot);

    AppState& state_;
    AppShell& shell_;
    GpsSettingsFlow& gps_;
    ScreenServices& screen_;
    platform::Window& window_;
    MenuScreens menus_;
    std::vector<int> deferred_;
};

}  // namespace wendra
