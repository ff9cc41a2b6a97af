#pragma once
// The five track layers with the track settings and the track lock. Layer 0, the
// main layer, records fixes; layers 1 to 4 hold loaded tracks. Every public operation
// takes the track lock with its label; the *Held variants expect the caller to hold it.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "platform/Sync.h"
#include "track/TrackBounds.h"
#include "track/TrackFix.h"
#include "track/TrackLayer.h"
#include "track/TrackLock.h"
#include "track/TrackSettings.h"
#include "track/TrackViewFrame.h"

namespace wendra {

class TrackPoint;

class Track {
public:
    static constexpr int kLayerCount = 5;
    static constexpr int kMainLayer = 0;

    // With a lock word of its own (tools and tests).
    Track();
    // Sharing the application's lock word, whose paint bit the view takes.
    explicit Track(platform::LockWord& lockWord);
    Track(const Track&) = delete;
    Track& operator=(const Track&) = delete;

    TrackLayer& layer(int index) { return layers_[static_cast<std::size_t>(index)]; }
    const TrackLayer& layer(int index) const { return layers_[static_cast<std::size_t>(index)]; }
    TrackLayer& main() { return layers_[kMainLayer]; }
    TrackLock& lock() { return lock_; }

    // Written only under the track lock once a reader thread runs (applySettings; the
    // view updates viewFrame and bounds while it holds the lock for painting).
    TrackSettings settings;
    TrackViewFrame viewFrame;
    TrackBounds bounds;
    // Called after the main layer was cleared, so that the view resets what depends on it.
    std::function<void()> onMainCleared;

    // Records a fix into the main layer while recording is on: refreshes a duplicate,
    // merges a close fix, closes a finished merge (a stop leaves two points), appends
    // a point, then trails and thins. smoothNow is off while replaying the journal.
    void addFix(const TrackFix& fix, bool smoothNow);

    // Deletes every point of the layer; for the main layer (paint lock ".PaintSetWait.1",
    // then ".Init") also the merge, the selection cursor and the bounds, then onMainCleared.
    void clearLayer(int index);

    // Merges neighbouring points of least weight until the layer fits its limit (".Pack").
    void thinLayer(int index);
    void thinLayerHeld(int index);

    // Brings index, cumDistKm and cumTime of the main layer up to date from the first
    // stale point (".Len"); returns cumDistKm of upTo, else of the last point, 0 if empty.
    float cumulativeValues(const TrackPoint* upTo = nullptr);
    float cumulativeValuesHeld(const TrackPoint* upTo = nullptr);

    // Smooths every point of the main layer (".Avr").
    void smoothAll();
    void smoothAllHeld();

    // index = 0, 1, ... along a loaded layer.
    void numberLayerPoints(int index);

    // Ends the segment at the last point, flips recordTrack and returns the transient
    // message to show: "Track: Deactivated" or "Track: Activated".
    std::u16string_view toggleRecording();
    // Sets SegmentEnd on the last point of the main layer (recording switched off,
    // or the receiver silent for more than a minute), under the given lock label.
    void endSegment(const char16_t* label);

    // Installs new settings (the track dialog's OK) and thins the main layer at once;
    // a new climbWindow smooths it again. The live climb windows are the caller's.
    void applySettings(const TrackSettings& newSettings);

private:
    bool addFixHeld(const TrackFix& fix, bool smoothNow);
    bool mergeIntoLast(const TrackFix& fix, double lon, double lat, bool smoothNow);
    bool closeMerge(bool smoothNow);
    bool appendFix(const TrackFix& fix, double lon, double lat, bool smoothNow);
    void trail();
    void finishPoint(TrackPoint& point, bool smoothNow);
    void keepSeed(bool join);

    // Where the next cumulative pass may start while only the end of the main layer
    // changed since `revision`; join is the setting the values were computed with.
    struct CumulativeSeed {
        TrackPoint* point = nullptr;
        std::uint64_t revision = 0;
        bool join = false;
    };

    std::unique_ptr<platform::LockWord> ownWord_;
    TrackLock lock_;
    std::array<TrackLayer, kLayerCount> layers_;
    CumulativeSeed cumulative_;
};

}  // namespace wendra
