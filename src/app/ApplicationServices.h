#pragma once
// What the program's main gives the application: the folders, the machine and the
// workers of later subsystems. Plain values and borrowed pointers; main keeps the
// pointed-to objects alive for the application's whole life.

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "app/BackgroundWorker.h"
#include "app/PowerThread.h"
#include "app/ScreenPower.h"
#include "gps/SerialSettings.h"
#include "platform/Backlight.h"
#include "platform/BluetoothRadio.h"
#include "platform/HttpRequest.h"
#include "platform/IdleTimer.h"
#include "platform/SerialPorts.h"

namespace wendra {

struct Configuration;

struct ApplicationServices {
    std::string dataFolder;
    std::u16string recordsFolder;
    platform::SerialPorts* ports = nullptr;
    platform::BluetoothRadio* radio = nullptr;
    // Adjusts the port the reader opens without touching the saved settings (a replayed
    // log is read from its terminal).
    std::function<void(SerialSettings&)> portOverride;
    // "Update time" may set the machine's clock: only when a real receiver is read,
    // never a replayed log, whose times are not now.
    bool receiverSetsClock = false;
    // Runs after the configuration file's own fix-ups at start-up.
    std::function<void(Configuration&)> afterConfigLoad;
    // The machine's backlight and idle timer; the platform's own when null.
    platform::Backlight* backlight = nullptr;
    platform::IdleTimer* idleTimer = nullptr;
    // Whether the display is lit, and the time slept since boot; when empty the
    // display counts as lit and no resume is seen.
    DisplayReader readDisplay;
    SuspendClock suspendClock;
    // Workers of later subsystems; none runs when null.
    BackgroundWorker* mapWorker = nullptr;
    // When set, it runs instead of the internet worker the application makes.
    BackgroundWorker* internetWorker = nullptr;
    // The machine's HTTP request for the tile service; without it nothing downloads.
    std::function<std::unique_ptr<platform::HttpRequest>(platform::HttpSession&)> makeHttpRequest;
    // Cover the whole screen whatever "Full screen" says (the command line's choice).
    bool fullScreen = false;
    std::chrono::milliseconds startupDialogTime{2000};
    std::chrono::milliseconds trackLoadPause{100};
};

}  // namespace wendra
