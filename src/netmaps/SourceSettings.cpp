#include "netmaps/SourceSettings.h"

namespace wendra::netmaps {

SourceSettings::SourceSettings() {
    for (int i = 0; i < kTileSourceCount; ++i) {
        templates[static_cast<std::size_t>(i)] = defaultTemplate(i);
        attributions[static_cast<std::size_t>(i)] = defaultAttribution(i);
    }
}

const std::string& SourceSettings::attribution(int index) const {
    static const std::string kNone;
    if (!isTileSource(index)) return kNone;
    const std::string& own = attributions[static_cast<std::size_t>(index)];
    if (!own.empty()) return own;
    return attributions[static_cast<std::size_t>(baseSource(index))];
}

int SourceSettings::firstActive() const {
    for (int i = 0; i < kTileSourceCount; ++i)
        if (active(i)) return i;
    return kNoTileSource;
}

bool SourceSettings::normalise() {
    activeSources &= kAllSourcesMask;
    if (activeSources == 0) activeSources = kDefaultActiveSources;
    if (active(displayedSource)) return false;
    displayedSource = firstActive();
    return true;
}

}  // namespace wendra::netmaps
