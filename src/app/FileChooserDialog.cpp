#include "app/FileChooserDialog.h"

#include <vector>

#include "platform/FolderListing.h"
#include "platform/WidePath.h"
#include "platform/MessageBox.h"

namespace wendra {

using platform::ControlKind;
using platform::DialogControls;
using platform::TreeItem;

namespace {

constexpr std::u16string_view kTitle = u"Select a file";
constexpr std::u16string_view kRoot = u"/";
constexpr std::u16string_view kReplaceQuestion =
    u"File exists - do you want to replace the existing file?";
constexpr std::u16string_view kConfirmation = u"Confirmation";

// Dialog units: the handheld's portrait screen.
constexpr int kWidth = 160;
constexpr int kHeight = 200;
constexpr int kMargin = 4;
constexpr int kLineHeight = 12;
constexpr int kButtonHeight = 14;

std::vector<std::u16string_view> components(std::u16string_view path) {
    std::vector<std::u16string_view> parts;
    while (!path.empty()) {
        const std::size_t slash = path.find(u'/');
        const std::u16string_view part = path.substr(0, slash);
        if (!part.empty() && part != u".") parts.push_back(part);
        if (slash == std::u16string_view::npos) break;
        path.remove_prefix(slash + 1);
    }
    return parts;
}

std::u16string joined(std::u16string_view folder, std::u16string_view name) {
    std::u16string path(folder);
    if (path.empty() || path.back() != u'/') path.push_back(u'/');
    return path.append(name);
}

}  // namespace

platform::DialogTemplate fileChooserTemplate(bool save) {
    platform::DialogTemplate dialog{
        kFileChooserDialogId, std::u16string(kTitle), {kWidth, kHeight}, {}};
    int treeTop = kMargin;
    if (save) {
        dialog.controls.push_back({kFileChooserNameId,
                                   ControlKind::Edit,
                                   {},
                                   {kMargin, kMargin, kWidth - kMargin, kMargin + kLineHeight},
                                   0});
        treeTop += kLineHeight + kMargin;
    }
    const int buttonTop = kHeight - kMargin - kButtonHeight;
    dialog.controls.push_back({kFileChooserTreeId,
                               ControlKind::Tree,
                               {},
                               {kMargin, treeTop, kWidth - kMargin, buttonTop - kMargin},
                               0});
    const int half = kWidth / 2;
    dialog.controls.push_back({platform::kIdOk,
                               ControlKind::Button,
                               u"OK",
                               {kMargin, buttonTop, half - kMargin / 2, buttonTop + kButtonHeight},
                               platform::style::kDefaultButton});
    dialog.controls.push_back(
        {platform::kIdCancel,
         ControlKind::Button,
         u"Cancel",
         {half + kMargin / 2, buttonTop, kWidth - kMargin, buttonTop + kButtonHeight},
         0});
    return dialog;
}

void FileChooserProcedure::init(DialogControls& dialog) {
    root_ = addItem(dialog, platform::kNoTreeItem, kRoot, true);
    if (state_.save) dialog.setText(kFileChooserNameId, state_.name);
    walkTo(dialog, state_.path);
    state_.path.clear();  // nothing chosen until OK
}

TreeItem FileChooserProcedure::addItem(DialogControls& dialog, TreeItem parent,
                                       std::u16string_view name, bool folder) {
    const TreeItem item =
        dialog.addTreeItem(kFileChooserTreeId, parent, name,
                           folder ? platform::TreeIcon::Folder : platform::TreeIcon::File, folder);
    if (item != platform::kNoTreeItem) nodes_[item] = Node{folder, false};
    return item;
}

void FileChooserProcedure::fill(DialogControls& dialog, TreeItem item) {
    auto node = nodes_.find(item);
    if (node == nodes_.end() || !node->second.folder || node->second.filled) return;
    node->second.filled = true;
    const std::u16string folder = pathOf(dialog, item);
    for (const platform::FolderEntry& entry :
         platform::listFolder(platform::pathFromWide(folder))) {
        if (entry.isFolder || (!state_.filter.empty() && state_.filter.matches(entry.name)))
            addItem(dialog, item, entry.name, entry.isFolder);
    }
}

void FileChooserProcedure::walkTo(DialogControls& dialog, std::u16string_view folder) {
    TreeItem current = root_;
    fill(dialog, current);
    dialog.expandTreeItem(kFileChooserTreeId, current);
    for (std::u16string_view part : components(folder)) {
        TreeItem next = platform::kNoTreeItem;
        for (TreeItem child : dialog.treeChildren(kFileChooserTreeId, current)) {
            if (equalIgnoringCase(dialog.treeItemText(kFileChooserTreeId, child), part)) {
                next = child;
                break;
            }
        }
        if (next == platform::kNoTreeItem) break;
        current = next;
        fill(dialog, current);
        if (isFolder(current)) dialog.expandTreeItem(kFileChooserTreeId, current);
    }
    dialog.selectTreeItem(kFileChooserTreeId, current);
    selectionChanged(dialog, current);
}

std::u16string FileChooserProcedure::pathOf(DialogControls& dialog, TreeItem item) const {
    std::vector<std::u16string> names;
    for (TreeItem at = item; at != platform::kNoTreeItem && at != root_;
         at = dialog.treeParent(kFileChooserTreeId, at))
        names.push_back(dialog.treeItemText(kFileChooserTreeId, at));
    std::u16string path(kRoot);
    for (auto name = names.rbegin(); name != names.rend(); ++name) path = joined(path, *name);
    return path;
}

bool FileChooserProcedure::isFolder(TreeItem item) const {
    const auto node = nodes_.find(item);
    return node != nodes_.end() && node->second.folder;
}

void FileChooserProcedure::selectionChanged(DialogControls& dialog, TreeItem item) {
    const bool known = nodes_.count(item) != 0;
    if (state_.save) {
        if (known && !isFolder(item))
            dialog.setText(kFileChooserNameId, dialog.treeItemText(kFileChooserTreeId, item));
        return;
    }
    const bool pickable = known && (isFolder(item) ? state_.filter.empty() : true);
    dialog.setEnabled(platform::kIdOk, pickable);
}

void FileChooserProcedure::notify(DialogControls& dialog, int id,
                                  const platform::Notification& what) {
    if (id != kFileChooserTreeId) return;
    switch (what.code) {
        case platform::NotifyCode::Expanding:
            fill(dialog, what.item);
            break;
        case platform::NotifyCode::SelectionChanged:
            selectionChanged(dialog, what.item);
            break;
        case platform::NotifyCode::DoubleClicked:
            // A file picked twice is as good as picked and confirmed.
            if (!state_.save && nodes_.count(what.item) && !isFolder(what.item)) accept(dialog);
            break;
        default:
            break;
    }
}

void FileChooserProcedure::command(DialogControls& dialog, int id) {
    if (id == platform::kIdOk) {
        accept(dialog);
    } else if (id == platform::kIdCancel) {
        state_.path.clear();
        dialog.end(platform::kIdCancel);
    }
}

void FileChooserProcedure::accept(DialogControls& dialog) {
    if (state_.save) {
        acceptSave(dialog);
        return;
    }
    const TreeItem item = dialog.selectedTreeItem(kFileChooserTreeId);
    if (!nodes_.count(item) || (isFolder(item) && !state_.filter.empty())) return;
    state_.path = pathOf(dialog, item);
    dialog.end(platform::kIdOk);
}

void FileChooserProcedure::acceptSave(DialogControls& dialog) {
    const std::u16string name = dialog.text(kFileChooserNameId);
    if (name.empty()) return;  // nothing to save under: the dialog stays
    TreeItem item = dialog.selectedTreeItem(kFileChooserTreeId);
    if (!nodes_.count(item)) item = root_;
    if (!isFolder(item)) item = dialog.treeParent(kFileChooserTreeId, item);
    const std::u16string path =
        joined(pathOf(dialog, item), withDefaultExtension(name, state_.defaultExtension));
    if (platform::pathExists(platform::pathFromWide(path)) &&
        platform::showMessage(kReplaceQuestion, kConfirmation, platform::Buttons::YesNo,
                              platform::Icon::Question) != platform::Answer::Yes) {
        state_.path.clear();
        dialog.end(platform::kIdCancel);
        return;
    }
    state_.path = path;
    dialog.end(platform::kIdOk);
}

}  // namespace wendra
