#pragma once
// The track's settings with their defaults. Most are fields of the configuration
// record RIRUvo|Status7| (field numbers in brackets); the configuration code maps
// them. Values are taken as given: the loader and the dialog apply their own floors.

#include <array>
#include <string>

namespace wendra {

enum class DeleteMode { Ask, Automatic, Never, Archive };

// Maximum number of points of a layer, indexed by maxPointsIndex or maxLayerPointsIndex.
constexpr std::array<int, 9> kPointCountTable = {1000,  2500,  5000,  7500, 10000,
                                                 15000, 20000, 30000, 45000};

// The table entry, with an index out of range clamped into the table.
int pointCountLimit(int tableIndex);

struct TrackSettings {
    bool recordTrack = true;                  // [1]
    DeleteMode deleteMode = DeleteMode::Ask;  // [1]
    bool trailing = false;                    // [1] "Trailing over"; off = "Permanent"
    bool joinFarPoints = false;               // [1]
    bool noMerge = false;                     // [1] "Min. between 2 pts:" unchecked
    int maxPointsIndex = 3;                   // [3] main layer
    int maxLayerPointsIndex = 1;              // [4] layers 1 to 4
    double trailingLengthKm = 1.0;            // [6]
    int newPointColour = 0;                   // [10]
    double minPointDistanceKm = 0.001;        // [13] stored in metres
    int climbWindow = 30;                     // [14] entries, also smoothing seconds
    std::u16string archiveFolder;             // configuration key "TraceArchivePath"

    int maxPoints(int layer) const {
        return pointCountLimit(layer == 0 ? maxPointsIndex : maxLayerPointsIndex);
    }
};

}  // namespace wendra
