#pragma once
// A data folder with the track files set up as the program does: layers, journal and
// files, a scripted message-box host and a fake clock two hours ahead of UTC.

#include <gtest/gtest.h>

#include <string>

#include "support/FakeClock.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TestPaths.h"
#include "track/DeviceTimeZone.h"
#include "track/FileBusy.h"
#include "track/FixJournal.h"
#include "track/Track.h"
#include "track/TrackFiles.h"
#include "track/TrackPoint.h"

namespace wendra::test {

class TrackFilesTestBase : public ::testing::Test {
protected:
    TrackFilesTestBase()
        : useClock_(clock),
          folders(TrackFolders::inDataFolder(home.path().string())),
          journal(folders.journalFile()),
          files(track, folders, busy, journal) {
        clock.offsetSeconds = 2 * 3600;  // the device's zone is then -2 hours
        resetDeviceTimeZone();
    }
    ~TrackFilesTestBase() override { resetDeviceTimeZone(); }

    static std::string golden(const std::string& name) {
        return (testData() / "track" / name).string();
    }
    std::string inHome(const std::string& name) const { return (home.path() / name).string(); }

    FakeClock clock;
    TempDir home;
    ScriptedMessageBoxes boxes;

private:
    platform::ScopedClock useClock_;

protected:
    TrackFolders folders;
    Track track;
    FileBusy busy;
    FixJournal journal;
    TrackFiles files;
};

// The values the files store, point by point.
inline std::string storedValues(const TrackLayer& layer) {
    std::string out;
    for (const TrackPoint* p = layer.first(); p; p = p->next) {
        char line[256];
        std::snprintf(line, sizeof line, "%.17g %.17g %.9g %.9g %d %.9g %u %u %u %.17g %d\n",
                      p->lon, p->lat, static_cast<double>(p->speed),
                      static_cast<double>(p->altitude), p->heading, static_cast<double>(p->signal),
                      p->weight, p->flags & ~kDistanceDirty, p->colour, p->time, p->timeZone);
        out += line;
    }
    return out;
}

}  // namespace wendra::test
