// Arbitrary bytes as a ".map" calibration file through the importer (without and
// with a UTM zone), then through the geometry of the map it defines.

#include <cmath>
#include <cstdint>

#include "MemoryInput.h"
#include "maps/OziMapImport.h"

namespace {

void check(bool condition) {
    if (!condition) __builtin_trap();
}

bool knownResult(wendra::maps::OziResult result) {
    const int code = static_cast<int>(result);
    for (int known : {0, -1, 1, 2, 3, 8, 10, 11, 12, 13, 14, 15, 17, 19, 20})
        if (code == known) return true;
    return false;
}

void exerciseMap(const wendra::maps::OziImport& import) {
    using namespace wendra::maps;
    check(usableCorners(import.definition.cornerLatitudes, import.definition.cornerLongitudes));
    MapDefinition definition = import.definition;
    definition.width = 640;
    definition.height = 480;
    definition.bytesPerPixel = 2;
    CalibratedMap map;
    check(map.setDefinition(definition));
    MapPixel pixel;
    for (int k = 0; k < kCornerCount; ++k)
        map.geoToPixel(definition.cornerLatitudes[k], definition.cornerLongitudes[k], pixel);
    map.containsPosition(map.centreLatitude(), map.centreLongitude());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const wendra::fuzz::MemoryInput input("ozi_map_fuzz");
    input.store(data, size);
    for (const std::optional<int> zone : {std::optional<int>(), std::optional<int>(-33)}) {
        const wendra::maps::OziImport import = wendra::maps::importOziMap(input.path(), zone);
        check(knownResult(import.result));
        if (import.result == wendra::maps::OziResult::Imported) exerciseMap(import);
    }
    return 0;
}
