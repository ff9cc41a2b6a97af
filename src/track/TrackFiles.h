#pragma once
// Writing, loading and storing the track layers' files. Every write goes to a new file
// that replaces the old one only once complete, and storing layer 0 commits together
// with emptying the journal, so a failure or a kill never leaves a half-written file or
// a journal that the stored file already contains.

#include <functional>
#include <string>
#include <string_view>

#include "track/FileBusy.h"
#include "track/FixJournal.h"
#include "track/Track.h"
#include "track/TrackFolders.h"

namespace wendra {

// What the shell shows while files are read or written.
struct TrackFileHooks {
    // The status line; an empty text hides it.
    std::function<void(std::u16string_view)> showStatus;
    // The map-image loader goes on with its work (every 1000 records loaded).
    std::function<void()> notifyLoader;
};

class TrackFiles {
public:
    static constexpr int kNoColour = -1;
    static constexpr int kNotifyEvery = 1000;

    TrackFiles(Track& track, TrackFolders folders, FileBusy& busy, FixJournal& journal);

    Track& track() { return track_; }
    FixJournal& journal() { return journal_; }
    const TrackFolders& folders() const { return folders_; }
    FileBusy& busy() { return busy_; }

    // "Old saving format": the layer files in text form.
    bool oldSavingFormat = false;
    TrackFileHooks hooks;

    // Writes every point of the layer, text (Trc5 lines) or binary (0xFF, then version 1
    // records). False after "Unable to open file!" ("Error!"), with the previous file
    // left as it was.
    bool writeLayer(int layer, const std::string& path, bool binary);
    // Appends the file's points to the layer after a segment break; `colour` replaces
    // theirs unless it is kNoColour. Returns the number of points added (0 for a file
    // that cannot be read).
    int loadLayer(int layer, const std::string& path, int colour = kNoColour);
    // Writes the layer's persistent file (empty when the layer is); for layer 0 the
    // journal is emptied in the same step. False when nothing changed on disk.
    bool storeLayer(int layer);
    // Completes a store of layer 0 that a kill interrupted after its commit, or drops
    // one interrupted before. Run before the files are read at start-up.
    void finishInterruptedStore();

    // Where a store of layer 0 puts the new file before committing.
    std::string stagedMainFile() const { return folders_.layerFile(0) + ".new"; }

private:
    bool writePoints(const TrackLayer& layer, const std::string& path, bool binary);
    int loadPoints(int layer, const std::string& path, int colour, int& memoryError);
    bool commitMainFile(const std::string& staged);
    void showStatus(std::u16string_view text) const;
    void notifyLoader() const;

    Track& track_;
    TrackFolders folders_;
    FileBusy& busy_;
    FixJournal& journal_;
};

}  // namespace wendra
