// wendra-tool tiles: the internet tiles seen from the command line. "cache" lists a data
// folder's tile cache index as the program would load it, with whether each cached
// file is still there.

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "Verbs.h"
#include "maps/MapCatalogue.h"
#include "netmaps/TileCacheFile.h"
#include "records/ClassicNumbers.h"

namespace wendra::tool {

namespace {

struct TilesCommand {
    const char* name;
    int (*run)(const Args& args);
    const char* usage;
};

std::string homeOption(const Args& args, const char* usage) {
    std::string home;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--home")
            home = optionValue(args, i);
        else
            fail(std::string("tiles: unknown argument ") + args[i] + " (expected " + usage + ")");
    }
    if (home.empty()) fail(std::string("tiles: expected ") + usage);
    return home;
}

void printTile(const netmaps::TileCache& cache, const netmaps::Tile& tile) {
    const std::string path = cache.cachePath(tile);
    std::error_code error;
    const bool exists = std::filesystem::is_regular_file(path, error);
    const bool active = tile.map && tile.map->active();
    std::printf(
        "{\"key\":%s,\"source\":%s,\"level\":%d,\"x\":%d,\"y\":%d,\"size\":%lld,"
        "\"stamp\":%.6f,\"active\":%s,\"path\":%s,\"exists\":%s}\n",
        jsonString(netmaps::tileKey(tile.address)).c_str(),
        jsonString(netmaps::tileSourceName(tile.source)).c_str(), tile.address.level,
        tile.address.x, tile.address.y, static_cast<long long>(tile.fileSize), tile.stamp,
        active ? "true" : "false", jsonString(path).c_str(), exists ? "true" : "false");
}

int runCache(const Args& args) {
    const std::string home = homeOption(args, "tiles cache --home DIR");
    if (!std::filesystem::is_directory(home)) fail("tiles cache: no folder " + home);
    maps::MapShell shell;
    maps::MapCatalogue catalogue(shell);
    netmaps::TileSettings settings;
    netmaps::SourceSettings sources;
    netmaps::TileCache cache(catalogue, settings, sources);
    netmaps::loadTileCacheFile(cache, home);
    for (const auto& tile : cache.tiles()) printTile(cache, *tile);
    return 0;
}

constexpr TilesCommand kTilesCommands[] = {
    {"cache", runCache, "cache --home DIR"},
};

}  // namespace

int runTiles(const Args& args) {
    const ClassicLocaleScope classic;
    if (!args.empty())
        for (const TilesCommand& command : kTilesCommands)
            if (args[0] == command.name) return command.run(args);
    std::string usage = "tiles: expected";
    const char* separator = " ";
    for (const TilesCommand& command : kTilesCommands) {
        usage += separator;
        usage += command.usage;
        separator = " | ";
    }
    fail(usage);
}

}  // namespace wendra::tool
