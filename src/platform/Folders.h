#pragma once
// Where the program keeps its files on this machine: the data folder (the program
// folder of the handheld), the user's records folder and the crash journal's
// folder. Nothing here creates a folder except ensureFolder().

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace wendra::platform {

// Reads an environment variable; empty or missing gives nullopt.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;
std::optional<std::string> processEnvironment(const char* name);

// --home DIR, else $WENDRA_HOME, else $XDG_DATA_HOME/wendra, else
// $HOME/.local/share/wendra; empty when not even $HOME is known.
std::filesystem::path dataFolder(const std::optional<std::filesystem::path>& homeOption,
                                 const EnvironmentLookup& environment = processEnvironment);

// $XDG_DOCUMENTS_DIR/WendraRecords (also read from the user's user-dirs.dirs), else
// $HOME/Documents/WendraRecords.
std::filesystem::path recordsFolder(const EnvironmentLookup& environment = processEnvironment);

// The crash journal's folder inside the data folder: unlike the temporary folder it
// survives the reboot that recovery has to look across.
std::filesystem::path journalFolder(const std::filesystem::path& dataFolder);

// Creates every missing folder along the path; true when it exists afterwards.
bool ensureFolder(const std::filesystem::path& folder);

// Wide paths as the program keeps them and the machine's byte paths. A name that
// is not valid UTF-8 has no wide form.
std::filesystem::path pathFromWide(std::u16string_view wide);
std::optional<std::u16string> wideFromPath(const std::filesystem::path& path);

}  // namespace wendra::platform
