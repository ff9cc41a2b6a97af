#include "netmaps/TileSource.h"

#include <algorithm>

namespace wendra::netmaps {

namespace {

constexpr std::array<std::string_view, kTileSourceCount> kNames = {
    "Google-Sat",      "Google-SatRoad", "Google-Road",     "Google-Terrain",
    "OSM-Mapnik-Road", "V-Earth-Sat",    "V-Earth-SatRoad", "V-Earth-Road",
    "Yahoo-Sat",       "Yahoo-SatRoad",  "Yahoo-Road",      "OSM-Piste",
};

constexpr std::string_view kOsmTemplate = "https://tile.openstreetmap.org/*ZM1*/*GMX*/*GMY*.png";
constexpr std::string_view kPisteTemplate =
    "https://tiles.opensnowmap.org/pistes/*ZM1*/*GMX*/*GMY*.png";
constexpr std::string_view kOsmAttribution = "\xA9 OpenStreetMap contributors";
constexpr std::string_view kPisteAttribution = "\xA9 OpenStreetMap contributors, \xA9 OpenSnowMap";

}  // namespace

std::string_view tileSourceName(int index) {
    return isTileSource(index) ? kNames[static_cast<std::size_t>(index)] : std::string_view();
}

int tileSourceByName(std::u16string_view name) {
    for (int i = 0; i < kTileSourceCount; ++i) {
        const std::string_view candidate = kNames[static_cast<std::size_t>(i)];
        if (candidate.size() == name.size() &&
            std::equal(candidate.begin(), candidate.end(), name.begin()))
            return i;
    }
    return kNoTileSource;
}

std::string_view defaultTemplate(int index) {
    switch (index) {
        case source::kOsmMapnikRoad:
            return kOsmTemplate;
        case source::kOsmPiste:
            return kPisteTemplate;
        default:
            return {};
    }
}

std::string_view defaultAttribution(int index) {
    switch (index) {
        case source::kOsmMapnikRoad:
            return kOsmAttribution;
        case source::kOsmPiste:
            return kPisteAttribution;
        default:
            return {};
    }
}

int baseSource(int index) {
    switch (index) {
        case source::kGoogleSatRoad:
            return source::kGoogleSat;
        case source::kYahooSatRoad:
            return source::kYahooSat;
        case source::kOsmPiste:
            return source::kOsmMapnikRoad;
        default:
            return isTileSource(index) ? index : kNoTileSource;
    }
}

}  // namespace wendra::netmaps
