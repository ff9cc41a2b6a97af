#include "app/GpsSettingsFlow.h"

#include "app/AppShell.h"
#include "app/AppState.h"
#include "app/ScreenServices.h"
#include "gps/GpsDialogWindow.h"
#include "gps/SoundNames.h"

namespace wendra {

GpsSettingsFlow::GpsSettingsFlow(const ApplicationServices& services, AppState& state,
                                 AppShell& shell, ScreenServices& screen)
    : services_(services), state_(state), shell_(shell), screen_(screen) {}

void GpsSettingsFlow::start(SerialPort::Attempts attempts) {
    state_.port.close();
    takeReaderSettings();  // the stopped reader's last answers, before they are copied back
    state_.port.settings() = state_.config.serial;
    state_.parser.allowClockSetting(services_.receiverSetsClock);
    if (services_.portOverride) services_.portOverride(state_.port.settings());
    state_.port.start(attempts);
}

void GpsSettingsFlow::close() {
    state_.port.close();
}

// The configuration takes what the reader changed, and is saved with it.
void GpsSettingsFlow::takeReaderSettings() {
    if (state_.bridge.mergeSettings(state_.config))
        state_.dataFiles.markChanged(DataFile::Configuration);
}

void GpsSettingsFlow::toggle() {
    state_.port.close();
    state_.config.serial.options ^= SerialOptions::kDeactivated;
    state_.dataFiles.markChanged(DataFile::Configuration);
    const bool off = state_.config.serial.has(SerialOptions::kDeactivated);
    start(SerialPort::Attempts::Single);
    shell_.showStatusText(off ? u"GPS Deactivated" : u"GPS Activated");
}

GpsDialogValues GpsSettingsFlow::dialogValues() const {
    const Configuration& config = state_.config;
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
bool GpsSettingsFlow::takeDialogValues(GpsDialogButton button, const GpsDialogValues& values) {
    Configuration& config = state_.config;
    takeGpsDialogValues(state_.port, state_.parser, values);
    // With the reader stopped, what it left in the mailbox is older than these values.
    takeReaderSettings();
    config.serial = values.serial;
    config.nmea.flags = state_.parser.flags() & ~ParserFlags::kTransient;
    config.nmea.correction = values.correction;
    config.global.options = values.staticNavFunctions
                                ? config.global.options | ProgramOptions::kStaticNavFunctions
                                : config.global.options & ~ProgramOptions::kStaticNavFunctions;
    config.global.noFixSound = values.noFixSound;
    state_.bridge.setNoFixSound(values.noFixSound);
    state_.dataFiles.markChanged(DataFile::Configuration);
    screen_.applyPowerOptions();
    if (button == GpsDialogButton::StaticNav) return true;  // the receiver's own dialog
    if (services_.portOverride) services_.portOverride(state_.port.settings());
    return state_.port.applyOnOff();
}

void GpsSettingsFlow::openSettings() {
    const GpsDialogSetup setup{*services_.ports, state_.port.bluetoothAvailable(),
                               soundNames(state_.programFolder), state_.programFolder,
                               [this](GpsDialogButton button, const GpsDialogValues& values) {
                                   return takeDialogValues(button, values);
                               }};
    takeReaderSettings();  // the dialog shows what the parser holds now
    GpsDialogWindow dialog(dialogValues(), setup);
    shell_.runModalDialog(gpsDialogTemplate(), dialog);
    if (!dialog.result()) cancelGpsDialog(state_.port);
}

}  // namespace wendra
