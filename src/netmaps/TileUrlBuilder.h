#pragma once
// Turns a source's templates into the URLs of one tile (base and, for an overlay source,
// overlay); each tile moves the server number on, 0 to 3. Not thread-safe (one builder
// per requesting thread); addresses must be valid.

#include <string>
#include <string_view>

#include "netmaps/SourceSettings.h"
#include "netmaps/TileAddress.h"

namespace wendra::netmaps {

inline constexpr int kServerCount = 4;
// Templates with *IZM* have no tiles finer than this level.
inline constexpr int kInverseZoomTop = 18;

struct TileUrls {
    std::string base;                // empty: no request
    std::string overlay;             // empty: no overlay
    int baseSource = kNoTileSource;  // whose missing-tile signature the base answers
};

// Every placeholder of `pattern` replaced for the tile. A placeholder whose value is
// empty goes with the parameter it ends ("&hl=*LAN*" as a whole).
std::string expandTemplate(std::string_view pattern, const TileAddress& tile, int serverNumber,
                           std::string_view countryCode);

class TileUrlBuilder {
public:
    // Empty URLs for an index that is not a source (the server number stays).
    TileUrls build(const TileAddress& tile, int source, const SourceSettings& settings);
    int serverNumber() const { return server_; }

private:
    int server_ = 0;
};

}  // namespace wendra::netmaps
