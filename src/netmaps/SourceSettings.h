#pragma once
// What the user chose about the tile sources: active mask (never empty once normalised),
// displayed source, country code, per source URL template and attribution (byte texts,
// as the cache file keeps them), and the template update site (empty: no update).

#include <array>
#include <cstdint>
#include <string>

#include "netmaps/TileSource.h"

namespace wendra::netmaps {

inline constexpr std::uint32_t kAllSourcesMask = (1u << kTileSourceCount) - 1;
inline constexpr std::uint32_t kDefaultActiveSources =
    (1u << source::kOsmMapnikRoad) | (1u << source::kOsmPiste);
inline constexpr int kDefaultDisplayedSource = source::kOsmMapnikRoad;
// The edit fields and the request take at most this many characters.
inline constexpr std::size_t kMaxTemplateLength = 255;
inline constexpr std::size_t kMaxAttributionLength = 255;
inline constexpr std::size_t kMaxCountryCodeLength = 15;

struct SourceSettings {
    std::uint32_t activeSources = kDefaultActiveSources;
    int displayedSource = kDefaultDisplayedSource;
    std::string countryCode;
    std::array<std::string, kTileSourceCount> templates;
    std::array<std::string, kTileSourceCount> attributions;
    std::string updateSite;

    SourceSettings();

    bool active(int index) const {
        return isTileSource(index) && (activeSources >> index & 1u) != 0;
    }
    // The text shown while the source's tiles are painted: its own, else (an overlay
    // without one) its base source's; empty for an index that is not a source.
    const std::string& attribution(int index) const;
    // The lowest active index, or kNoTileSource when the mask is empty.
    int firstActive() const;
    // Keeps the mask to the twelve bits, with at least one set (the default when
    // none is), and the displayed source among the active ones (the first active
    // otherwise). True when the displayed source changed.
    bool normalise();
};

}  // namespace wendra::netmaps
