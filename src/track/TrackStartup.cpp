#include "track/TrackStartup.h"

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
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
constexpr std::u16string_view kErrorTitle = u"Error!";
// Copies of earlier damaged files are never replaced: the next free number is taken.
constexpr int kMaxDamagedCopies = 100;

bool askYesNo(std::u16string_view text) {
    return platform::showMessage(text, kConfirmation, platform::Buttons::YesNo,
                                 platform::Icon::Question) == platform::Answer::Yes;
}

bool worthLoading(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && info.st_size > kSmallestTrackFile;
}

std::string fileName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

// Loads a layer file; one that did not load whole is kept aside and the user told.
void loadLayerFile(TrackFiles& files, int layer, const std::string& path) {
    const LayerLoad load = files.loadLayer(layer, path);
    if (!load.opened || load.whole()) return;
    const std::string kept = keepDamagedFile(path);
    std::string text = "Some points of " + fileName(path) + " could not be read.";
    text += kept.empty() ? " The file could not be kept aside."
                         : "\nThe file is kept as " + fileName(kept);
    platform::showMessage(widen(text), kErrorTitle);
}

void loadMainLayer(TrackFiles& files, bool recoveryPending) {
    const std::string path = files.folders().layerFile(Track::kMainLayer);
    if (!worthLoading(path)) return;
    Track& track = files.track();
    if (recoveryPending || track.settings.deleteMode != DeleteMode::Ask ||
        askYesNo(kContinueQuestion)) {
        loadLayerFile(files, Track::kMainLayer, path);
        return;
    }
    track.clearLayer(Track::kMainLayer);
    files.storeLayer(Track::kMainLayer);
}

}  // namespace

std::string keepDamagedFile(const std::string& path) {
    for (int n = 0; n < kMaxDamagedCopies; ++n) {
        const std::string kept = path + ".damaged" + (n == 0 ? "" : std::to_string(n));
        // A copy, not a second link: whatever later writes the layer file must not
        // reach it. Without copy_options the copy refuses to replace a file.
        std::error_code error;
        if (std::filesystem::copy_file(path, kept, std::filesystem::copy_options::none, error))
            return kept;
        if (!std::filesystem::exists(kept, error)) return {};  // the folder refuses
    }
    return {};
}

StartupOutcome startupLoad(TrackFiles& files, std::chrono::milliseconds pause) {
    files.finishInterruptedStore();
    StartupOutcome outcome;
    outcome.recoveryPending = files.journal().recordCount() > 0;
    std::this_thread::sleep_for(pause);
    loadMainLayer(files, outcome.recoveryPending);
    for (int layer = 1; layer < Track::kLayerCount; ++layer) {
        const std::string path = files.folders().layerFile(layer);
        if (worthLoading(path)) loadLayerFile(files, layer, path);
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
    bool ok = files.mainLayerLostPoints() ||
              files.writeLayer(Track::kMainLayer, files.folders().backupFile(), true);
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
