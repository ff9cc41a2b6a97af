#include "netmaps/TileSettings.h"

#include <cstdlib>

#include "records/Text.h"

namespace wendra::netmaps {

namespace {
constexpr char kProgramFolder[] = "wendra";
}

std::string defaultTileCacheFolder(const char* xdgCacheHome, const char* home) {
    // The base directory rules say a relative value is to be ignored.
    if (xdgCacheHome && xdgCacheHome[0] == '/') {
        std::string folder(xdgCacheHome);
        if (folder.back() != '/') folder.push_back('/');
        return folder + kProgramFolder;
    }
    std::string folder = home && home[0] ? home : "";
    return folder + "/.cache/" + kProgramFolder;
}

std::string defaultTileCacheFolder() {
    return defaultTileCacheFolder(std::getenv("XDG_CACHE_HOME"), std::getenv("HOME"));
}

TileServiceFields TileSettings::fields() const {
    TileServiceFields f;
    f.settingsFlags = settingsFlags;
    f.cacheFolder = widen(cacheFolder);
    f.validityDays = validity();
    return f;
}

void TileSettings::take(const TileServiceFields& f) {
    settingsFlags = f.settingsFlags;
    if (!f.cacheFolder.empty()) cacheFolder = narrow(f.cacheFolder);
    validityDays = f.validityDays > 0 ? f.validityDays : kDefaultValidityDays;
}

}  // namespace wendra::netmaps
