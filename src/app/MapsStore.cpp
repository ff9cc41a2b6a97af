#include "app/MapsStore.h"

#include "maps/MapsFile.h"

namespace wendra {

void MapsStore::resetToDefaults() {
    for (std::size_t i = 0; i < catalogue_.size(); ++i) catalogue_.removeMapAt(i);
    catalogue_.purgeRemoved();
}

void MapsStore::read(RecordFile& file) {
    maps::readMapRecords(catalogue_, file);
}

void MapsStore::afterLoad() {
    catalogue_.regroup();
}

bool MapsStore::write(RecordFile& file) {
    return maps::writeMapRecords(catalogue_, file);
}

}  // namespace wendra
