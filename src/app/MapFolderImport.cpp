#include "app/MapFolderImport.h"

#include <cstdio>
#include <set>

#include "maps/OziMapImport.h"
#include "platform/MessageBox.h"
#include "platform/WaitCursor.h"
#include "platform/WidePath.h"
#include "records/Text.h"

namespace wendra {

namespace {

namespace fs = std::filesystem;

constexpr std::u16string_view kExtension = u".map";

class FolderWalk {
public:
    FolderWalk(const MapFolderImportHooks& hooks, bool subfolders)
        : hooks_(hooks), subfolders_(subfolders) {}

    void visit(const fs::path& folder) {
        // A link back up the tree must not make the walk endless.
        std::error_code error;
        fs::path real = fs::canonical(folder, error);
        if (error) real = folder;
        if (!visited_.insert(real).second) return;
        for (const platform::FolderEntry& entry : hooks_.listFolder(folder)) {
            const fs::path path = folder / platform::pathFromWide(entry.name);
            if (entry.isFolder) {
                if (subfolders_) visit(path);
            } else if (isCalibrationFileName(entry.name)) {
                importFile(path);
            }
        }
    }

    int imported() const { return imported_; }

private:
    void importFile(const fs::path& file) {
        maps::OziImport import = maps::importOziMap(file, zone_);
        if (import.result == maps::OziResult::NeedsZone && !zoneAsked_) {
            zoneAsked_ = true;
            if (hooks_.askZone) zone_ = hooks_.askZone();
            if (zone_) import = maps::importOziMap(file, zone_);
        }
        maps::MapDefinition& definition = import.definition;
        if (import.result != maps::OziResult::Imported || definition.imagePath.empty()) return;
        if (hooks_.imageInUse && hooks_.imageInUse(definition.imagePath)) return;
        definition.userFlags |= maps::kMapActive;
        if (hooks_.addMap && hooks_.addMap(definition)) ++imported_;
    }

    const MapFolderImportHooks& hooks_;
    const bool subfolders_;
    std::set<fs::path> visited_;
    std::optional<int> zone_;
    bool zoneAsked_ = false;
    int imported_ = 0;
};

std::u16string subfolderQuestion(std::u16string_view folder) {
    std::u16string text = u"Do you also want to import subfolders of ";
    return text.append(folder).append(u"?");
}

std::u16string importedCount(int count) {
    char text[32];
    std::snprintf(text, sizeof text, " %d files imported", count);
    return widen(text);
}

}  // namespace

bool isCalibrationFileName(std::u16string_view name) {
    if (name.size() <= 4) return false;
    const std::u16string_view end = name.substr(name.size() - kExtension.size());
    for (std::size_t i = 0; i < kExtension.size(); ++i) {
        const char16_t c = end[i] >= u'A' && end[i] <= u'Z' ? end[i] - u'A' + u'a' : end[i];
        if (c != kExtension[i]) return false;
    }
    return true;
}

int importMapFolder(const fs::path& folder, bool subfolders, const MapFolderImportHooks& hooks) {
    if (hooks.pause) hooks.pause(true);
    FolderWalk walk(hooks, subfolders);
    {
        platform::WaitCursor wait;
        walk.visit(folder);
    }
    if (hooks.pause) hooks.pause(false);
    return walk.imported();
}

std::optional<int> runMapFolderImport(
    const std::function<std::optional<std::u16string>(std::u16string_view start)>& chooseFolder,
    std::u16string& bmpPath, const MapFolderImportHooks& hooks) {
    const std::optional<std::u16string> folder = chooseFolder(bmpPath);
    if (!folder || folder->empty()) return std::nullopt;
    bmpPath = *folder;
    const platform::Answer answer =
        platform::showMessage(subfolderQuestion(*folder), u"Confirmation",
                              platform::Buttons::YesNoCancel, platform::Icon::Question);
    if (answer == platform::Answer::Cancel) return std::nullopt;
    const int count =
        importMapFolder(platform::pathFromWide(*folder), answer == platform::Answer::Yes, hooks);
    platform::showMessage(importedCount(count), u"Info!", platform::Buttons::Ok,
                          platform::Icon::Information);
    return count;
}

}  // namespace wendra
