#include "track/TrackSettings.h"

#include <algorithm>

namespace wendra {

int pointCountLimit(int tableIndex) {
    const int last = static_cast<int>(kPointCountTable.size()) - 1;
    return kPointCountTable[static_cast<std::size_t>(std::clamp(tableIndex, 0, last))];
}

}  // namespace wendra
