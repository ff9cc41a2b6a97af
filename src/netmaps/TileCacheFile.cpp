#include "netmaps/TileCacheFile.h"

#include <algorithm>

#include "records/DayNumber.h"
#include "records/RecordFile.h"
#include "records/RecordWriter.h"
#include "records/Text.h"

namespace wendra::netmaps {

namespace {

constexpr std::string_view kTileKind = "NetBmp";
constexpr std::string_view kTagKind = "NetBmpTag";
constexpr std::size_t kMaxValidatorLength = 255;

struct TagRecord {
    int source = 0;
    TileAddress address;
    TileValidators validators;
};

std::string tagRecord(const Tile& tile) {
    std::string line = formatRecord("NetBmpTag|%d|%d|%d|%d|", tile.address.x, tile.address.y,
                                    tile.address.level, tile.source);
    appendCounted(line, std::string_view(tile.validators.etag));
    appendCounted(line, std::string_view(tile.validators.lastModified));
    line.push_back('\n');
    return line;
}

std::optional<TagRecord> parseTagRecord(std::string_view line) {
    std::string_view rest;
    if (!hasRecordPrefix(line, kTagKind, &rest)) return std::nullopt;
    TagRecord r;
    std::int32_t x = 0, y = 0, level = 0, source = 0;
    if (splitRecord(rest, "ddddss",
                    {&x, &y, &level, &source, &r.validators.etag, &r.validators.lastModified}))
        return std::nullopt;
    r.address = {x, y, level};
    r.source = source;
    if (!valid(r.address) || !isTileSource(source) ||
        r.validators.etag.size() > kMaxValidatorLength ||
        r.validators.lastModified.size() > kMaxValidatorLength)
        return std::nullopt;
    return r;
}

// A cached tile as the index gives it; false when the cache has it already.
bool addCachedTile(TileCache& cache, const TileRecord& r, double today) {
    if (cache.find(r.source, r.address)) return false;
    Tile& tile = cache.add(r.source, r.address);
    tile.flags = tileflag::kInCache;
    tile.fileSize = r.fileSize;
    tile.stamp = r.stamp.value_or(today);
    return true;
}

}  // namespace

std::string netBmpRecord(const Tile& tile, int age, bool active) {
    return formatRecord("NetBmp|%d|%d|%d|%d|%d|%d|%d|%0.6Lf|\n", tile.address.x, tile.address.y,
                        tile.address.level, tile.source,
                        static_cast<int>(std::clamp<std::int64_t>(tile.fileSize, 0, INT32_MAX)),
                        age, active ? 1 : 0, static_cast<long double>(tile.stamp));
}

std::optional<TileRecord> parseNetBmpRecord(std::string_view line) {
    // Without its line end, so that the older, shorter form runs out of fields.
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    std::string_view rest;
    if (!hasRecordPrefix(line, kTileKind, &rest)) return std::nullopt;
    std::int32_t x = 0, y = 0, level = 0, source = 0, size = 0, age = 0, active = 0;
    double stamp = 0;
    TileRecord r;
    if (splitRecord(rest, "dddddddF", {&x, &y, &level, &source, &size, &age, &active, &stamp}) ==
        0) {
        r.active = active != 0;
        r.stamp = stamp;
    } else if (splitRecord(rest, "dddddd", {&x, &y, &level, &source, &size, &age}) != 0) {
        return std::nullopt;
    }
    r.address = {x, y, level};
    r.source = source;
    if (!valid(r.address) || !isTileSource(source) || size < 0) return std::nullopt;
    r.fileSize = size;
    r.age = std::max(age, 1);
    return r;
}

int readTileCacheRecords(TileCache& cache, RecordFile& file) {
    TileServiceFields fields = cache.settings().fields();
    const double today = currentDayNumber();
    std::vector<std::pair<Tile*, TileRecord>> added;
    std::string line;
    while (file.readLine(line, kLongLineCapacity)) {
        if (readNetBmpMgrRecord(line, fields, cache.sources())) {
            cache.settings().take(fields);
        } else if (readSourceRecord(line, cache.sources())) {
        } else if (const auto tile = parseNetBmpRecord(line)) {
            if (addCachedTile(cache, *tile, today))
                added.emplace_back(cache.find(tile->source, tile->address), *tile);
        } else if (const auto tag = parseTagRecord(line)) {
            if (Tile* t = cache.find(tag->source, tag->address)) t->validators = tag->validators;
        }
    }
    // The maps last, in one pause, once the settings (the displayed source, the cache
    // folder of the paths) are all read.
    cache.catalogue().pause(true);
    int shown = 0;
    for (auto& [tile, record] : added)
        if (cache.createMap(*tile, record.age, record.active)) ++shown;
    cache.catalogue().pause(false);
    cache.updateCounters();
    return shown;
}

bool writeTileCacheRecords(TileCache& cache, RecordFile& file) {
    bool written = file.writeText(netBmpMgrRecord(cache.settings().fields(), cache.sources()));
    for (const std::string& line : sourceRecords(cache.sources()))
        written = written && file.writeText(line);
    for (const auto& t : cache.tiles()) {
        if (!written) break;
        if (!t->inCache() || (t->map && t->map->has(maps::mapflag::kRemoved))) continue;
        const int age = t->map ? t->map->age() : 1;
        const bool active =
            t->map ? t->map->active() : t->source == cache.sources().displayedSource;
        written = file.writeText(netBmpRecord(*t, age, active));
        if (written && !t->validators.empty()) written = file.writeText(tagRecord(*t));
    }
    return written;
}

int loadTileCacheFile(TileCache& cache, const std::filesystem::path& folder) {
    RecordFile file;
    if (!file.open((folder / kTileCacheFileName).string(), RecordFileMode::Read)) return 0;
    return readTileCacheRecords(cache, file);
}

bool saveTileCacheFile(TileCache& cache, const std::filesystem::path& folder) {
    RecordFile file;
    bool written = file.open((folder / kTileCacheFileName).string(), RecordFileMode::WriteText);
    written = written && writeTileCacheRecords(cache, file);
    written = file.close() && written;
    if (!written)
        cache.catalogue().shell().ask(u"Unable to save config!", u"Error!", platform::Buttons::Ok);
    return written;
}

}  // namespace wendra::netmaps
