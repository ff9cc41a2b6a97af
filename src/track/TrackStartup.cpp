#include "track/TrackStartup.h"

#include <sys/stat.h>

#include <cstdio>
#include <thread>

#include "platform/MessageBox.h"
#include "records/DayNumber.h"
#include "records/Text.h"
#include "track/TrackPoint.h"

namespace wendra {

namespace {

constexpr std::u16string_view kConfirmation = u"Confirmation";
constexpr std::u16string_view kContinueQuestion = u"Do you want to continue previous track?";
constexpr std::u16string_view kRestoreQuestion =
    u"Wendra did not finish properly. Would you like to restore the previous track?";
constexpr int kYearsPerCentury = 100;

bool askYesNo(std::u16string_view text) {
    return platform::showMessage(text, kConfirmation, platform::Buttons::YesNo,
                                 platform::Icon::Question) == platform::Answer::Yes;
}

bool worthLoading(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && info.st_size > kSmallestTrackFile;
}

void loadMainLayer(TrackFiles& files, bool recoveryPending) {
    const std::string path = files.folders().layerFile(Track::kMainLayer);
    if (!worthLoading(path)) return;
    Track& track = files.track();
    if (recoveryPending || track.settings.deleteMode != DeleteMode::Ask ||
        askYesNo(kContinueQuestion)) {
        files.loadLayer(Track::kMainLayer, path);
        return;
    }
    track.clearLayer(Track::kMainLayer);
    files.storeLayer(Track::kMainLayer);
}

}  // namespace

StartupOutcome startupLoad(TrackFiles& files, std::chrono::milliseconds pause) {
    files.finishInterruptedStore();
    StartupOutcome outcome;
    outcome.recoveryPending = files.journal().recordCount() > 0;
    std::this_thread::sleep_for(pause);
    loadMainLayer(files, outcome.recoveryPending);
    for (int layer = 1; layer < Track::kLayerCount; ++layer) {
        const std::string path = files.folders().layerFile(layer);
        if (worthLoading(path)) files.loadLayer(layer, path);
    }
    if (files.journal().recordCount() == 0) return outcome;
    if (askYesNo(kRestoreQuestion)) {
        restoreFromJournal(files);
        outcome.restored = true;
    } else {
        files.track().clearLayer(Track::kMainLayer);
        files.storeLayer(Track::kMainLayer);
    }
    return outcome;
}

std::size_t restoreFromJournal(TrackFiles& files) {
    if (files.hooks.showStatus) files.hooks.showStatus(u"Restoration...");
    Track& track = files.track();
    // Every journaled fix was recorded: recording switched off since must not drop them.
    const bool recordTrack = track.settings.recordTrack;
    track.settings.recordTrack = true;
    std::size_t replayed = 0;
    files.journal().forEach([&](const Fix& fix) {
        track.addFix(trackFixOf(fix), false);
        ++replayed;
        return true;
    });
    track.settings.recordTrack = recordTrack;
    track.smoothAll();
    if (files.hooks.showStatus) files.hooks.showStatus(u"");
    files.storeLayer(Track::kMainLayer);
    return replayed;
}

std::string archiveFileName(const std::string& folder, double firstPointTime) {
    const platform::CivilTime t = civilFromDayNumber(firstPointTime);
    char name[64];
    std::snprintf(name, sizeof name, "/%02d%02d%02d-%02d%02d%02d.wdt", t.year % kYearsPerCentury,
                  t.month, t.day, t.hour, t.minute, t.second);
    return folder + name;
}

bool shutdownSave(TrackFiles& files) {
    Track& track = files.track();
    bool ok = files.writeLayer(Track::kMainLayer, files.folders().backupFile(), true);
    const TrackPoint* first = track.main().first();
    const std::u16string& archiveFolder = track.settings.archiveFolder;
    if (track.settings.deleteMode == DeleteMode::Archive && !archiveFolder.empty() && first) {
        const std::string path = archiveFileName(toUtf8(archiveFolder), first->time);
        // Cleared only once the archive holds it.
        if (files.writeLayer(Track::kMainLayer, path, false)) {
            track.clearLayer(Track::kMainLayer);
        } else {
            ok = false;
        }
    }
    for (int layer = 0; layer < Track::kLayerCount; ++layer) ok = files.storeLayer(layer) && ok;
    return ok;
}

}  // namespace wendra
