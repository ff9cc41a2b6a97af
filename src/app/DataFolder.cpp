#include "app/DataFolder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "points/IconList.h"

namespace wendra {

namespace {

constexpr std::string_view kFolderName = "wendra";
constexpr std::string_view kRecordsName = "WendraRecords";
constexpr std::string_view kDocumentsKey = "XDG_DOCUMENTS_DIR=";
constexpr std::string_view kHomeVariable = "$HOME";
constexpr size_t kUserDirsMax = 65536;

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string homeOfUser() {
    std::string home = variable("HOME");
    if (!home.empty()) return home;
    const passwd* entry = ::getpwuid(::getuid());
    return entry && entry->pw_dir ? std::string(entry->pw_dir) : std::string();
}

std::string joined(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (path.empty() || path.back() != '/') path += '/';
    path += name;
    return path;
}

std::string readSmallFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    std::string text(kUserDirsMax, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(in.gcount()));
    return text;
}

}  // namespace

FolderEnvironment FolderEnvironment::fromProcess() {
    FolderEnvironment environment;
    environment.home = homeOfUser();
    environment.wendraHome = variable("WENDRA_HOME");
    environment.xdgDataHome = variable("XDG_DATA_HOME");
    environment.documentsFolder = variable("XDG_DOCUMENTS_DIR");
    if (environment.documentsFolder.empty()) {
        std::string config = variable("XDG_CONFIG_HOME");
        if (config.empty() || config.front() != '/') config = joined(environment.home, ".config");
        environment.documentsFolder =
            documentsFolderOf(readSmallFile(joined(config, "user-dirs.dirs")), environment.home);
    }
    return environment;
}

std::string dataFolder(std::string_view homeOption, const FolderEnvironment& environment) {
    if (!homeOption.empty()) return std::string(homeOption);
    if (!environment.wendraHome.empty()) return environment.wendraHome;
    if (!environment.xdgDataHome.empty() && environment.xdgDataHome.front() == '/')
        return joined(environment.xdgDataHome, kFolderName);
    return joined(joined(environment.home, ".local/share"), kFolderName);
}

std::string recordsFolder(const FolderEnvironment& environment) {
    const std::string documents = environment.documentsFolder.empty()
                                      ? joined(environment.home, "Documents")
                                      : environment.documentsFolder;
    return joined(documents, kRecordsName);
}

std::string documentsFolderOf(std::string_view userDirs, std::string_view home) {
    std::istringstream lines{std::string(userDirs)};
    std::string line;
    std::string found;
    while (std::getline(lines, line)) {
        const size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, kDocumentsKey.size(), kDocumentsKey))
            continue;
        std::string value = line.substr(start + kDocumentsKey.size());
        while (!value.empty() && (value.back() == '\r' || value.back() == ' ')) value.pop_back();
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (value.compare(0, kHomeVariable.size(), kHomeVariable) == 0)
            value = std::string(home) + value.substr(kHomeVariable.size());
        // Only absolute paths and paths under $HOME are allowed in that file.
        if (!value.empty() && value.front() == '/') found = value;
    }
    return found;
}

bool createDataFolder(const std::string& folder, std::string& error) {
    std::error_code code;
    std::filesystem::create_directories(folder, code);
    if (!code && std::filesystem::is_directory(folder, code)) return true;
    error = code ? code.message() : "not a folder";
    return false;
}

int provideShippedIcons(const std::string& folder,
                        const std::vector<std::filesystem::path>& shippedFolders) {
    for (const std::filesystem::path& shipped : shippedFolders) {
        std::error_code code;
        if (!std::filesystem::is_directory(shipped, code)) continue;
        return points::copyMissingIcons(shipped,
                                        std::filesystem::path(folder) / points::kIconsFolderName);
    }
    return 0;
}

}  // namespace wendra
