#pragma once
// The tile cache index "Wendra.net" as a data file: the tile service's settings, the
// sources' templates and every cached tile with its map. Reading and writing hold the
// service's busy lock (when there is a service), so that the worker never sees half a
// list; the catalogue is paused while the maps are made. While the worker holds that
// lock for a run, a save that is not forced leaves the change for a later one: the run
// may wait on a server for many seconds, and the window would wait with it.

#include <functional>

#include "app/DataStore.h"
#include "netmaps/TileCache.h"

namespace wendra {

class TileCacheStore final : public DataStore {
public:
    // `hold(true)` takes the service's busy lock, `hold(false)` releases it; `busy`
    // tells whether someone holds it now.
    TileCacheStore(netmaps::TileCache& cache, std::function<void(bool)> hold,
                   std::function<bool()> busy = {})
        : cache_(cache), hold_(std::move(hold)), busy_(std::move(busy)) {}

    void resetToDefaults() override;
    void read(RecordFile& file) override;
    bool write(RecordFile& file) override;
    // False while the lock is held: the change stays marked for the next save.
    bool takeChanged() override { return !(busy_ && busy_()) && cache_.takeChanged(); }

private:
    netmaps::TileCache& cache_;
    std::function<void(bool)> hold_;
    std::function<bool()> busy_;
};

}  // namespace wendra
