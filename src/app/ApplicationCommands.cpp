// Work handed over by the GPS reader, and the commands of the keys.

#include <array>
#include <optional>

#include "app/AppMessages.h"
#include "app/FileChooser.h"
#include "app/Application.h"
#include "app/MainMenu.h"
#include "app/SetupMenu.h"
#include "app/ToolsMenu.h"
#include "app/StartupDialog.h"
#include "gps/GpsDialog.h"
#include "gps/GpsDialogWindow.h"
#include "gps/SoundNames.h"
#include "platform/Window.h"
#include "track/StatisticsScreen.h"
#include "track/TrackMenu.h"
#include "track/TrackMenuScreen.h"
#include "track/TrackSettingsScreen.h"

namespace wendra {

namespace {

// The key slots: the code that reaches the window and the name the key setup shows.
struct KeySlot {
    int code;
    std::u16string_view name;
};

constexpr std::array<KeySlot, KeyBindings::kSlots> kKeySlots = {{
    {13, u"Button OK"},
    {38, u"Button Up"},
    {40, u"Button Down"},
    {37, u"Button Left"},
    {39, u"Button Right"},
    {992, u"Gauge of battery"},
    {993, u"Gauge of reception"},
    {994, u"Long click on the screen"},
    {193, u"Key application 1"},
    {194, u"Key application 2"},
    {195, u"Key application 3"},
    {196, u"Key application 4"},
    {197, u"Key application 5"},
    {198, u"Key application 6"},
    {996, u"Softkey Left"},
    {995, u"Softkey Right"},
    {990, u"Favourite menu nr 1"},
    {991, u"favourite menu nr 2"},
    {997, u"Button 1"},
    {998, u"Button 2"},
}};

int slotOfCode(int code) {
    for (int slot = 0; slot < KeyBindings::kSlots; ++slot)
        if (kKeySlots[static_cast<size_t>(slot)].code == code) return slot;
    return -1;
}

namespace Action {
constexpr int kDoNothing = 0;
constexpr int kMainMenu = 3;
constexpr int kAdvancedSetup = 5;
constexpr int kTools = 6;
constexpr int kToggleTrack = 21;
constexpr int kToggleGps = 24;
constexpr int kScreenOffOn = 43;
constexpr int kDeleteTrack = 44;
constexpr int kDisplayButton = 46;
}  // namespace Action

}  // namespace

void Application::takeStatusText() {
    if (std::optional<std::u16string> text = state_->bridge.takeStatusText())
        showStatusText(std::move(*text));
}

// The reader asked the user something, or the parser changed its own settings: the
// configuration takes them, and is saved with them.
void Application::takeReaderSettings() {
    if (state_ && state_->bridge.mergeSettings(state_->config))
        state_->dataFiles.markChanged(DataFile::Configuration);
}

// A key tries its bindings set by set until an action applies. What the action changed
// is saved at once: a kill later must not take the user's settings with it.
void Application::command(int code) {
    const int slot = slotOfCode(code);
    if (slot < 0) return;
    for (int set = 0; set < KeyBindings::kSets; ++set) {
        if (!runAction(state_->config.keys.action(set, slot), slot)) continue;
        // The action may have closed the window (Quit), and the state with it.
        if (!state_) return;
        saveChangedFiles(false);
        requestRepaint();
        return;
    }
}

// False when the action does not apply here, so that the next set is tried.
bool Application::runAction(int action, int slot) {
    AppState& state = *state_;
    switch (action) {
        case Action::kDoNothing:
            return true;
        case Action::kMainMenu:
            openMainMenu();
            return true;
        case Action::kAdvancedSetup:
            openSetupMenu();
            return true;
        case Action::kTools:
            openToolsMenu();
            return true;
        case Action::kToggleTrack:
            showStatusText(std::u16string(state.track.toggleRecording()));
            state.config.track = state.track.settings;
            state.dataFiles.markChanged(DataFile::Configuration);
            return true;
        case Action::kToggleGps:
            toggleGps();
            return true;
        case Action::kScreenOffOn:
            toggleScreen();
            return true;
        case Action::kDeleteTrack:
            state.track.clearLayer(Track::kMainLayer);
            state.trackFiles.storeLayer(Track::kMainLayer);
            showStatusText(u"Track deleted");
            return true;
        case Action::kDisplayButton:
            showStatusText(std::u16string(kKeySlots[static_cast<size_t>(slot)].name));
            return true;
        default:
            return false;
    }
}

void Application::openMainMenu() {
    MainMenu menu;
    switch (runModalDialog(MainMenu::dialogTemplate(), nullptr, menu)) {
        case MainMenuButton::kAbout: {
            StartupDialog about({}, services_.startupDialogTime);
            runModalDialog(StartupDialog::dialogTemplate(), nullptr, about);
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
            window_->close();
            break;
        default:
            break;
    }
}

void Application::openSetupMenu() {
    SetupMenu menu;
    switch (runModalDialog(SetupMenu::dialogTemplate(), nullptr, menu)) {
        case SetupMenuButton::kGps:
            openGpsSettings();
            break;
        case SetupMenuButton::kTrack:
            openTrackSettings();
            break;
        default:
            break;
    }
}

void Application::openToolsMenu() {
    ToolsMenu menu;
    switch (runModalDialog(ToolsMenu::dialogTemplate(), nullptr, menu)) {
        case ToolsMenuButton::kStatistics:
            openStatistics();
            break;
        case ToolsMenuButton::kTurnDisplayOff:
            toggleScreen();
            break;
        default:
            break;
    }
}

// The rows are computed afresh over the main layer's selection each time the screen
// opens, in metric units and degrees: the unit choice is not part of this build. A
// "Display" of an extreme closes the screen; placing the map on it waits for the view's
// manual positioning.
void Application::openStatistics() {
    AppState& state = *state_;
    state.statistics.computeSelection(state.track, StatisticsFormat{});
    StatisticsScreen screen(state.statistics, false);
    runModalDialog(StatisticsScreen::dialogTemplate(), nullptr, screen);
}

// Lengths are shown in metric units: the unit choice is not part of this build.
void Application::openTrackSettings() {
    AppState& state = *state_;
    const TrackSettings settings = state.track.settings;
    TrackSettingsScreen screen(settings, trackDialogForm(settings, 1.0, 0.001),
                               [](std::u16string_view start) { return chooseFolder(start); });
    runModalDialog(TrackSettingsScreen::dialogTemplate(), nullptr, screen);
    if (!screen.accepted()) return;
    const TrackSettings& accepted = *screen.accepted();
    state.track.applySettings(accepted);
    // The live climb speed and glide ratio are measured over the same window.
    if (accepted.climbWindow != settings.climbWindow)
        state.statistics.setClimbWindow(accepted.climbWindow);
    state.config.track = accepted;
    state.dataFiles.markChanged(DataFile::Configuration);
    requestRepaint();
}

// The track menu's file choices go through the program's file chooser, in the folder
// of track files that the configuration remembers.
void Application::openTrackMenu() {
    AppState& state = *state_;
    std::u16string tracePath = state.config.folder(Folder::TracePath);
    TrackMenuContext context;
    context.tracePath = &tracePath;
    context.requestRepaint = [this] { requestRepaint(); };
    context.chooseFile = [this](const FileChoice& choice) { return chooseTrackFile(choice); };
    TrackMenu menu(state.trackFiles, std::move(context));
    runTrackMenu(menu);
    if (tracePath != state.config.folder(Folder::TracePath)) {
        state.config.setFolder(Folder::TracePath, std::move(tracePath));
        state.dataFiles.markChanged(DataFile::Configuration);
    }
}

std::optional<std::u16string> Application::chooseTrackFile(const FileChoice& choice) {
    Configuration& config = state_->config;
    FileChooserOptions options;
    options.extendedFileSelection = config.global.has(ProgramOptions::kExtendedFileSelection);
    options.switchedToExtended = [this] {
        state_->config.global.options |= ProgramOptions::kExtendedFileSelection;
        state_->dataFiles.markChanged(DataFile::Configuration);
    };
    const std::vector<platform::FileFilter> filters = {
        {choice.filterName, u"*" + choice.extension}};
    if (!choice.save) return chooseFileToOpen(options, filters, choice.folder);
    std::u16string folder = choice.folder;
    return chooseFileToSave(options, filters, folder, choice.proposedName, choice.extension);
}

void Application::toggleGps() {
    AppState& state = *state_;
    state.port.close();
    state.config.serial.options ^= SerialOptions::kDeactivated;
    state.dataFiles.markChanged(DataFile::Configuration);
    const bool off = state.config.serial.has(SerialOptions::kDeactivated);
    startGps(SerialPort::Attempts::Single);
    showStatusText(off ? u"GPS Deactivated" : u"GPS Activated");
}

GpsDialogValues Application::gpsDialogValues() const {
    const Configuration& config = state_->config;
    GpsDialogValues values;
    values.serial = config.serial;
    values.parserFlags = config.nmea.flags;
    values.correction = config.nmea.correction;
    values.staticNavFunctions = (config.global.options & ProgramOptions::kStaticNavFunctions) != 0;
    values.noFixSound = config.global.noFixSound;
    return values;
}

// OK closes the GPS, keeps the values and opens the GPS as they say; the dialog stays
// open when that fails.
bool Application::takeGpsValues(GpsDialogButton button, const GpsDialogValues& values) {
    AppState& state = *state_;
    Configuration& config = state.config;
    takeGpsDialogValues(state.port, state.parser, values);
    // With the reader stopped, what it left in the mailbox is older than these values.
    takeReaderSettings();
    config.serial = values.serial;
    config.nmea.flags = state.parser.flags() & ~ParserFlags::kTransient;
    config.nmea.correction = values.correction;
    config.global.options = values.staticNavFunctions
                                ? config.global.options | ProgramOptions::kStaticNavFunctions
                                : config.global.options & ~ProgramOptions::kStaticNavFunctions;
    config.global.noFixSound = values.noFixSound;
    state.bridge.setNoFixSound(values.noFixSound);
    state.dataFiles.markChanged(DataFile::Configuration);
    applyPowerOptions();
    if (button == GpsDialogButton::StaticNav) return true;  // the receiver's own dialog
    if (services_.portOverride) services_.portOverride(state.port.settings());
    return state.port.applyOnOff();
}

void Application::openGpsSettings() {
    AppState& state = *state_;
    const GpsDialogSetup setup{
        *services_.ports, state.port.bluetoothAvailable(), soundNames(state.programFolder),
        state.programFolder,
        [this](GpsDialogButton button, const GpsDialogValues& values) {
            return takeGpsValues(button, values);
        }};
    takeReaderSettings();  // the dialog shows what the parser holds now
    GpsDialogWindow dialog(gpsDialogValues(), setup);
    runModalDialog(gpsDialogTemplate(), nullptr, dialog);
    if (!dialog.result()) cancelGpsDialog(state.port);
}

}  // namespace wendra
