#pragma once
// The map-view state record RIRUvo|Status7|: fourteen fields shared by the track, the
// view, the coordinate format and the points. Held here exactly as stored; the track's
// fields go to and come from TrackSettings, the others wait for the view to take them.

#include <cstdint>
#include <string>
#include <string_view>

#include "track/TrackSettings.h"

namespace wendra {

// The track's bits of the first field. The view's zoom-mode bits and the route's
// settings share the word; they are kept as stored (0x4000: the track is left out of
// the automatic fit).
struct TrackWord {
    static constexpr int32_t kRecordTrack = 0x0001;
    static constexpr int32_t kDeleteAutomatic = 0x0002;
    static constexpr int32_t kDeleteAsk = 0x0004;
    static constexpr int32_t kDeleteArchive = 0x0008;
    static constexpr int32_t kTrailing = 0x0010;
    static constexpr int32_t kJoinFarPoints = 0x0020;
    static constexpr int32_t kNoMerge = 0x0040;
    static constexpr int32_t kTrackBits = 0x007F;
    static constexpr int32_t kTrackExcludedFromFit = 0x4000;
};

// The display settings word (second field): packed fields and option bits.
struct ViewWord {
    static constexpr int kInfoLineShift = 24;
    static constexpr int32_t kInfoLineMask = 0x7 << kInfoLineShift;
    static constexpr int32_t kInfoLineNavigation = 4;
    static constexpr int32_t kInfoLineCoordinates = 1;
    static constexpr int32_t kFullScreen = 0x100;  // "Full screen"
    // 0x40, 0x80, 0x800, 0x1000, 0x4000, 0x8000, 0x10000, 0x40000 with coordinates format
    // 2, information line 1 and "Limit zoom auto" 1.
    static constexpr int32_t kDefault = 383168 | 2 | (1 << kInfoLineShift) | (1 << 29);
};

struct Status7Record {
    static constexpr std::string_view kKind = "RIRUvo|Status7";
    static constexpr std::string_view kTypes = "dddddffFFdddfd";
    static constexpr float kInitialScale = 400750176.0f;

    int32_t trackWord = TrackWord::kRecordTrack | TrackWord::kDeleteAsk;  // 1
    int32_t viewWord = ViewWord::kDefault;                                // 2
    int32_t maxPointsIndex = 3;                                           // 3
    int32_t maxLayerPointsIndex = 1;                                      // 4
    int32_t field5 = 0;                 // 5: a track setting no reader here interprets
    float trailingLengthKm = 1.0f;      // 6
    float manualScale = kInitialScale;  // 7
    double centreLon = 0.0;             // 8, half-turn units
    double centreLat = 0.0;             // 9
    int32_t newPointColour = 0;         // 10
    int32_t utmZone = 31;               // 11, negative in the southern hemisphere
    int32_t lastPointNumber = 0;        // 12
    float minPointDistanceM = 1.0f;     // 13
    int32_t climbWindow = 30;           // 14

    // The fields after "RIRUvo|Status7|". An information line left in navigation mode
    // comes back showing the coordinates. A value outside its field's range (a table
    // index, a centre off the earth, a scale of 0 or less, a zone beyond 1-60, ...)
    // keeps the field's default.
    void read(std::string_view fields);
    std::string record() const;

    // The stored values with their floors: a minimum distance of 0 or less becomes
    // 1 m, a climb window of 0 becomes 30. Folders are not the record's.
    void applyTo(TrackSettings& track) const;
    void takeFrom(const TrackSettings& track);

private:
    void keepRanges();
};

}  // namespace wendra
