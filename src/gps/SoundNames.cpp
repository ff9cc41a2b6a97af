#include "gps/SoundNames.h"

#include "platform/FolderListing.h"
#include "platform/WidePath.h"

namespace wendra {

namespace {

constexpr std::u16string_view kExtension = u".wav";

bool endsWithWav(std::u16string_view name) {
    if (name.size() <= kExtension.size()) return false;
    const std::u16string_view tail = name.substr(name.size() - kExtension.size());
    for (std::size_t i = 0; i < tail.size(); ++i) {
        char16_t c = tail[i];
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
        if (c != kExtension[i]) return false;
    }
    return true;
}

}  // namespace

std::vector<std::u16string> soundNames(const std::filesystem::path& folder) {
    std::vector<std::u16string> names;
    for (const platform::FolderEntry& entry : platform::listFolder(folder)) {
        if (entry.isFolder || !endsWithWav(entry.name)) continue;
        names.push_back(entry.name.substr(0, entry.name.size() - kExtension.size()));
    }
    return names;
}

std::filesystem::path soundFile(const std::filesystem::path& folder, std::u16string_view name) {
    // A name from a settings file could otherwise reach outside the folder, or replace
    // it altogether when it starts with a slash.
    if (name.empty() || name.find(u'/') != std::u16string_view::npos) return {};
    std::u16string file(name);
    file.append(kExtension);
    return folder / platform::pathFromWide(file);
}

}  // namespace wendra
