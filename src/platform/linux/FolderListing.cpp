#include "platform/FolderListing.h"

#include <algorithm>
#include <system_error>

#include "platform/WidePath.h"

namespace wendra::platform {

namespace fs = std::filesystem;

namespace {

char16_t folded(char16_t unit) {
    return unit >= u'A' && unit <= u'Z' ? unit + (u'a' - u'A') : unit;
}

// Names as a person sorts them: letter case aside, then exactly, for a stable order.
bool before(const std::u16string& a, const std::u16string& b) {
    const auto foldedLess = [](char16_t x, char16_t y) { return folded(x) < folded(y); };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), foldedLess))
        return true;
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), foldedLess))
        return false;
    return a < b;
}

}  // namespace

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
        return before(a.name, b.name);
    });
    return entries;
}

bool pathExists(const fs::path& path) {
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error)) && !error;
}

}  // namespace wendra::platform
