#pragma once
// The track's part of starting and stopping the program: reloading the layers and
// offering to restore a track that a kill left in the journal, and at the end the
// backup, the archive and the store of every layer.

#include <chrono>

#include "track/TrackFiles.h"

namespace wendra {

// Files this small hold no point worth asking about.
constexpr long long kSmallestTrackFile = 10;

struct StartupOutcome {
    bool recoveryPending = false;  // the journal held fixes (the Automatic rule stays off)
    bool restored = false;         // the user had them restored
};

// The recovery check, the layer files, then the recovery question. `pause` is the
// wait before the layer files are read.
StartupOutcome startupLoad(TrackFiles& files,
                           std::chrono::milliseconds pause = std::chrono::milliseconds(100));

// Keeps the file as it is under "NAME.damaged" (then "NAME.damaged1", ...), never
// replacing an earlier copy. Returns the name used, empty when none could be made.
// A layer file that does not load whole at start-up goes there, with a message.
std::string keepDamagedFile(const std::string& path);

// Replays the journal into layer 0 as recording would have (merging, stops, gaps,
// trailing, thinning), smooths once, stores. Returns the number of fixes replayed.
std::size_t restoreFromJournal(TrackFiles& files);

// Backup, archive (delete mode Archive), then the store of layers 0 to 4. False when a
// file could not be written (its message was shown). The backup stays as it was when
// layer 0 lost points on loading: it is then the better copy of the track.
bool shutdownSave(TrackFiles& files);

// "%02d%02d%02d-%02d%02d%02d.wdt" in the archive folder, from the first point's time.
std::string archiveFileName(const std::string& folder, double firstPointTime);

}  // namespace wendra
