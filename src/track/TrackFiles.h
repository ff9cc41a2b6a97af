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

// What loading a file into a layer came to.
struct LayerLoad {
    bool opened = false;  // false: nothing could be read (failure says why)
    bool binary = false;  // the file is in the binary form
    int added = 0;        // points added to the layer
    long skipped = 0;     // records refused and damaged stretches passed over
    std::string failure;  // "is a folder", or the system's reason

    // Every record of the file is in the layer (or went into its thinning).
    bool whole() const { return opened && skipped == 0; }
    bool operator==(const LayerLoad&) const = default;
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
    // Appends the file's readable points to the layer after a segment break; `colour`
    // replaces theirs unless it is kNoColour. A file that cannot be read adds nothing.
    LayerLoad loadLayer(int layer, const std::string& path, int colour = kNoColour);
    // Layer 0 took in a file that did not load whole during this run: the backup, the
    // last good copy of the track, must not be replaced by what is left of it.
    bool mainLayerLostPoints() const { return mainLayerLostPoints_; }
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
    LayerLoad loadPoints(int layer, const std::string& path, int colour, int& memoryError);
    bool commitMainFile(const std::string& staged);
    void showStatus(std::u16string_view text) const;
    void notifyLoader() const;

    Track& track_;
    TrackFolders folders_;
    FileBusy& busy_;
    FixJournal& journal_;
    bool mainLayerLostPoints_ = false;
};

}  // namespace wendra
