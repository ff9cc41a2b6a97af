#pragma once
// The menu screens the actions open, and the screens behind their buttons: main menu,
// setup, tools, statistics, track settings and the track menu with its file choices.
// Window thread only; each screen is a modal dialog, and what it changed is marked for
// saving (the caller saves).

#include <chrono>
#include <optional>
#include <string>

namespace wendra {

class AppShell;
class GpsSettingsFlow;
class ScreenServices;
struct AppState;
struct FileChoice;

class MenuScreens {
public:
    MenuScreens(AppState& state, AppShell& shell, GpsSettingsFlow& gps, ScreenServices& screen,
                std::chrono::milliseconds aboutTime);

    void openMainMenu();
    void openSetupMenu();
    void openToolsMenu();

private:
    void openStatistics();
    void openTrackSettings();
    void openTrackMenu();
    std::optional<std::u16string> chooseTrackFile(const FileChoice& choice);

    AppState& state_;
    AppShell& shell_;
    GpsSettingsFlow& gps_;
    ScreenServices& screen_;
    std::chrono::milliseconds aboutTime_;
};

}  // namespace wendra
