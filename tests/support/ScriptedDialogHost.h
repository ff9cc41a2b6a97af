#pragma once
// A dialog host for tests: each dialog opened plays the next script, which acts as
// the user (types, picks, opens tree items, presses buttons by id) and reads the
// controls back. Controls are kept in memory as the template made them. A dialog
// with no script left, or left open by its script, is a test failure.

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/DialogHost.h"

namespace wendra::test {

class ScriptedDialog final : public platform::DialogControls {
public:
    ScriptedDialog(const platform::DialogTemplate& dialog, platform::DialogProcedure& procedure);

    // What the user does. Each returns false, doing nothing, when a person could not
    // do it: the control is missing, disabled or hidden, or the dialog has ended.
    bool press(int id);
    bool type(int id, std::u16string_view text);
    bool pick(int id, int index);
    bool expand(int treeId, platform::TreeItem item);
    bool select(int treeId, platform::TreeItem item);
    bool doubleClick(int treeId, platform::TreeItem item);
    // A list row: selects it, then double-clicks it.
    bool doubleClickRow(int listId, int index);
    void fireTimer(int timerId);

    // The item reached from the top level through these texts; kNoTreeItem if none.
    platform::TreeItem findTreeItem(int treeId, const std::vector<std::u16string>& texts) const;
    bool expanded(int treeId, platform::TreeItem item) const;
    bool visible(int id) const;
    const std::u16string& title() const { return title_; }
    bool ended() const { return ended_; }
    int result() const { return result_; }
    bool timerRunning(int timerId) const { return timers_.count(timerId) != 0; }

    void setTitle(std::u16string_view title) override { title_ = title; }
    std::u16string text(int id) const override;
    void setText(int id, std::u16string_view text) override;
    bool checked(int id) const override;
    void setChecked(int id, bool checked) override;
    bool enabled(int id) const override;
    void setEnabled(int id, bool enabled) override;
    void setVisible(int id, bool visible) override;
    void clearItems(int id) override;
    int addItem(int id, std::u16string_view text) override;
    int itemCount(int id) const override;
    std::u16string itemText(int id, int index) const override;
    int selection(int id) const override;
    void setSelection(int id, int index) override;
    platform::TreeItem addTreeItem(int id, platform::TreeItem parent, std::u16string_view text,
                                   platform::TreeIcon icon, bool expandable) override;
    void expandTreeItem(int id, platform::TreeItem item) override;
    void selectTreeItem(int id, platform::TreeItem item) override;
    platform::TreeItem selectedTreeItem(int id) const override;
    platform::TreeItem treeParent(int id, platform::TreeItem item) const override;
    std::vector<platform::TreeItem> treeChildren(int id, platform::TreeItem parent) const override;
    std::u16string treeItemText(int id, platform::TreeItem item) const override;
    void redraw(int /*id*/) override {}
    void setTimer(int timerId, int milliseconds) override { timers_[timerId] = milliseconds; }
    void killTimer(int timerId) override { timers_.erase(timerId); }
    void end(int result) override;

private:
    struct TreeNode {
        int treeId = 0;
        platform::TreeItem parent = platform::kNoTreeItem;
        std::u16string text;
        platform::TreeIcon icon = platform::TreeIcon::None;
        bool expanded = false;
    };
    struct Control {
        platform::ControlKind kind = platform::ControlKind::Label;
        int group = 0;  // radio group
        std::u16string text;
        bool checked = false;
        bool enabled = true;
        bool visible = true;
        std::vector<std::u16string> items;
        int selection = -1;
        platform::TreeItem selectedItem = platform::kNoTreeItem;
    };

    Control* usable(int id);
    Control* find(int id);
    const Control* find(int id) const;
    const TreeNode* node(int treeId, platform::TreeItem item) const;

    platform::DialogProcedure& procedure_;
    std::u16string title_;
    std::map<int, Control> controls_;
    std::map<platform::TreeItem, TreeNode> nodes_;  // handles grow, so map order is insertion order
    platform::TreeItem nextItem_ = 1;
    std::map<int, int> timers_;
    bool ended_ = false;
    int result_ = platform::kIdCancel;
};

class ScriptedDialogHost final : public platform::DialogHost {
public:
    using Script = std::function<void(ScriptedDialog&)>;

    ScriptedDialogHost() : scope_(*this) {}

    // The next dialog to open plays this script.
    void expect(Script script) { scripts_.push_back(std::move(script)); }
    int run(const platform::DialogTemplate& dialog, platform::DialogProcedure& procedure) override;

    // Titles of the dialogs opened, in order.
    const std::vector<std::u16string>& shown() const { return shown_; }
    std::size_t scriptsLeft() const { return scripts_.size(); }

private:
    std::deque<Script> scripts_;
    std::vector<std::u16string> shown_;
    platform::ScopedDialogHost scope_;
};

}  // namespace wendra::test
