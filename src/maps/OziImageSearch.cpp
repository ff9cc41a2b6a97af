#include "maps/OziImageSearch.h"

#include <array>
#include <string>
#include <system_error>
#include <vector>

#include "maps/OziText.h"
#include "platform/WidePath.h"

namespace wendra::maps {

namespace {

namespace fs = std::filesystem;

// In the order the program has always preferred them.
constexpr std::array<std::string_view, 4> kImageExtensions = {".gif", ".jpg", ".bmp", ".png"};
// A folder this full is not a map folder; the scan stops rather than stall an import.
constexpr std::size_t kMaxFolderEntries = 100000;

bool isRegularFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

// The name without its own extension of three or four characters, if it has one.
std::string_view stemOf(std::string_view name) {
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0) return name;
    const std::size_t extension = name.size() - dot - 1;
    return extension == 3 || extension == 4 ? name.substr(0, dot) : name;
}

struct FolderEntry {
    std::u16string folded;
    fs::path path;
};

std::vector<FolderEntry> listFolder(const fs::path& folder) {
    std::vector<FolderEntry> entries;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (entries.size() >= kMaxFolderEntries) break;
        if (!isRegularFile(it->path())) continue;
        if (const auto wide = platform::wideFromPath(it->path().filename()))
            entries.push_back({foldCase(*wide), it->path()});
    }
    return entries;
}

class ImageSearch {
public:
    ImageSearch(const fs::path& mapFile, std::string_view imageLine) {
        std::error_code error;
        folder_ = fs::absolute(mapFile, error).parent_path();
        const auto cut = imageLine.find_last_of("\\/");
        name_ = cut == std::string_view::npos ? imageLine : imageLine.substr(cut + 1);
        // A Windows path (a drive, or backslashes) names a place on another machine.
        if (imageLine.find_first_of("\\:") == std::string_view::npos &&
            cut != std::string_view::npos)
            writtenFolder_ = std::string(imageLine.substr(0, cut + 1));
    }

    fs::path find() {
        if (name_.empty()) return {};
        const std::string_view stem = stemOf(name_);
        for (std::string_view extension : kImageExtensions) {
            const std::string name = std::string(stem) + std::string(extension);
            if (fs::path found = asWritten(name); !found.empty()) return found;
            if (fs::path found = besideMapFile(name); !found.empty()) return found;
        }
        return {};
    }

private:
    fs::path asWritten(const std::string& name) const {
        if (writtenFolder_.empty()) return {};
        fs::path path(writtenFolder_ + name);
        if (path.is_relative()) path = folder_ / path;
        return isRegularFile(path) ? path.lexically_normal() : fs::path();
    }

    fs::path besideMapFile(const std::string& name) {
        if (isRegularFile(folder_ / name)) return folder_ / name;
        if (!listed_) {
            entries_ = listFolder(folder_);
            listed_ = true;
        }
        for (const std::u16string& reading : candidateReadings(name)) {
            const std::u16string folded = foldCase(reading);
            for (const FolderEntry& entry : entries_)
                if (entry.folded == folded) return entry.path;
        }
        return {};
    }

    fs::path folder_;
    std::string_view name_;
    std::string writtenFolder_;
    bool listed_ = false;
    std::vector<FolderEntry> entries_;
};

}  // namespace

fs::path findOziImage(const fs::path& mapFile, std::string_view imageLine) {
    return ImageSearch(mapFile, imageLine).find();
}

}  // namespace wendra::maps
