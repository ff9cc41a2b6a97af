#pragma once
// The tiles the service knows, in creation order, found by source and address; the maps
// that show the cached ones in the catalogue; the cache counters, the trimming, the
// choice of an expired tile to refresh and the deletion of the whole cache. Not
// thread-safe: the worker uses it under the service's busy lock, the window only after
// taking that lock. The counters alone may be read from any thread.

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "maps/MapCatalogue.h"
#include "netmaps/SourceSettings.h"
#include "netmaps/Tile.h"
#include "netmaps/TileSettings.h"
#include "netmaps/TileSignature.h"

namespace wendra {
class RecordFile;
}

namespace wendra::netmaps {

class TileCache;
int readTileCacheRecords(TileCache& cache, RecordFile& file);

using TileSignatures = std::array<TileSignature, kTileSourceCount>;

class TileCache {
public:
    // Both settings outlive the cache; the cache reads them when it acts.
    TileCache(maps::MapCatalogue& catalogue, TileSettings& settings, SourceSettings& sources);
    TileCache(const TileCache&) = delete;
    TileCache& operator=(const TileCache&) = delete;

    maps::MapCatalogue& catalogue() { return catalogue_; }
    TileSettings& settings() { return settings_; }
    SourceSettings& sources() { return sources_; }

    // The list. Pointers stay valid until the tile is forgotten.
    const std::vector<std::unique_ptr<Tile>>& tiles() const { return tiles_; }
    Tile* find(int source, const TileAddress& address);
    // A new tile, not in cache, with the base source of its source. An existing tile
    // of that source and address is returned as it is.
    Tile& add(int source, const TileAddress& address);
    // Deletes its cached file, removes its map (catalogue paused) and forgets it. Like
    // every operation here that pauses the catalogue, not to be called while paused.
    void forget(Tile& tile);
    // Forgets every tile that is not in cache (failed or placeholder answers), so that
    // they are asked again.
    void forgetUncached();

    // "<cache folder>/<source name>/<level>/<y>/<x>.jpg".
    std::string cachePath(const Tile& tile) const;
    // Creates the tile's calibrated map in the catalogue (paused meanwhile, so the
    // caller must not hold the pause): active when its source is displayed unless
    // `active` says, night colours as the catalogue's shell has them, `age` as its age
    // counter. A map the tile had before is removed. False when it cannot be defined.
    bool showTile(Tile& tile, int age = 1, std::optional<bool> active = std::nullopt);

    // The start of a run: every cached tile's map ages by one; then removed maps go,
    // then, while more tiles are cached than kept, maps that failed, then the least
    // recently painted. Returns how many tiles were dropped.
    int trim();
    // The most recently painted cached tile older than the validity, whose map did not
    // fail; null when none.
    Tile* expiredTile(double today);

    // Every internet map removed, the tile list emptied, each source's folder under
    // the cache root deleted (the root stays), the signatures forgotten; a new folder,
    // when given, becomes the cache folder.
    void deleteCache(const std::optional<std::string>& newFolder = std::nullopt);

    TileSignatures& signatures() { return signatures_; }
    void forgetSignatures();

    // The cache counters: tiles in cache and the sum of their file sizes.
    void updateCounters();
    int cachedTiles() const { return cachedTiles_.load(); }
    std::uint64_t cachedBytes() const { return cachedBytes_.load(); }

    // The index file must be saved.
    void markChanged() { changed_.store(true); }
    bool takeChanged() { return changed_.exchange(false); }
    bool changed() const { return changed_.load(); }

private:
    struct Key {
        int source;
        TileAddress address;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& k) const;
    };
    // The catalogue is paused by the caller around these.
    bool createMap(Tile& tile, int age, std::optional<bool> active);
    void forgetPaused(Tile& tile);
    Tile* trimCandidate(int cached) const;
    friend int readTileCacheRecords(TileCache& cache, RecordFile& file);

    maps::MapCatalogue& catalogue_;
    TileSettings& settings_;
    SourceSettings& sources_;
    std::vector<std::unique_ptr<Tile>> tiles_;
    std::unordered_map<Key, Tile*, KeyHash> index_;
    TileSignatures signatures_;
    std::atomic<int> cachedTiles_{0};
    std::atomic<std::uint64_t> cachedBytes_{0};
    std::atomic<bool> changed_{false};
};

}  // namespace wendra::netmaps
