#pragma once
// The window's side of the GPS: opening and closing the port as the settings say, the
// on/off action, the GPS settings dialog, and folding what the reader changed of the
// settings into the configuration. Window thread only; the port and the parser belong
// to the reader thread while it runs, so every change closes the port first.

#include "app/ApplicationServices.h"
#include "gps/GpsDialog.h"
#include "gps/SerialPort.h"

namespace wendra {

class AppShell;
class ScreenServices;
struct AppState;

class GpsSettingsFlow {
public:
    GpsSettingsFlow(const ApplicationServices& services, AppState& state, AppShell& shell,
                    ScreenServices& screen);

    // Closes the port, then opens it as the configuration says.
    void start(SerialPort::Attempts attempts);
    void close();
    // "Activate/Deactivate the GPS".
    void toggle();
    // The GPS settings dialog; OK reopens the GPS as it says.
    void openSettings();
    // The reader asked the user something, or the parser changed its own settings.
    void takeReaderSettings();

private:
    GpsDialogValues dialogValues() const;
    bool takeDialogValues(GpsDialogButton button, const GpsDialogValues& values);

    const ApplicationServices& services_;
    AppState& state_;
    AppShell& shell_;
    ScreenServices& screen_;
};

}  // namespace wendra
