#pragma once
// The menu screens the actions open, and the screens behind their buttons: main menu,
// setup, tools, statistics, track settings, the track menu with its file choices, the
// map list and group, and the points' screens.
// Window thread only; each screen is a modal dialog, and what it changed is marked for
// saving (the caller saves).

#include <chrono>
#include <optional>
#include <string>

#include "app/PointScreens.h"

namespace wendra {

class AppShell;
class TrackStatistics;
struct InternetCounters;
class GpsSettingsFlow;
class ScreenServices;
struct AppState;
struct FileChoice;

// The rows under "Internet": this run's downloads and the cache's tiles and bytes.
void setInternetRows(TrackStatistics& statistics, const InternetCounters& counters);

class MenuScreens {
public:
    MenuScreens(AppState& state, AppShell& shell, GpsSettingsFlow& gps, ScreenServices& screen,
                std::chrono::milliseconds aboutTime);

    void openMainMenu();
    void openSetupMenu();
    void openToolsMenu();
    void openPointList() { points_.openList(); }
    // A point at the current fix through the point dialog, recording its voice memo
    // with `voiceMemo`; refused without a fix.
    void addPoint(bool voiceMemo = false);
    // The statistics screen comes back after its "Display" when the map is tapped.
    bool tapOnMap();

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
    PointScreens points_;
    std::chrono::milliseconds aboutTime_;
    int lastUtmZone_ = 0;               // the zone last given for calibration files in UTM values
    bool statisticsHintShown_ = false;  // once in a run
    bool statisticsOnTap_ = false;      // "Display" left the screen for the map
};

}  // namespace wendra
