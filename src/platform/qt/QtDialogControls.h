#pragma once
// The controls of one open QDialog, by id, for its procedure. Changing a control
// from here blocks its signals, so that only the user's actions notify.

#include <QDialog>
#include <QTimer>
#include <map>
#include <memory>

#include "platform/DialogControls.h"
#include "platform/DialogProcedure.h"
#include "platform/DialogTemplate.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace wendra::platform::qt {

class QtDialogControls final : public DialogControls {
public:
    QtDialogControls(QDialog& dialog, DialogProcedure& procedure);

    void add(int id, QWidget* widget);
    QWidget* widget(int id) const;
    bool ended() const { return ended_; }
    int result() const { return result_; }
    TreeItem handleOf(QTreeWidgetItem* item) const;

    void setTitle(std::u16string_view title) override;
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

    TreeItem addTreeItem(int id, TreeItem parent, std::u16string_view text, TreeIcon icon,
                         bool expandable) override;
    void expandTreeItem(int id, TreeItem item) override;
    void selectTreeItem(int id, TreeItem item) override;
    TreeItem selectedTreeItem(int id) const override;
    TreeItem treeParent(int id, TreeItem item) const override;
    std::vector<TreeItem> treeChildren(int id, TreeItem parent) const override;
    std::u16string treeItemText(int id, TreeItem item) const override;

    void redraw(int id) override;
    void setTimer(int timerId, int milliseconds) override;
    void killTimer(int timerId) override;
    void end(int result) override;

private:
    QTreeWidget* tree(int id) const;
    QTreeWidgetItem* treeItem(int id, TreeItem item) const;

    QDialog& dialog_;
    DialogProcedure& procedure_;
    std::map<int, QWidget*> widgets_;
    std::map<TreeItem, QTreeWidgetItem*> treeItems_;
    TreeItem nextTreeItem_ = 1;
    std::map<int, std::unique_ptr<QTimer>> timers_;
    bool ended_ = false;
    int result_ = kIdCancel;
};

}  // namespace wendra::platform::qt
