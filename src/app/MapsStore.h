#pragma once
// The maps file "Wendra.wdm" as a data file: the catalogue's maps read from and written
// to its records. Maps whose size is stored do not open their image when read. Loading
// is for start-up, before the map manager runs: it replaces whatever the list held.

#include "app/DataStore.h"
#include "maps/MapCatalogue.h"

namespace wendra {

class MapsStore final : public DataStore {
public:
    explicit MapsStore(maps::MapCatalogue& catalogue) : catalogue_(catalogue) {}

    void resetToDefaults() override;
    void read(RecordFile& file) override;
    // Groups follow the folders of the maps just read.
    void afterLoad() override;
    bool write(RecordFile& file) override;
    bool takeChanged() override { return catalogue_.takeChanged(); }

private:
    maps::MapCatalogue& catalogue_;
};

}  // namespace wendra
