#pragma once
// The tile cache index "Wendra.net" as a data file: the tile service's settings, the
// sources' templates and every cached tile with its map. Reading and writing hold the
// service's busy lock (when there is a service), so that the worker never sees half a
// list; the catalogue is paused while the maps are made.

#include <functional>

#include "app/DataStore.h"
#include "netmaps/TileCache.h"

namespace wendra {

class TileCacheStore final : public DataStore {
public:
    // `hold(true)` takes the service's busy lock, `hold(false)` releases it.
    TileCacheStore(netmaps::TileCache& cache, std::function<void(bool)> hold)
        : cache_(cache), hold_(std::move(hold)) {}

    void resetToDefaults() override;
    void read(RecordFile& file) override;
    bool write(RecordFile& file) override;
    bool takeChanged() override { return cache_.takeChanged(); }

private:
    netmaps::TileCache& cache_;
    std::function<void(bool)> hold_;
};

}  // namespace wendra
