// wendra-tool tiles: the internet tiles seen from the command line. "cache" lists a data
// folder's tile cache index as the program would load it, with whether each cached
// file is still there; "url" shows the addresses of one tile; "fetch" runs the tile
// service's passes for a view against the folder's sources and keeps what it got.

#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "FolderClaim.h"
#include "Verbs.h"
#include "maps/MapCatalogue.h"
#include "netmaps/TileCacheFile.h"
#include "netmaps/TileService.h"
#include "netmaps/TileUrlBuilder.h"
#include "platform/Utf8.h"
#include "platform/linux/CurlHttp.h"
#include "records/ClassicNumbers.h"

namespace wendra::tool {

namespace {

constexpr int kMostSide = 100000;  // pixels a side of the view asked for

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

// The folder's tile settings, sources and cached tiles, as the program loads them.
struct LoadedCache {
    explicit LoadedCache(const std::string& home) { netmaps::loadTileCacheFile(cache, home); }
    maps::MapShell shell;
    maps::MapCatalogue catalogue{shell};
    netmaps::TileSettings settings;
    netmaps::SourceSettings sources;
    netmaps::TileCache cache{catalogue, settings, sources};
};

int sourceArgument(const std::string& text) {
    int source = netmaps::kNoTileSource;
    if (!text.empty() && std::isdigit(static_cast<unsigned char>(text[0])))
        source = static_cast<int>(parseInteger(text, "SOURCE"));
    else
        source = netmaps::tileSourceByName(fromUtf8(text));
    if (!netmaps::isTileSource(source))
        fail("tiles: SOURCE is an index 0 to 11 or a source name such as OSM-Mapnik-Road, not " +
             text);
    return source;
}

int runUrl(const Args& args) {
    constexpr const char* kUsage = "tiles url SOURCE LEVEL X Y [--home DIR]";
    Args positional;
    std::string home;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--home")
            home = optionValue(args, i);
        else
            positional.push_back(args[i]);
    }
    if (positional.size() != 4) fail(std::string("tiles: expected ") + kUsage);
    const int source = sourceArgument(positional[0]);
    netmaps::TileAddress tile;
    tile.level = static_cast<int>(parseInteger(positional[1], "LEVEL"));
    if (tile.level < netmaps::kMinTileLevel || tile.level > netmaps::kMaxTileLevel)
        fail("tiles url: LEVEL is 1 to 21");
    tile.x = static_cast<int>(parseInteger(positional[2], "X"));
    tile.y = static_cast<int>(parseInteger(positional[3], "Y"));
    if (!netmaps::valid(tile))
        fail("tiles url: X and Y are 0 to " +
             std::to_string(netmaps::tilesPerAxis(tile.level) - 1) + " at level " +
             std::to_string(tile.level) + " (Y from the south)");
    std::optional<LoadedCache> loaded;
    netmaps::SourceSettings defaults;
    if (!home.empty()) loaded.emplace(home);
    const netmaps::SourceSettings& sources = loaded ? loaded->sources : defaults;
    netmaps::TileUrlBuilder builder;
    const netmaps::TileUrls urls = builder.build(tile, source, sources);
    std::printf(
        "{\"source\":%s,\"key\":%s,\"base\":%s,\"overlay\":%s,\"zoom\":%d,"
        "\"column\":%d,\"row\":%d}\n",
        jsonString(netmaps::tileSourceName(source)).c_str(),
        jsonString(netmaps::tileKey(tile)).c_str(), jsonString(urls.base).c_str(),
        jsonString(urls.overlay).c_str(), tile.level - 1, tile.x, netmaps::rowFromNorth(tile));
    return 0;
}

struct FetchRequest {
    std::string home;
    netmaps::TileViewInput view;
    int passes = 100;
    std::string certificateFile;
};

FetchRequest parseFetch(const Args& args) {
    constexpr const char* kUsage =
        "tiles fetch --home DIR --at LAT,LON --scale S [--size WxH] [--passes N] [--ca-file F]";
    FetchRequest r;
    bool at = false, scale = false;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--home") {
            r.home = optionValue(args, i);
        } else if (args[i] == "--at") {
            parsePosition(optionValue(args, i), r.view.latitude, r.view.longitude);
            at = true;
        } else if (args[i] == "--scale") {
            r.view.scale = parseScale(optionValue(args, i));
            scale = true;
        } else if (args[i] == "--size") {
            parseScreenSize(optionValue(args, i), kMostSide, r.view.width, r.view.height);
        } else if (args[i] == "--passes") {
            r.passes = static_cast<int>(parseInteger(optionValue(args, i), "--passes"));
            if (r.passes < 1 || r.passes > 1000000) fail("--passes: 1 to 1000000");
        } else if (args[i] == "--ca-file") {
            r.certificateFile = optionValue(args, i);
        } else {
            fail(std::string("tiles fetch: unknown argument ") + args[i] + " (expected " + kUsage +
                 ")");
        }
    }
    if (r.home.empty() || !at || !scale) fail(std::string("tiles: expected ") + kUsage);
    r.view.placed = true;
    return r;
}

const char* outcomeName(netmaps::TileReport::Outcome outcome) {
    using Outcome = netmaps::TileReport::Outcome;
    switch (outcome) {
        case Outcome::Cached:
            return "cached";
        case Outcome::NoTile:
            return "no tile";
        case Outcome::Failed:
            return "failed";
        case Outcome::NotConverted:
            return "not converted";
        case Outcome::Refreshed:
            return "refreshed";
        case Outcome::NotModified:
            return "not modified";
        case Outcome::Cancelled:
            return "cancelled";
    }
    return "";
}

void printReport(const netmaps::TileReport& report) {
    std::printf(
        "{\"key\":%s,\"source\":%s,\"level\":%d,\"x\":%d,\"y\":%d,"
        "\"status\":%s,\"error\":%d,\"bytes\":%lld,\"path\":%s,\"probe\":%s}\n",
        jsonString(netmaps::tileKey(report.address)).c_str(),
        jsonString(netmaps::tileSourceName(report.source)).c_str(), report.address.level,
        report.address.x, report.address.y, jsonString(outcomeName(report.outcome)).c_str(),
        report.error, static_cast<long long>(report.bytes), jsonString(report.path).c_str(),
        report.probe ? "true" : "false");
    std::fflush(stdout);
}

// The passes stop early once the view is complete and a pass found nothing to do, or
// when a request failed (the program would wait for its back-off).
int runFetch(const Args& args) {
    FetchRequest request = parseFetch(args);
    const FolderClaim claim(request.home);
    LoadedCache loaded(request.home);
    request.view.displayedSource = loaded.sources.displayedSource;
    platform::HttpSession session;
    session.setCertificateFile(request.certificateFile);
    platform::CurlHttp http(session);
    netmaps::TileService service(loaded.cache, http, request.home);
    service.setView(request.view);
    service.checkOnce();
    for (int pass = 0; pass < request.passes; ++pass) {
        const auto before = service.reportCount();
        service.run();
        if (service.reportCount() != before) printReport(*service.lastReport());
        if (service.lastResult() != platform::HttpRequest::kOk) {
            std::fprintf(stderr,
                         "wendra-tool: tiles fetch: the tile server could not be "
                         "reached (error %d)\n",
                         service.lastResult());
            break;
        }
        if (service.reportCount() == before && service.spiral().complete()) break;
    }
    if (loaded.cache.takeChanged() && !netmaps::saveTileCacheFile(loaded.cache, request.home))
        return 1;
    return 0;
}

constexpr TilesCommand kTilesCommands[] = {
    {"cache", runCache, "cache --home DIR"},
    {"url", runUrl, "url SOURCE LEVEL X Y [--home DIR]"},
    {"fetch", runFetch,
     "fetch --home DIR --at LAT,LON --scale S [--size WxH] [--passes N] [--ca-file F]"},
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
