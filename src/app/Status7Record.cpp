#include "app/Status7Record.h"

#include <cmath>
#include <cstdlib>

#include "records/RecordSplitter.h"
#include "records/RecordWriter.h"

namespace wendra {

namespace {

constexpr double kMetresPerKm = 1000.0;
constexpr double kFloorDistanceKm = 0.001;
constexpr int32_t kDefaultClimbWindow = 30;
constexpr double kLongitudeLimit = 1.0;  // half-turn units
constexpr double kLatitudeLimit = 0.5;
constexpr int32_t kLastUtmZone = 60;
// A day of fixes at one a second; more entries are no window anyone chose.
constexpr int32_t kLongestClimbWindow = 86400;

// A stored value outside its range is damage: the field keeps its default.
template <typename T, typename Valid>
void keepIf(T& field, T fallback, Valid valid) {
    if (!valid(field)) field = fallback;
}

bool isTableIndex(int32_t index) {
    return index >= 0 && index < static_cast<int32_t>(kPointCountTable.size());
}

DeleteMode deleteModeOf(int32_t word) {
    if (word & TrackWord::kDeleteArchive) return DeleteMode::Archive;
    if (word & TrackWord::kDeleteAutomatic) return DeleteMode::Automatic;
    if (word & TrackWord::kDeleteAsk) return DeleteMode::Ask;
    return DeleteMode::Never;
}

int32_t deleteBitsOf(DeleteMode mode) {
    switch (mode) {
        case DeleteMode::Ask:
            return TrackWord::kDeleteAsk;
        case DeleteMode::Automatic:
            return TrackWord::kDeleteAutomatic;
        case DeleteMode::Archive:
            return TrackWord::kDeleteArchive;
        case DeleteMode::Never:
            break;
    }
    return 0;
}

int32_t bitIf(bool on, int32_t bit) {
    return on ? bit : 0;
}

}  // namespace

void Status7Record::read(std::string_view fields) {
    splitRecord(fields, kTypes,
                {&trackWord, &viewWord, &maxPointsIndex, &maxLayerPointsIndex, &field5,
                 &trailingLengthKm, &manualScale, &centreLon, &centreLat, &newPointColour, &utmZone,
                 &lastPointNumber, &minPointDistanceM, &climbWindow});
    keepRanges();
    const int32_t infoLine = (viewWord & ViewWord::kInfoLineMask) >> ViewWord::kInfoLineShift;
    if (infoLine == ViewWord::kInfoLineNavigation) {
        viewWord = (viewWord & ~ViewWord::kInfoLineMask) |
                   (ViewWord::kInfoLineCoordinates << ViewWord::kInfoLineShift);
    }
}

// The splitter already refused numbers no field can hold (infinite, NaN, beyond int32).
void Status7Record::keepRanges() {
    const Status7Record d;
    keepIf(maxPointsIndex, d.maxPointsIndex, isTableIndex);
    keepIf(maxLayerPointsIndex, d.maxLayerPointsIndex, isTableIndex);
    keepIf(trailingLengthKm, d.trailingLengthKm, [](float km) { return km > 0.0f; });
    keepIf(manualScale, d.manualScale, [](float scale) { return scale > 0.0f; });
    keepIf(centreLon, d.centreLon, [](double lon) { return std::fabs(lon) <= kLongitudeLimit; });
    keepIf(centreLat, d.centreLat, [](double lat) { return std::fabs(lat) <= kLatitudeLimit; });
    keepIf(utmZone, d.utmZone,
           [](int32_t zone) { return zone != 0 && std::abs(zone) <= kLastUtmZone; });
    keepIf(lastPointNumber, d.lastPointNumber, [](int32_t number) { return number >= 0; });
    keepIf(climbWindow, d.climbWindow,
           [](int32_t entries) { return entries >= 0 && entries <= kLongestClimbWindow; });
}

std::string Status7Record::record() const {
    return formatRecord(
        "RIRUvo|Status7|%d|%d|%d|%d|%d|%0.2f|%.4f|%.12Lf|%.12Lf|%d|%d|%d|%0.2f|%d|\n", trackWord,
        viewWord, maxPointsIndex, maxLayerPointsIndex, field5,
        static_cast<double>(trailingLengthKm), static_cast<double>(manualScale),
        static_cast<long double>(centreLon), static_cast<long double>(centreLat), newPointColour,
        utmZone, lastPointNumber, static_cast<double>(minPointDistanceM), climbWindow);
}

void Status7Record::applyTo(TrackSettings& track) const {
    track.recordTrack = (trackWord & TrackWord::kRecordTrack) != 0;
    track.deleteMode = deleteModeOf(trackWord);
    track.trailing = (trackWord & TrackWord::kTrailing) != 0;
    track.joinFarPoints = (trackWord & TrackWord::kJoinFarPoints) != 0;
    track.noMerge = (trackWord & TrackWord::kNoMerge) != 0;
    track.maxPointsIndex = maxPointsIndex;
    track.maxLayerPointsIndex = maxLayerPointsIndex;
    track.trailingLengthKm = trailingLengthKm;
    track.newPointColour = newPointColour;
    const double minimumKm = minPointDistanceM / kMetresPerKm;
    track.minPointDistanceKm = minimumKm > 0.0 ? minimumKm : kFloorDistanceKm;
    track.climbWindow = climbWindow == 0 ? kDefaultClimbWindow : climbWindow;
}

void Status7Record::takeFrom(const TrackSettings& track) {
    trackWord = (trackWord & ~TrackWord::kTrackBits) |
                bitIf(track.recordTrack, TrackWord::kRecordTrack) | deleteBitsOf(track.deleteMode) |
                bitIf(track.trailing, TrackWord::kTrailing) |
                bitIf(track.joinFarPoints, TrackWord::kJoinFarPoints) |
                bitIf(track.noMerge, TrackWord::kNoMerge);
    maxPointsIndex = track.maxPointsIndex;
    maxLayerPointsIndex = track.maxLayerPointsIndex;
    trailingLengthKm = static_cast<float>(track.trailingLengthKm);
    newPointColour = track.newPointColour;
    minPointDistanceM = static_cast<float>(track.minPointDistanceKm * kMetresPerKm);
    climbWindow = track.climbWindow;
}

}  // namespace wendra
