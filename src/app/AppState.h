#pragma once
// The application state: everything the window owns between its creation and its
// close (Lifecycle holds it). Members are built in the order they are declared, each
// after what it refers to; the comment over each group says who may touch it.

#include <memory>
#include <string>

#include "app/AppMapShell.h"
#include "app/Configuration.h"
#include "app/ConfigurationStore.h"
#include "app/DataFiles.h"
#include "app/DisplayMetrics.h"
#include "app/InternetMaps.h"
#include "app/MapsStore.h"
#include "app/PointsStore.h"
#include "app/ShellBridge.h"
#include "gps/NmeaParser.h"
#include "gps/SerialPort.h"
#include "maps/MapCatalogue.h"
#include "maps/MapManager.h"
#include "platform/Sync.h"
#include "points/IconList.h"
#include "points/PointStore.h"
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

    // The window thread's.
    std::string programFolder;
    DisplayMetrics metrics;
    std::u16string statusText;

    // Every thread: the track and paint locks and the view's bits, all atomic.
    platform::LockWord lockWord;

    // The window thread's: the settings and the files they are saved in.
    Configuration config;
    ConfigurationStore configStore{config};
    ScreenBanner banner;
    DataFiles dataFiles;

    // The maps: the list edited by the window thread (paused meanwhile) and painted by
    // it, ranked by the manager thread, each image filled by its load thread. The shell
    // reaches the window and the manager; the manager stops before the catalogue goes.
    AppMapShell mapShell;
    maps::MapCatalogue maps{mapShell};
    maps::MapManager mapManager{maps};
    MapsStore mapsStore{maps};

    // The points and their icons: the window thread's (the list's busy bit guards the
    // sort). The icons load before the points file so that every point finds its icon.
    points::IconList icons;
    points::PointStore points;
    PointsStore pointsStore{points, config.global};

    // The track: its layers under the track lock, the window thread editing and painting,
    // the reader thread appending. The files, the busy state and the journal are the
    // window thread's, except what the fix hand-over does with them on the reader thread.
    Track track{lockWord};
    FileBusy busy;
    FixJournal journal;
    TrackFiles trackFiles;

    // The reader's side. The parser and the port's settings are the reader thread's
    // while it runs; the window thread changes them only with the port closed. The
    // statistics' live part and the hand-over state are shared (atomics, their own
    // lock); the bridge's mailboxes cross from the reader to the window.
    NmeaParser parser;
    TrackStatistics statistics;
    HandOverState handOver;
    ShellBridge bridge;
    // Opened and closed by the window thread; its reader thread runs the fix hand-over.
    SerialPort port;
    FixHandOver fixHandOver;

    // The internet maps: their settings, the tile cache over the catalogue and the
    // worker that fills it. Made by the lifecycle, which hands in the machine's HTTP;
    // the window thread's, except what the worker does under the service's busy lock.
    std::unique_ptr<InternetMaps> internet;
};

}  // namespace wendra
