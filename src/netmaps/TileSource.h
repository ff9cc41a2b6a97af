#pragma once
// The twelve tile sources in their fixed order (files store the index): names, default
// templates and attributions, and which are overlays on another source's images.
// Indexes outside 0..11 are not sources: empty texts and kNoTileSource.

#include <array>
#include <string>
#include <string_view>

namespace wendra::netmaps {

inline constexpr int kTileSourceCount = 12;
inline constexpr int kNoTileSource = -1;

namespace source {
inline constexpr int kGoogleSat = 0;
inline constexpr int kGoogleSatRoad = 1;
inline constexpr int kOsmMapnikRoad = 4;
inline constexpr int kYahooSat = 8;
inline constexpr int kYahooSatRoad = 9;
inline constexpr int kOsmPiste = 11;
}  // namespace source

inline constexpr bool isTileSource(int index) {
    return index >= 0 && index < kTileSourceCount;
}

// "Google-Sat" ... "OSM-Piste"; also the folder and the map group of its tiles.
std::string_view tileSourceName(int index);
// The index whose name this is, or kNoTileSource.
int tileSourceByName(std::u16string_view name);
// Empty for the slots that have no freely usable server of their kind.
std::string_view defaultTemplate(int index);
// What the servers' licences ask to be shown with their tiles.
std::string_view defaultAttribution(int index);

// The source whose template gives the base image: 0 for 1, 8 for 9, 4 for 11, the
// source itself otherwise. The missing-tile signature of the base belongs to it.
int baseSource(int index);
// Whether the source's own template gives a PNG overlay blended on the base.
inline bool isOverlaySource(int index) {
    return isTileSource(index) && baseSource(index) != index;
}

}  // namespace wendra::netmaps
