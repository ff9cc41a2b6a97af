#include "app/FileChooser.h"

#include "app/FileChooserDialog.h"
#include "app/FileChooserFilter.h"
#include "platform/DialogHost.h"
#include "platform/FolderListing.h"
#include "platform/WidePath.h"
#include "platform/MessageBox.h"

namespace wendra {

namespace {

constexpr std::u16string_view kReplaceQuestion =
    u"File exists - do you want to replace the existing file?";
constexpr std::u16string_view kConfirmation = u"Confirmation";

// The platform dialog, or nullopt-with-unavailable so the caller falls back.
struct PlatformAnswer {
    bool unavailable = false;
    std::optional<std::u16string> path;
};

PlatformAnswer askPlatform(FileChooserOptions& options,
                           const platform::FileDialogRequest& request) {
    const platform::FileDialogResult result = platform::fileDialogs().run(request);
    switch (result.status) {
        case platform::FileDialogStatus::Chosen:
            return {false, result.path};
        case platform::FileDialogStatus::Cancelled:
            return {false, std::nullopt};
        case platform::FileDialogStatus::Unavailable:
            break;
    }
    options.extendedFileSelection = true;
    if (options.switchedToExtended) options.switchedToExtended();
    return {true, std::nullopt};
}

std::optional<std::u16string> runChooser(FileChooserState& state) {
    FileChooserProcedure procedure(state);
    const int result = platform::runDialog(fileChooserTemplate(state.save), procedure);
    if (result != platform::kIdOk || state.path.empty()) return std::nullopt;
    return state.path;
}

std::u16string folderOf(std::u16string_view path) {
    const std::size_t slash = path.rfind(u'/');
    if (slash == std::u16string_view::npos) return {};
    return std::u16string(path.substr(0, slash == 0 ? 1 : slash));
}

// The platform dialog confirmed the name as typed; the default extension may have
// turned it into another file, which must not be replaced without asking.
bool mayReplace(const std::u16string& confirmed, const std::u16string& path) {
    if (path == confirmed || !platform::pathExists(platform::pathFromWide(path))) return true;
    return platform::showMessage(kReplaceQuestion, kConfirmation, platform::Buttons::YesNo,
                                 platform::Icon::Question) == platform::Answer::Yes;
}

}  // namespace

std::optional<std::u16string> chooseFileToOpen(FileChooserOptions& options,
                                               const std::vector<platform::FileFilter>& filters,
                                               std::u16string_view startFolder) {
    if (!options.extendedFileSelection) {
        platform::FileDialogRequest request{
            platform::FileDialogKind::Open, filters, std::u16string(startFolder), {}};
        PlatformAnswer answer = askPlatform(options, request);
        if (!answer.unavailable) return answer.path;
    }
    FileChooserState state{false, ExtensionFilter(filters), std::u16string(startFolder), {}, {}};
    return runChooser(state);
}

std::optional<std::u16string> chooseFileToSave(FileChooserOptions& options,
                                               const std::vector<platform::FileFilter>& filters,
                                               std::u16string& startFolder,
                                               std::u16string_view proposedName,
                                               std::u16string_view defaultExtension) {
    std::optional<std::u16string> chosen;
    bool useOwn = options.extendedFileSelection;
    if (!useOwn) {
        platform::FileDialogRequest request{platform::FileDialogKind::Save, filters, startFolder,
                                            std::u16string(proposedName)};
        PlatformAnswer answer = askPlatform(options, request);
        useOwn = answer.unavailable;
        if (answer.path) {
            std::u16string path = pathWithDefaultExtension(*answer.path, defaultExtension);
            if (mayReplace(*answer.path, path)) chosen = std::move(path);
        }
    }
    if (useOwn) {
        FileChooserState state{true, ExtensionFilter(filters), startFolder,
                               std::u16string(proposedName), std::u16string(defaultExtension)};
        chosen = runChooser(state);
    }
    if (chosen) startFolder = folderOf(*chosen);
    return chosen;
}

std::optional<std::u16string> chooseFolder(std::u16string_view startFolder) {
    FileChooserState state{false, ExtensionFilter(), std::u16string(startFolder), {}, {}};
    return runChooser(state);
}

}  // namespace wendra
