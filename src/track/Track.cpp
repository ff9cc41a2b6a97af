#include "track/Track.h"

#include "track/TrackPoint.h"
#include "track/TrackSmoothing.h"

namespace wendra {

namespace {
constexpr char16_t kPaintLockLabel[] = u".PaintSetWait.1";
}

Track::Track()
    : ownWord_(std::make_unique<platform::LockWord>()),
      lock_(*ownWord_),
      layers_{TrackLayer(true), TrackLayer(), TrackLayer(), TrackLayer(), TrackLayer()} {}

Track::Track(platform::LockWord& lockWord)
    : lock_(lockWord),
      layers_{TrackLayer(true), TrackLayer(), TrackLayer(), TrackLayer(), TrackLayer()} {}

void Track::clearLayer(int index) {
    if (index != kMainLayer) {
        layer(index).clear();
        return;
    }
    platform::LockWord& word = lock_.word();
    word.lock(platform::LockWord::kPaintLock, kPaintLockLabel);
    {
        TrackLock::Hold hold(lock_, u".Init");
        TrackLayer& layer0 = main();
        layer0.clear();
        layer0.merge.reset();
        layer0.selection.cursor = nullptr;
        layer0.thinCursor = nullptr;
        layer0.thinCursorWeight = -1;
        layer0.tail = nullptr;
        bounds.reset();
    }
    word.unlock(platform::LockWord::kPaintLock);
    if (onMainCleared) onMainCleared();
}

void Track::numberLayerPoints(int index) {
    layer(index).numberPoints();
}

void Track::smoothAll() {
    TrackLock::Hold hold(lock_, u".Avr");
    smoothAllHeld();
}

void Track::smoothAllHeld() {
    smoothLayer(main(), settings.climbWindow);
}

std::u16string_view Track::toggleRecording() {
    TrackLock::Hold hold(lock_, u".Rec");
    if (TrackPoint* last = main().last()) {
        last->flags |= kSegmentEnd;
        main().touchPoint(*last);
    }
    settings.recordTrack = !settings.recordTrack;
    return settings.recordTrack ? u"Track: Activated" : u"Track: Deactivated";
}

void Track::endSegment(const char16_t* label) {
    TrackLock::Hold hold(lock_, label);
    if (TrackPoint* last = main().last()) {
        last->flags |= kSegmentEnd;
        main().touchPoint(*last);
    }
}

void Track::applySettings(const TrackSettings& newSettings) {
    TrackLock::Hold hold(lock_, u".Pack");
    const bool newClimbWindow = newSettings.climbWindow != settings.climbWindow;
    settings = newSettings;
    thinLayerHeld(kMainLayer);
    // The smoothed climb speeds were measured over the old window.
    if (newClimbWindow) smoothAllHeld();
}

}  // namespace wendra
