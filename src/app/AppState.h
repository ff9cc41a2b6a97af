#pragma once
// The application state: everything the window owns between its creation and its
// close. The GPS reader thread reaches the track, the parser and the hand-over state
// through the fix hand-over; everything else is the window thread's.

#include <string>

#include "app/Configuration.h"
#include "app/ConfigurationStore.h"
#include "app/DataFiles.h"
#include "app/DisplayMetrics.h"
#include "app/ShellBridge.h"
#include "gps/NmeaParser.h"
#include "gps/SerialPort.h"
#include "platform/Sync.h"
#include "track/FileBusy.h"
#include "track/FixHandOver.h"
#include "track/FixJournal.h"
#include "track/HandOverState.h"
#include "track/Track.h"
#include "track/TrackFiles.h"
#include "track/TrackStatistics.h"

namespace wendra {

struct AppState {
    AppState(const std::string& dataFolder, const std::u16string& recordsFolder,
             platform::SerialPorts& ports, platform::BluetoothRadio& radio);

    std::string programFolder;
    DisplayMetrics metrics;

    // The lock word: track and paint locks, and the view's bits.
    platform::LockWord lockWord;
    std::u16string statusText;

    Configuration config;
    ConfigurationStore configStore{config};
    ScreenBanner banner;
    DataFiles dataFiles;

    Track track{lockWord};
    FileBusy busy;
    FixJournal journal;
    TrackFiles trackFiles;

    // The reader's side: the parser and the port's settings belong to the reader
    // thread while it runs.
    NmeaParser parser;
    TrackStatistics statistics;
    HandOverState handOver;
    // The port keeps a reference to the bridge, which it uses only once opened.
    SerialPort port;
    ShellBridge bridge;
    FixHandOver fixHandOver;
};

}  // namespace wendra
