#pragma once
// The point icons: entry 0 "*" (no icon), entry 1 "*SH*" (the shared-position
// symbol), then one entry per usable "*.bmp" of the icons folder, named by the file
// name without its extension and sorted by name. White pixels are see-through.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ImageList.h"

namespace wendra::points {

constexpr int kIconSize = 22;  // pixels, times the pixel multiplier
constexpr std::string_view kIconsFolderName = "icons";

class IconList {
public:
    static constexpr int kNoIcon = 0;
    static constexpr int kSharedIcon = 1;

    IconList();  // the two built-in entries only

    // Replaces the list with the built-in entries and the icons of `folder`; a file that
    // does not decode as a BMP is left out. Returns the number of icons loaded.
    int load(const std::filesystem::path& folder, int pixelMultiplier);

    // The entry named exactly so; 0 when none is.
    int indexOf(std::u16string_view name) const;
    const std::vector<std::u16string>& names() const { return names_; }
    const platform::ImageList& images() const { return images_; }

private:
    struct Icon {
        std::u16string name;
        std::vector<std::uint32_t> argb;  // size x size
    };
    void build(std::vector<Icon> icons, int size);

    std::vector<std::u16string> names_;
    platform::ImageList images_;
};

// Where the install rule puts the shipped icons for the program at `programFile`
// (<prefix>/bin/wendra): <prefix>/share/wendra/icons.
std::filesystem::path installedIconsFolder(const std::filesystem::path& programFile);

// Copies the shipped icons that the data folder's icons folder lacks (a fresh data
// folder gets them all; icons the user changed are kept). Returns how many were copied.
int copyMissingIcons(const std::filesystem::path& shippedFolder,
                     const std::filesystem::path& iconsFolder);

}  // namespace wendra::points
