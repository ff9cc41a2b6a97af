#include "app/TileCacheStore.h"

#include "netmaps/TileCacheFile.h"

namespace wendra {

namespace {

class Hold {
public:
    explicit Hold(const std::function<void(bool)>& hold) : hold_(hold) {
        if (hold_) hold_(true);
    }
    ~Hold() {
        if (hold_) hold_(false);
    }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

private:
    const std::function<void(bool)>& hold_;
};

}  // namespace

// Only the settings: the index is read once, at start-up, before any tile exists.
void TileCacheStore::resetToDefaults() {
    Hold hold(hold_);
    cache_.settings() = netmaps::TileSettings{};
    cache_.sources() = netmaps::SourceSettings{};
}

void TileCacheStore::read(RecordFile& file) {
    Hold hold(hold_);
    netmaps::readTileCacheRecords(cache_, file);
    cache_.sources().normalise();
}

bool TileCacheStore::write(RecordFile& file) {
    Hold hold(hold_);
    return netmaps::writeTileCacheRecords(cache_, file);
}

}  // namespace wendra
