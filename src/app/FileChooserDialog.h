#pragma once
// The program's own chooser, "Select a file": a folder tree from "/" filled as
// folders are opened, showing folders and the files the filter takes. It opens a
// file, saves under the name typed above the tree, or, without a filter, picks a
// folder. The chosen path is left in the state (empty when nothing was chosen).

#include <map>
#include <string>

#include "app/FileChooserFilter.h"
#include "platform/DialogProcedure.h"
#include "platform/DialogTemplate.h"

namespace wendra {

inline constexpr int kFileChooserDialogId = 246;
inline constexpr int kFileChooserNameId = 1001;
inline constexpr int kFileChooserTreeId = 1002;

struct FileChooserState {
    bool save = false;
    ExtensionFilter filter;           // empty: folder chooser
    std::u16string path;              // in: start folder; out: the choice
    std::u16string name;              // save: the name offered
    std::u16string defaultExtension;  // save
};

platform::DialogTemplate fileChooserTemplate(bool save);

class FileChooserProcedure final : public platform::DialogProcedure {
public:
    explicit FileChooserProcedure(FileChooserState& state) : state_(state) {}

    void init(platform::DialogControls& dialog) override;
    void command(platform::DialogControls& dialog, int id) override;
    void notify(platform::DialogControls& dialog, int id,
                const platform::Notification& what) override;

private:
    struct Node {
        bool folder = false;
        bool filled = false;
    };

    platform::TreeItem addItem(platform::DialogControls& dialog, platform::TreeItem parent,
                               std::u16string_view name, bool folder);
    void fill(platform::DialogControls& dialog, platform::TreeItem item);
    void walkTo(platform::DialogControls& dialog, std::u16string_view folder);
    std::u16string pathOf(platform::DialogControls& dialog, platform::TreeItem item) const;
    bool isFolder(platform::TreeItem item) const;
    void selectionChanged(platform::DialogControls& dialog, platform::TreeItem item);
    void accept(platform::DialogControls& dialog);
    void acceptSave(platform::DialogControls& dialog);

    FileChooserState& state_;
    std::map<platform::TreeItem, Node> nodes_;
    platform::TreeItem root_ = platform::kNoTreeItem;
};

}  // namespace wendra
