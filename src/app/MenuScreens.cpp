#include "app/MenuScreens.h"

#include <vector>

#include "app/AppShell.h"
#include "app/AppState.h"
#include "app/FileChooser.h"
#include "app/GpsSettingsFlow.h"
#include "app/InternetMapsScreens.h"
#include "app/MainMenu.h"
#include "app/MapGroupDialog.h"
#include "app/MapListDialog.h"
#include "app/ScreenServices.h"
#include "app/SetupMenu.h"
#include "app/StartupDialog.h"
#include "app/ToolsMenu.h"
#include "records/Text.h"
#include "records/UnitFormat.h"
#include "records/WidePrintf.h"
#include "track/StatisticsRow.h"
#include "track/StatisticsScreen.h"
#include "track/TrackMenu.h"
#include "track/TrackMenuScreen.h"
#include "track/TrackSettingsScreen.h"
#include "view/ViewMessages.h"

namespace wendra {

MenuScreens::MenuScreens(AppState& state, AppShell& shell, GpsSettingsFlow& gps,
                         ScreenServices& screen, std::chrono::milliseconds aboutTime)
    : state_(state),
      shell_(shell),
      gps_(gps),
      screen_(screen),
      points_(state, shell),
      aboutTime_(aboutTime) {}

// The group line follows the maps' active flags, which the list may have changed;
// while internet maps are shown it names their source, and opens their quick menu.
void MenuScreens::openMainMenu() {
    maps::MapCatalogue& catalogue = state_.maps;
    catalogue.regroup();
    const std::optional<int> shown = state_.internet->shownSource();
    const std::u16string source = shown ? widen(netmaps::tileSourceName(*shown)) : u"";
    const std::u16string groupLine = maps::mapGroupMenuLine(
        catalogue.groupSelectionState(), catalogue.groups(),
        state_.internet->settings().downloadMaps(), shown ? &source : nullptr);
    MainMenu menu(groupLine);
    switch (shell_.runModalDialog(MainMenu::dialogTemplate(groupLine), menu)) {
        case MainMenuButton::kListPoints:
            openPointList();
            break;
        case MainMenuButton::kAddPoint:
            addPoint();
            break;
        case MainMenuButton::kAddVoicePoint:
            addPoint(true);
            break;
        case MainMenuButton::kMapList:
            openMapList();
            break;
        case MainMenuButton::kMapGroup:
            if (shown)
                InternetMapsScreens(*state_.internet, shell_).openQuickMenu();
            else
                openMapGroup();
            break;
        case MainMenuButton::kAbout: {
            StartupDialog about({}, aboutTime_);
            shell_.runModalDialog(StartupDialog::dialogTemplate(), about);
            break;
        }
        case MainMenuButton::kTrack:
            openTrackMenu();
            break;
        case MainMenuButton::kTools:
            openToolsMenu();
            break;
        case MainMenuButton::kAdvancedSetup:
            openSetupMenu();
            break;
        case MainMenuButton::kQuit:
            shell_.closeWindow();
            break;
        default:
            break;
    }
}

void MenuScreens::addPoint(bool voiceMemo) {
    if (!points_.addAtFix(voiceMemo)) shell_.showStatusText(std::u16string(viewmsg::kNotAvailable));
}

void MenuScreens::openSetupMenu() {
    SetupMenu menu;
    switch (shell_.runModalDialog(SetupMenu::dialogTemplate(), menu)) {
        case SetupMenuButton::kGps:
            gps_.openSettings();
            break;
        case SetupMenuButton::kTrack:
            openTrackSettings();
            break;
        case SetupMenuButton::kInternetMaps:
            InternetMapsScreens(*state_.internet, shell_).openSettings();
            break;
        default:
            break;
    }
}

void MenuScreens::openToolsMenu() {
    ToolsMenu menu;
    switch (shell_.runModalDialog(ToolsMenu::dialogTemplate(), menu)) {
        case ToolsMenuButton::kStatistics:
            openStatistics();
            break;
        case ToolsMenuButton::kTurnDisplayOff:
            screen_.toggle();
            break;
        default:
            break;
    }
}

// The rows are computed afresh over the main layer's selection each time the screen
// opens, in metric units and degrees: the unit choice is not part of this build. A
// "Display" of an extreme closes the screen and shows the place on the map, in free
// movement; the next tap on the map opens the screen again.
void MenuScreens::openStatistics() {
    state_.statistics.computeSelection(state_.track, StatisticsFormat{});
    state_.statistics.setValue(kRowMapsAllocated, maps::memoryRowText(state_.maps.allocatedRow()));
    state_.statistics.setValue(kRowMapsDefined, maps::memoryRowText(state_.maps.definedRow()));
    state_.statistics.setValue(kRowPoints, points::pointsStatisticsValue(state_.points));
    setInternetRows(state_.statistics, state_.internet->counters());
    StatisticsScreen screen(state_.statistics, statisticsHintShown_);
    if (shell_.runModalDialog(StatisticsScreen::dialogTemplate(), screen) !=
        StatisticsScreen::kDisplay)
        return;
    const StatisticsDisplay& display = screen.display();
    if (!display.centre) return;
    shell_.showOnMap(display.lat, display.lon);
    statisticsOnTap_ = true;
    if (display.showHint) {
        statisticsHintShown_ = true;
        shell_.showStatusText(std::u16string(StatisticsDisplay::kHint));
    }
}

void setInternetRows(TrackStatistics& statistics, const InternetCounters& counters) {
    std::u16string text;
    appendPrintf(text, " %d", static_cast<int>(counters.sessionTiles));
    statistics.setValue(kRowSessionTiles, text);
    text.clear();
    appendByteSize(text, static_cast<std::int64_t>(counters.sessionBytes));
    statistics.setValue(kRowSessionBytes, text);
    text.clear();
    appendPrintf(text, " %d", counters.cachedTiles);
    statistics.setValue(kRowCacheTiles, text);
    text.clear();
    appendByteSize(text, static_cast<std::int64_t>(counters.cachedBytes));
    statistics.setValue(kRowCacheBytes, text);
}

bool MenuScreens::tapOnMap() {
    if (!statisticsOnTap_) return false;
    statisticsOnTap_ = false;
    openStatistics();
    return true;
}

// Lengths are shown in metric units: the unit choice is not part of this build.
void MenuScreens::openTrackSettings() {
    const TrackSettings settings = state_.track.settings;
    TrackSettingsScreen screen(settings, trackDialogForm(settings, 1.0, 0.001),
                               [](std::u16string_view start) { return chooseFolder(start); });
    shell_.runModalDialog(TrackSettingsScreen::dialogTemplate(), screen);
    if (!screen.accepted()) return;
    const TrackSettings& accepted = *screen.accepted();
    state_.track.applySettings(accepted);
    // The live climb speed and glide ratio are measured over the same window.
    if (accepted.climbWindow != settings.climbWindow)
        state_.statistics.setClimbWindow(accepted.climbWindow);
    state_.config.track = accepted;
    state_.dataFiles.markChanged(DataFile::Configuration);
    shell_.requestRepaint();
}

// The track menu's file choices go through the program's file chooser, in the folder
// of track files that the configuration remembers.
void MenuScreens::openTrackMenu() {
    std::u16string tracePath = state_.config.folder(Folder::TracePath);
    TrackMenuContext context;
    context.tracePath = &tracePath;
    context.requestRepaint = [this] { shell_.requestRepaint(); };
    context.chooseFile = [this](const FileChoice& choice) { return chooseTrackFile(choice); };
    TrackMenu menu(state_.trackFiles, std::move(context));
    runTrackMenu(menu);
    if (tracePath != state_.config.folder(Folder::TracePath)) {
        state_.config.setFolder(Folder::TracePath, std::move(tracePath));
        state_.dataFiles.markChanged(DataFile::Configuration);
    }
}

// Coordinates are shown in degrees and lengths in metric units: those choices are not
// part of this build.
void MenuScreens::openMapList() {
    std::u16string bmpPath = state_.config.folder(Folder::BmpPath);
    MapListContext context;
    context.bmpPath = &bmpPath;
    context.lastZone = &lastUtmZone_;
    context.chooseFolder = [](std::u16string_view start) { return chooseFolder(start); };
    const auto chooser = [this](std::u16string name, std::u16string pattern) {
        return [this, name, pattern](std::u16string_view start) {
            FileChooserOptions options;
            options.extendedFileSelection =
                state_.config.global.has(ProgramOptions::kExtendedFileSelection);
            return chooseFileToOpen(options, {{name, pattern}}, start);
        };
    };
    context.chooseImage = chooser(u"Images", u"*.*");
    context.chooseCalibration = chooser(u"Calibration files", u"*.map");
    MapListDialog procedure(state_.maps, std::move(context));
    state_.maps.setListDialogOpen(true);
    shell_.runModalDialog(MapListDialog::dialogTemplate(), procedure);
    state_.maps.setListDialogOpen(false);
    if (bmpPath != state_.config.folder(Folder::BmpPath)) {
        state_.config.setFolder(Folder::BmpPath, std::move(bmpPath));
        state_.dataFiles.markChanged(DataFile::Configuration);
    }
    saveChangedMaps();
    shell_.requestRepaint();
}

void MenuScreens::openMapGroup() {
    state_.maps.regroup();
    MapGroupDialog procedure(state_.maps, [this] {
        state_.dataFiles.markChanged(DataFile::Configuration);
        // The choice lives in the maps' active flags, which the maps file keeps.
        state_.maps.markChanged();
    });
    shell_.runModalDialog(MapGroupDialog::dialogTemplate(state_.maps.groups()), procedure);
    saveChangedMaps();
    shell_.requestRepaint();
}

// The maps file is one of the data files: its store asks the catalogue whether the
// list changed.
void MenuScreens::saveChangedMaps() {
    shell_.saveChangedFiles(false);
}

std::optional<std::u16string> MenuScreens::chooseTrackFile(const FileChoice& choice) {
    Configuration& config = state_.config;
    FileChooserOptions options;
    options.extendedFileSelection = config.global.has(ProgramOptions::kExtendedFileSelection);
    options.switchedToExtended = [this] {
        state_.config.global.options |= ProgramOptions::kExtendedFileSelection;
        state_.dataFiles.markChanged(DataFile::Configuration);
    };
    const std::vector<platform::FileFilter> filters = {
        {choice.filterName, u"*" + choice.extension}};
    if (!choice.save) return chooseFileToOpen(options, filters, choice.folder);
    std::u16string folder = choice.folder;
    return chooseFileToSave(options, filters, folder, choice.proposedName, choice.extension);
}

}  // namespace wendra
