#include "platform/FolderListing.h"

#include <algorithm>
#include <system_error>

#include "platform/Folders.h"

namespace wendra::platform {

namespace fs = std::filesystem;

std::vector<FolderEntry> listFolder(const fs::path& folder) {
    std::vector<FolderEntry> entries;
    std::error_code error;
    fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        auto name = wideFromPath(it->path().filename());
        if (!name || name->empty()) continue;
        std::error_code statError;
        const bool isFolder = it->is_directory(statError);  // follows links, like opening would
        entries.push_back(FolderEntry{std::move(*name), isFolder && !statError});
    }
    std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) {
        if (a.isFolder != b.isFolder) return a.isFolder;
        return a.name < b.name;
    });
    return entries;
}

bool pathExists(const fs::path& path) {
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error)) && !error;
}

}  // namespace wendra::platform
