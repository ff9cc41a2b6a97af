#pragma once
// The menu screens the actions open, and the screens behind their buttons: main menu,
// setup, tools, statistics, track settings, the track menu with its file choices and
// the map list and group.
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
    void openMapList();
    void openMapGroup();
    void saveChangedMaps();
    std::optional<std::u16string> chooseTrackFile(const FileChoice& choice);

    AppState& state_;
    AppShell& shell_;
    GpsSettingsFlow& gps_;
    ScreenServices& screen_;
    std::chrono::milliseconds aboutTime_;
    int lastUtmZone_ = 0;  // the zone last given for calibration files in UTM values
};

}  // namespace wendra
