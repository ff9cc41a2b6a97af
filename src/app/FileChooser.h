#pragma once
// Where the user picks a file to open, a name to save under, or a folder. The
// platform's own dialogs serve unless "Extended file selection" is on; when they
// turn out unavailable the option is switched on and the program's chooser, "Select
// a file", serves at once. Folders are always picked with the program's chooser.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileDialogs.h"

namespace wendra {

struct FileChooserOptions {
    bool extendedFileSelection = false;  // option 0x00040 of the options word
    // Called after the option was switched on, so that the caller saves it.
    std::function<void()> switchedToExtended;
};

// The chosen file's path, or nothing when the user cancelled.
std::optional<std::u16string> chooseFileToOpen(FileChooserOptions& options,
                                               const std::vector<platform::FileFilter>& filters,
                                               std::u16string_view startFolder);

// The path to save under, the default extension applied to the name; nothing when
// cancelled or when the user would not replace an existing file. On success the
// start folder becomes the chosen file's folder.
std::optional<std::u16string> chooseFileToSave(FileChooserOptions& options,
                                               const std::vector<platform::FileFilter>& filters,
                                               std::u16string& startFolder,
                                               std::u16string_view proposedName,
                                               std::u16string_view defaultExtension);

std::optional<std::u16string> chooseFolder(std::u16string_view startFolder);

}  // namespace wendra
