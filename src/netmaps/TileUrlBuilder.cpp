#include "netmaps/TileUrlBuilder.h"

#include <array>
#include <cstdint>

namespace wendra::netmaps {

namespace {

constexpr std::string_view kInverseZoom = "*IZM*";
constexpr std::string_view kSchemeEnd = "://";
constexpr char kQuadLetters[] = "tqsr";

std::string decimal(std::int64_t value) {
    return std::to_string(value);
}

// One letter per level bit of x and y from the most significant; the top bit is
// always zero, so the first letter is "t".
std::string quadLetters(const TileAddress& tile) {
    std::string letters;
    for (int bit = tile.level - 1; bit >= 0; --bit) {
        const int xBit = tile.x >> bit & 1;
        const int yBit = tile.y >> bit & 1;
        letters.push_back(kQuadLetters[2 * xBit + yBit]);
    }
    return letters;
}

// The quadkey one level coarser, rows counted from the north.
std::string quadKey(const TileAddress& tile) {
    const int row = rowFromNorth(tile);
    std::string digits;
    for (int bit = tile.level - 2; bit >= 0; --bit)
        digits.push_back(static_cast<char>('0' + 2 * (row >> bit & 1) + (tile.x >> bit & 1)));
    return digits;
}

// Where an empty value's parameter starts: its "&"; else just after the "?" or the
// last "/" of the path, so that the scheme and the host always stay.
std::size_t emptyValueStart(const std::string& url, std::size_t at) {
    if (at == 0) return at;
    const std::size_t amp = url.rfind('&', at - 1);
    if (amp != std::string::npos) return amp;
    const std::size_t scheme = url.find(kSchemeEnd);
    const std::size_t host = scheme == std::string::npos ? 0 : scheme + kSchemeEnd.size();
    const std::size_t path = url.find('/', host);
    if (path == std::string::npos || path >= at) return at;
    const std::size_t query = url.rfind('?', at - 1);
    if (query != std::string::npos && query > path) return query + 1;
    return url.rfind('/', at - 1) + 1;
}

void replaceAll(std::string& url, std::string_view placeholder, const std::string& value) {
    std::size_t at = url.find(placeholder);
    while (at != std::string::npos) {
        const std::size_t start = value.empty() ? emptyValueStart(url, at) : at;
        url.replace(start, at + placeholder.size() - start, value);
        at = url.find(placeholder, start + value.size());
    }
}

}  // namespace

std::string expandTemplate(std::string_view pattern, const TileAddress& tile, int serverNumber,
                           std::string_view countryCode) {
    if (tile.level > kInverseZoomTop && pattern.find(kInverseZoom) != std::string_view::npos)
        return {};
    const std::int64_t n = tilesPerAxis(tile.level);
    const std::string country(countryCode);
    const std::array<std::pair<std::string_view, std::string>, 11> values = {{
        {"*GMId*", quadLetters(tile)},
        {"*GMX*", decimal(tile.x)},
        {"*GMY*", decimal(rowFromNorth(tile))},
        {"*ZM1*", decimal(tile.level - 1)},
        {kInverseZoom, decimal(kInverseZoomTop - tile.level)},
        {"*ZM*", decimal(tile.level)},
        {"*YMY*", decimal(tile.y - n / 2)},
        {"*VEId*", quadKey(tile)},
        {"*RND*", decimal(serverNumber)},
        {"*LAN*", country},
        {"*LAN-LAN*", country.empty() ? std::string() : country + "-" + country},
    }};
    std::string url(pattern);
    for (const auto& [placeholder, value] : values) replaceAll(url, placeholder, value);
    return url;
}

TileUrls TileUrlBuilder::build(const TileAddress& tile, int source,
                               const SourceSettings& settings) {
    TileUrls urls;
    if (!isTileSource(source)) return urls;
    urls.baseSource = baseSource(source);
    const auto& templates = settings.templates;
    urls.base = expandTemplate(templates[static_cast<std::size_t>(urls.baseSource)], tile, server_,
                               settings.countryCode);
    if (urls.baseSource != source)
        urls.overlay = expandTemplate(templates[static_cast<std::size_t>(source)], tile, server_,
                                      settings.countryCode);
    server_ = (server_ + 1) % kServerCount;
    return urls;
}

}  // namespace wendra::netmaps
