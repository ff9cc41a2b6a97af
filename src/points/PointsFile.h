#pragma once
// The points file "Wendra.wdp": every point record, read in text or packed form
// (the file's first byte tells), and written back in list order. Reading takes any
// bytes; a save that fails keeps the previous file whole.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "points/PointStore.h"

namespace wendra::points {

constexpr std::string_view kPointsFileName = "Wendra.wdp";
constexpr std::string_view kOlderPointPrefix = "RIRUvo|Coord|";
constexpr size_t kProgressEvery = 1000;

struct PointsLoad {
    bool opened = false;
    size_t points = 0;   // records added
    size_t skipped = 0;  // lines or packed records of other kinds
};

// Adds every point of the file to the store (shows "Loading points..." meanwhile);
// `progress` runs after every 1000 records with the count so far. A missing file
// leaves the store as it was.
PointsLoad loadPointsFile(const std::string& path, PointStore& store,
                          const std::function<void(size_t)>& progress = {});

// Writes, in list order, the points that belong in the file: not route points, not
// the GPS position object, with a valid position or shared. Packed unless `text`
// ("Old saving format"). On failure shows "Unable to save config!" and returns false;
// on success the store is no longer marked changed.
bool savePointsFile(const std::string& path, PointStore& store, bool text);

// Whether the point is one the file keeps.
bool belongsInFile(const PointStore& store, const GpsPoint& point);

// A configuration line "RIRUvo|Coord|" + a point record, as older configurations kept
// points: the point is added like one read from the points file. False for any other line.
bool readOlderConfigurationPoint(std::string_view line, PointStore& store);

}  // namespace wendra::points
