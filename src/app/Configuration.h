#pragma once
// Everything the configuration file holds: the program's own records, the settings of the
// subsystems it carries (port, parser, track, map view, alerts) and, unchanged, what belongs
// to parts of the program not in this build. Each record's reader keeps only values in
// their field's range; a damaged value keeps the field's default.

#include <array>
#include <string>

#include "alerts/AlertList.h"
#include "app/AddressHistory.h"
#include "app/ConfigFolders.h"
#include "app/Dashboards.h"
#include "app/GlobalSettings.h"
#include "app/GraphSettings.h"
#include "app/KeptRecords.h"
#include "app/KeyBindings.h"
#include "app/NmeaSettings.h"
#include "app/Status7Record.h"
#include "gps/SerialSettings.h"
#include "track/TrackSettings.h"
#include "view/ColourSet.h"

namespace wendra {

struct Configuration {
    // `recordsFolder` is the default of "RecorderPath", the user's records folder.
    explicit Configuration(std::u16string recordsFolder = {});

    // The state before loading: every default, nothing kept.
    void resetToDefaults();

    // "TraceArchivePath" is the track's archive folder; the others are held here.
    const std::u16string& folder(Folder which) const;
    void setFolder(Folder which, std::u16string value);

    GlobalSettings global;  // options word, map memory, no-fix sound
    KeyBindings keys;
    GraphSettings graph;
    Dashboards dashboards;
    AddressHistory history;
    SerialSettings serial;
    NmeaSettings nmea;
    TrackSettings track;
    // The map-view state as read. Its track fields are superseded by `track`, which
    // the saver folds back in.
    Status7Record status;
    AlertList alerts;
    ColourSet colours;  // the map view's day and night colours
    KeptRecords kept;

private:
    std::u16string recordsFolder_;
    std::array<std::u16string, kFolderCount> folders_;
};

}  // namespace wendra
