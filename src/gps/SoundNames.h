#pragma once
// The sounds a settings dialog offers: the ".wav" files of a folder (extension in any
// letter case), named without the extension, in the folder listing's order. Folders
// and names with nothing before ".wav" are left out; an unreadable folder offers none.

#include <filesystem>
#include <string>
#include <vector>

namespace wendra {

std::vector<std::u16string> soundNames(const std::filesystem::path& folder);

// The file a sound name plays: "<folder>/<name>.wav"; empty for an empty name or one
// holding a slash.
std::filesystem::path soundFile(const std::filesystem::path& folder, std::u16string_view name);

}  // namespace wendra
