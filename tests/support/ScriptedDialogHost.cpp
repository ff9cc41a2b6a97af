#include "support/ScriptedDialogHost.h"

#include <gtest/gtest.h>

namespace wendra::test {

using platform::ControlKind;
using platform::NotifyCode;
using platform::TreeItem;

ScriptedDialog::ScriptedDialog(const platform::DialogTemplate& dialog,
                               platform::DialogProcedure& procedure)
    : procedure_(procedure), title_(dialog.title) {
    int group = 0;
    for (const platform::ControlTemplate& control : dialog.controls) {
        if (control.kind == ControlKind::Radio && (control.style & platform::style::kGroupStart))
            ++group;
        if (controls_.count(control.id)) continue;  // the first control with an id wins
        Control state;
        state.kind = control.kind;
        state.group = group;
        state.text = control.text;
        state.enabled = (control.style & platform::style::kDisabled) == 0;
        state.visible = (control.style & platform::style::kHidden) == 0;
        controls_.emplace(control.id, std::move(state));
    }
}

ScriptedDialog::Control* ScriptedDialog::find(int id) {
    const auto found = controls_.find(id);
    return found == controls_.end() ? nullptr : &found->second;
}

const ScriptedDialog::Control* ScriptedDialog::find(int id) const {
    const auto found = controls_.find(id);
    return found == controls_.end() ? nullptr : &found->second;
}

ScriptedDialog::Control* ScriptedDialog::usable(int id) {
    Control* control = find(id);
    return control && control->enabled && control->visible && !ended_ ? control : nullptr;
}

const ScriptedDialog::TreeNode* ScriptedDialog::node(int treeId, TreeItem item) const {
    const auto found = nodes_.find(item);
    return found != nodes_.end() && found->second.treeId == treeId ? &found->second : nullptr;
}

bool ScriptedDialog::press(int id) {
    Control* control = usable(id);
    if (!control) return false;
    if (control->kind == ControlKind::CheckBox) control->checked = !control->checked;
    if (control->kind == ControlKind::Radio) {
        for (auto& [otherId, other] : controls_)
            if (other.kind == ControlKind::Radio && other.group == control->group)
                other.checked = false;
        control->checked = true;
    }
    procedure_.command(*this, id);
    return true;
}

bool ScriptedDialog::type(int id, std::u16string_view text) {
    Control* control = usable(id);
    if (!control) return false;
    control->text = text;
    procedure_.notify(*this, id, {NotifyCode::Changed});
    return true;
}

bool ScriptedDialog::pick(int id, int index) {
    Control* control = usable(id);
    if (!control || index < 0 || index >= static_cast<int>(control->items.size())) return false;
    control->selection = index;
    if (control->kind == ControlKind::Combo) control->text = control->items[index];
    procedure_.notify(*this, id, {NotifyCode::SelectionChanged});
    return true;
}

bool ScriptedDialog::expand(int treeId, TreeItem item) {
    if (!usable(treeId) || !node(treeId, item)) return false;
    procedure_.notify(*this, treeId, {NotifyCode::Expanding, item});
    nodes_[item].expanded = true;
    return true;
}

bool ScriptedDialog::select(int treeId, TreeItem item) {
    Control* tree = usable(treeId);
    if (!tree || !node(treeId, item)) return false;
    tree->selectedItem = item;
    procedure_.notify(*this, treeId, {NotifyCode::SelectionChanged, item});
    return true;
}

bool ScriptedDialog::doubleClick(int treeId, TreeItem item) {
    if (!usable(treeId) || !node(treeId, item)) return false;
    procedure_.notify(*this, treeId, {NotifyCode::DoubleClicked, item});
    return true;
}

bool ScriptedDialog::doubleClickRow(int listId, int index) {
    Control* list = usable(listId);
    if (!list || list->kind != ControlKind::List || index < 0 ||
        index >= static_cast<int>(list->items.size()))
        return false;
    list->selection = index;
    procedure_.notify(*this, listId, {NotifyCode::DoubleClicked});
    return true;
}

void ScriptedDialog::fireTimer(int timerId) {
    if (!ended_ && timers_.count(timerId)) procedure_.timer(*this, timerId);
}

TreeItem ScriptedDialog::findTreeItem(int treeId, const std::vector<std::u16string>& texts) const {
    TreeItem at = platform::kNoTreeItem;
    for (const std::u16string& text : texts) {
        TreeItem next = platform::kNoTreeItem;
        for (TreeItem child : treeChildren(treeId, at))
            if (treeItemText(treeId, child) == text) next = child;
        if (next == platform::kNoTreeItem) return platform::kNoTreeItem;
        at = next;
    }
    return at;
}

bool ScriptedDialog::expanded(int treeId, TreeItem item) const {
    const TreeNode* found = node(treeId, item);
    return found && found->expanded;
}

bool ScriptedDialog::visible(int id) const {
    const Control* control = find(id);
    return control && control->visible;
}

std::u16string ScriptedDialog::text(int id) const {
    const Control* control = find(id);
    return control ? control->text : std::u16string();
}

void ScriptedDialog::setText(int id, std::u16string_view text) {
    if (Control* control = find(id)) control->text = text;
}

bool ScriptedDialog::checked(int id) const {
    const Control* control = find(id);
    return control && control->checked;
}

void ScriptedDialog::setChecked(int id, bool checked) {
    Control* control = find(id);
    if (control && (control->kind == ControlKind::CheckBox || control->kind == ControlKind::Radio))
        control->checked = checked;
}

bool ScriptedDialog::enabled(int id) const {
    const Control* control = find(id);
    return control && control->enabled;
}

void ScriptedDialog::setEnabled(int id, bool enabled) {
    if (Control* control = find(id)) control->enabled = enabled;
}

void ScriptedDialog::setVisible(int id, bool visible) {
    if (Control* control = find(id)) control->visible = visible;
}

void ScriptedDialog::clearItems(int id) {
    if (Control* control = find(id)) {
        control->items.clear();
        control->selection = -1;
        control->selectedItem = platform::kNoTreeItem;
        std::erase_if(nodes_, [id](const auto& entry) { return entry.second.treeId == id; });
    }
}

int ScriptedDialog::addItem(int id, std::u16string_view text) {
    Control* control = find(id);
    if (!control || (control->kind != ControlKind::List && control->kind != ControlKind::Combo))
        return -1;
    control->items.emplace_back(text);
    return static_cast<int>(control->items.size()) - 1;
}

int ScriptedDialog::itemCount(int id) const {
    const Control* control = find(id);
    return control ? static_cast<int>(control->items.size()) : 0;
}

std::u16string ScriptedDialog::itemText(int id, int index) const {
    const Control* control = find(id);
    if (!control || index < 0 || index >= static_cast<int>(control->items.size())) return {};
    return control->items[index];
}

int ScriptedDialog::selection(int id) const {
    const Control* control = find(id);
    return control ? control->selection : -1;
}

void ScriptedDialog::setSelection(int id, int index) {
    Control* control = find(id);
    if (!control) return;
    const bool inside = index >= 0 && index < static_cast<int>(control->items.size());
    control->selection = inside ? index : -1;
    if (inside && control->kind == ControlKind::Combo) control->text = control->items[index];
}

TreeItem ScriptedDialog::addTreeItem(int id, TreeItem parent, std::u16string_view text,
                                     platform::TreeIcon icon, bool /*expandable*/) {
    const Control* tree = find(id);
    if (!tree || tree->kind != ControlKind::Tree) return platform::kNoTreeItem;
    if (parent != platform::kNoTreeItem && !node(id, parent)) return platform::kNoTreeItem;
    const TreeItem item = nextItem_++;
    nodes_[item] = TreeNode{id, parent, std::u16string(text), icon, false};
    return item;
}

void ScriptedDialog::expandTreeItem(int id, TreeItem item) {
    if (node(id, item)) nodes_[item].expanded = true;
}

void ScriptedDialog::selectTreeItem(int id, TreeItem item) {
    Control* tree = find(id);
    if (tree && node(id, item)) tree->selectedItem = item;
}

TreeItem ScriptedDialog::selectedTreeItem(int id) const {
    const Control* tree = find(id);
    return tree ? tree->selectedItem : platform::kNoTreeItem;
}

TreeItem ScriptedDialog::treeParent(int id, TreeItem item) const {
    const TreeNode* found = node(id, item);
    return found ? found->parent : platform::kNoTreeItem;
}

std::vector<TreeItem> ScriptedDialog::treeChildren(int id, TreeItem parent) const {
    std::vector<TreeItem> children;
    for (const auto& [item, entry] : nodes_)
        if (entry.treeId == id && entry.parent == parent) children.push_back(item);
    return children;
}

std::u16string ScriptedDialog::treeItemText(int id, TreeItem item) const {
    const TreeNode* found = node(id, item);
    return found ? found->text : std::u16string();
}

void ScriptedDialog::end(int result) {
    if (ended_) return;
    ended_ = true;
    result_ = result;
    timers_.clear();
}

int ScriptedDialogHost::run(const platform::DialogTemplate& dialog,
                            platform::DialogProcedure& procedure) {
    shown_.push_back(dialog.title);
    ScriptedDialog open(dialog, procedure);
    procedure.init(open);
    if (open.ended()) return open.result();
    if (scripts_.empty()) {
        ADD_FAILURE() << "a dialog opened with no script left for it";
        return platform::kIdCancel;
    }
    Script script = std::move(scripts_.front());
    scripts_.pop_front();
    script(open);
    if (!open.ended()) {
        ADD_FAILURE() << "the script left its dialog open";
        return platform::kIdCancel;
    }
    return open.result();
}

}  // namespace wendra::test
