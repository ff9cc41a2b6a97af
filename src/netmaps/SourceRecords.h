#pragma once
// The source settings as tile cache file records: "NetBmpMgr" (with the service's own
// fields), "URL" per source, and "URLAttribution" and "URLUpdateSite", which the handheld
// skips as unknown. Readers change nothing from a line they cannot use.

#include <string>
#include <string_view>
#include <vector>

#include "netmaps/SourceSettings.h"

namespace wendra::netmaps {

inline constexpr int kDefaultServiceFlags = 2;  // "Download URL" on, downloading off
inline constexpr int kDefaultValidityDays = 60;

// The tile service's part of the "NetBmpMgr" record.
struct TileServiceFields {
    int settingsFlags = kDefaultServiceFlags;
    std::u16string cacheFolder;
    int validityDays = kDefaultValidityDays;
};

std::string netBmpMgrRecord(const TileServiceFields& service, const SourceSettings& sources);
// False, nothing changed, unless the line is a complete "NetBmpMgr" record.
bool readNetBmpMgrRecord(std::string_view line, TileServiceFields& service,
                         SourceSettings& sources);

// The "URL" records of the twelve sources, then the attributions and the update site.
std::vector<std::string> sourceRecords(const SourceSettings& sources);
// Applies one "URL", "URLAttribution" or "URLUpdateSite" record; false for any
// other line or one whose fields are unusable.
bool readSourceRecord(std::string_view line, SourceSettings& sources);

}  // namespace wendra::netmaps
