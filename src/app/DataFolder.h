#pragma once
// Where the program keeps its files: the data folder (the handheld's program folder)
// and the user's records folder. Paths are composed, not checked; only
// createDataFolder touches the disk.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace wendra {

// The environment variables and user settings the folders depend on.
struct FolderEnvironment {
    std::string home;             // $HOME
    std::string wendraHome;       // $WENDRA_HOME
    std::string xdgDataHome;      // $XDG_DATA_HOME
    std::string documentsFolder;  // the XDG documents folder, when the user set one

    // From the process: the variables, and XDG_DOCUMENTS_DIR from the environment or
    // from user-dirs.dirs in $XDG_CONFIG_HOME (default ~/.config).
    static FolderEnvironment fromProcess();
};

// --home DIR when given, else $WENDRA_HOME, else $XDG_DATA_HOME/wendra (an absolute
// $XDG_DATA_HOME only), else ~/.local/share/wendra.
std::string dataFolder(std::string_view homeOption, const FolderEnvironment& environment);

// "WendraRecords" in the documents folder ($HOME/Documents unless the user set another).
std::string recordsFolder(const FolderEnvironment& environment);

// The XDG_DOCUMENTS_DIR of a user-dirs.dirs file, "$HOME" expanded; empty when the
// file does not set it.
std::string documentsFolderOf(std::string_view userDirs, std::string_view home);

// Creates the folder and its parents when missing; false with `error` set when it
// cannot be had.
bool createDataFolder(const std::string& folder, std::string& error);

// Gives the data folder's icons folder the shipped icons it lacks, from the first of
// `shippedFolders` that exists (installed, then the source tree's for a build not
// installed). Returns how many were copied; 0 when none of them exists.
int provideShippedIcons(const std::string& folder,
                        const std::vector<std::filesystem::path>& shippedFolders);

}  // namespace wendra
