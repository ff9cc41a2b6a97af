// Reads arbitrary bytes as a tile cache index into a cache with its catalogue; every
// tile line that reads writes back to a line that reads the same, and the tiles the
// cache took are valid, in cache and shown by one map each.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "MemoryInput.h"
#include "maps/MapCatalogue.h"
#include "netmaps/TileCacheFile.h"
#include "records/RecordFile.h"

namespace {

using namespace wendra::netmaps;

void check(bool condition) {
    if (!condition) __builtin_trap();
}

void checkLine(std::string_view line) {
    const auto first = parseNetBmpRecord(line);
    if (!first) return;
    Tile tile;
    tile.address = first->address;
    tile.source = first->source;
    tile.fileSize = first->fileSize;
    tile.stamp = first->stamp.value_or(0);
    const std::string written = netBmpRecord(tile, first->age, first->active.value_or(true));
    const auto second = parseNetBmpRecord(written);
    check(second.has_value() && second->address == first->address &&
          second->source == first->source && second->fileSize == first->fileSize &&
          second->age == first->age);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const wendra::fuzz::MemoryInput input("tile-index");
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        checkLine(text.substr(start, end - start));
        start = end + 1;
    }

    input.store(data, size);
    wendra::maps::MapShell shell;
    wendra::maps::MapCatalogue catalogue(shell);
    TileSettings settings;
    SourceSettings sources;
    TileCache cache(catalogue, settings, sources);
    wendra::RecordFile file;
    if (!file.open(input.path(), wendra::RecordFileMode::Read)) return 0;
    const int shown = readTileCacheRecords(cache, file);
    check(shown >= 0 && static_cast<std::size_t>(shown) <= cache.tiles().size());
    for (const auto& tile : cache.tiles()) {
        check(valid(tile->address) && isTileSource(tile->source) && tile->inCache());
        check(tile->fileSize >= 0);
    }
    check(cache.cachedTiles() == static_cast<int>(cache.tiles().size()));
    return 0;
}
