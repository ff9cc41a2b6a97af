// The folders of Folders.h on Linux: XDG base directories and user-dirs.dirs.

#include <cstdlib>
#include <fstream>
#include <string_view>
#include <system_error>

#include "platform/Folders.h"

namespace wendra::platform {

namespace fs = std::filesystem;

namespace {

constexpr const char* kRecordsName = "WendraRecords";

// The XDG_DOCUMENTS_DIR line of ~/.config/user-dirs.dirs, "$HOME/..." expanded.
std::optional<fs::path> documentsFromUserDirs(const fs::path& configHome, const fs::path& home) {
    std::ifstream in(configHome / "user-dirs.dirs");
    constexpr std::string_view kKey = "XDG_DOCUMENTS_DIR=\"";
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(kKey, 0) != 0) continue;
        const std::size_t end = line.find('"', kKey.size());
        if (end == std::string::npos) return std::nullopt;
        std::string value = line.substr(kKey.size(), end - kKey.size());
        constexpr std::string_view kHome = "$HOME";
        if (value.rfind(kHome, 0) == 0)
            return home / fs::path(value.substr(kHome.size())).relative_path();
        if (!value.empty() && value.front() == '/') return fs::path(value);
        return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> processEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value) return std::nullopt;
    return std::string(value);
}

fs::path dataFolder(const std::optional<fs::path>& homeOption,
                    const EnvironmentLookup& environment) {
    if (homeOption && !homeOption->empty()) return *homeOption;
    if (auto home = environment("WENDRA_HOME")) return fs::path(*home);
    if (auto xdg = environment("XDG_DATA_HOME")) return fs::path(*xdg) / "wendra";
    if (auto home = environment("HOME")) return fs::path(*home) / ".local" / "share" / "wendra";
    return {};
}

fs::path recordsFolder(const EnvironmentLookup& environment) {
    const fs::path home = environment("HOME").value_or("");
    if (auto documents = environment("XDG_DOCUMENTS_DIR"))
        return fs::path(*documents) / kRecordsName;
    const fs::path configHome = environment("XDG_CONFIG_HOME")
                                    ? fs::path(*environment("XDG_CONFIG_HOME"))
                                    : home / ".config";
    if (!home.empty())
        if (auto documents = documentsFromUserDirs(configHome, home))
            return *documents / kRecordsName;
    return home / "Documents" / kRecordsName;
}

fs::path journalFolder(const fs::path& dataFolder) {
    return dataFolder / "Wendra";
}

bool ensureFolder(const fs::path& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    return fs::is_directory(folder, error);
}

fs::path pathFromWide(std::u16string_view wide) {
    try {
        return fs::path(std::u16string(wide));
    } catch (const std::exception&) {  // an unpaired surrogate: no such file can exist
        return {};
    }
}

std::optional<std::u16string> wideFromPath(const fs::path& path) {
    try {
        return path.u16string();
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace wendra::platform
