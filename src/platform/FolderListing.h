#pragma once
// One folder's entries for the file chooser: "." and ".." left out, names that
// have no wide form skipped (they could not be opened again by name), folders
// first, each part in name order (letter case aside). An unreadable folder lists as empty.

#include <filesystem>
#include <string>
#include <vector>

namespace wendra::platform {

struct FolderEntry {
    std::u16string name;
    bool isFolder = false;

    bool operator==(const FolderEntry&) const = default;
};

std::vector<FolderEntry> listFolder(const std::filesystem::path& folder);

// True for an existing entry of any kind (what a save would replace).
bool pathExists(const std::filesystem::path& path);

}  // namespace wendra::platform
