#pragma once
// The import of every ".map" file of a folder (subfolders too when wanted) into new
// maps reached through the hooks. Files that fail, name no image found, or show an
// image a map already had are dropped without a word; the count is told at the end.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "maps/CalibratedMap.h"
#include "platform/FolderListing.h"

namespace wendra {

struct MapFolderImportHooks {
    // Makes a new map of the catalogue with this definition (the active flag is set,
    // the size is unknown, so the map reads its image header). False when the map
    // could not take it: the catalogue removes it again and it is not counted.
    std::function<bool(const maps::MapDefinition&)> addMap;
    // True when a map that existed before this import shows this image file (the
    // catalogue's duplicate test over the maps it held when the import began).
    std::function<bool(std::u16string_view imagePath)> imageInUse;
    // The signed UTM zone for files in UTM values ("Select a zone"); asked at most
    // once per import, and its answer, or its cancel, holds for the rest of it.
    std::function<std::optional<int>()> askZone;
    // Drawing paused (true) while the files are read and resumed (false) after; the
    // catalogue reapplies the night display mode to every map when it resumes.
    std::function<void(bool paused)> pause;
    std::function<std::vector<platform::FolderEntry>(const std::filesystem::path&)> listFolder =
        platform::listFolder;
};

// The walk itself, under the wait cursor; the count of maps made.
int importMapFolder(const std::filesystem::path& folder, bool subfolders,
                    const MapFolderImportHooks& hooks);

// The whole command: the folder chosen from `bmpPath` (which then takes it), the
// question about subfolders, the walk and " %d files imported". Nothing when the user
// cancelled the chooser or the question; else the count of maps made (the caller
// marks the maps file for saving when it is not 0).
std::optional<int> runMapFolderImport(
    const std::function<std::optional<std::u16string>(std::u16string_view start)>& chooseFolder,
    std::u16string& bmpPath, const MapFolderImportHooks& hooks);

// The file names the import takes: longer than 4 characters, ending in ".map" in any case.
bool isCalibrationFileName(std::u16string_view name);

}  // namespace wendra
