#pragma once
// The data files of the program folder, loaded at start-up and saved when changed, in
// the program's fixed orders, with the banner shown meanwhile. A file whose owner is
// not attached is neither loaded nor saved. Not thread-safe: the window thread's.

#include <array>
#include <string>
#include <string_view>

#include "app/DataStore.h"
#include "app/StatusBanner.h"

namespace wendra {

enum class DataFile { Configuration, Maps, Cache, Points, Routes };
constexpr size_t kDataFileCount = 5;

class DataFiles {
public:
    DataFiles(std::string programFolder, StatusBanner& banner);

    void attach(DataFile file, DataStore& store);
    static std::string_view fileName(DataFile file);
    std::string path(DataFile file) const;

    // Start-up: configuration, maps catalogue, tile cache index, points, routes; then
    // the routes count as unchanged whatever loading the points marked.
    void loadAll();
    // Defaults, the file's records when it exists, the fix-ups; clears the changed
    // flag. False when the file was missing or is not attached.
    bool load(DataFile file);
    // The new content goes beside the old file and replaces it only once all of it is
    // written, so a failed save leaves the old file as it was and shows the file's
    // message; the changed flag is cleared either way.
    bool save(DataFile file);
    // Configuration, maps catalogue, tile cache index, routes, points: each when
    // changed (here or by its store's owner) or when `force`.
    void saveChanged(bool force);

    // A change of the points marks the routes too, which refer to them.
    void markChanged(DataFile file);
    bool changed(DataFile file) const { return changed_[index(file)]; }

private:
    static size_t index(DataFile file) { return static_cast<size_t>(file); }

    std::string folder_;
    StatusBanner& banner_;
    std::array<DataStore*, kDataFileCount> stores_{};
    std::array<bool, kDataFileCount> changed_{};
};

}  // namespace wendra
