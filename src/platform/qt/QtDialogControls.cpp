#include "platform/qt/QtDialogControls.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QStyle>
#include <QTreeWidget>

#include "platform/qt/QtText.h"

namespace wendra::platform::qt {

namespace {

constexpr int kHandleRole = Qt::UserRole + 1;

QIcon iconOf(TreeIcon icon) {
    switch (icon) {
        case TreeIcon::Folder:
            return QApplication::style()->standardIcon(QStyle::SP_DirIcon);
        case TreeIcon::File:
            return QApplication::style()->standardIcon(QStyle::SP_FileIcon);
        case TreeIcon::None:
            break;
    }
    return QIcon();
}

}  // namespace

QtDialogControls::QtDialogControls(QDialog& dialog, DialogProcedure& procedure)
    : dialog_(dialog), procedure_(procedure) {}

void QtDialogControls::add(int id, QWidget* widget) {
    widgets_.emplace(id, widget);
}

QWidget* QtDialogControls::widget(int id) const {
    const auto found = widgets_.find(id);
    return found == widgets_.end() ? nullptr : found->second;
}

void QtDialogControls::setTitle(std::u16string_view title) {
    dialog_.setWindowTitle(toQString(title));
}

std::u16string QtDialogControls::text(int id) const {
    QWidget* w = widget(id);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) return fromQString(edit->text());
    if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) return fromQString(edit->toPlainText());
    if (auto* label = qobject_cast<QLabel*>(w)) return fromQString(label->text());
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return fromQString(button->text());
    if (auto* combo = qobject_cast<QComboBox*>(w)) return fromQString(combo->currentText());
    return {};
}

void QtDialogControls::setText(int id, std::u16string_view text) {
    QWidget* w = widget(id);
    if (!w) return;
    const QSignalBlocker quiet(w);
    const QString value = toQString(text);
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        edit->setText(value);
    else if (auto* edit = qobject_cast<QPlainTextEdit*>(w))
        edit->setPlainText(value);
    else if (auto* label = qobject_cast<QLabel*>(w))
        label->setText(value);
    else if (auto* button = qobject_cast<QAbstractButton*>(w))
        button->setText(value);
    else if (auto* combo = qobject_cast<QComboBox*>(w))
        combo->setCurrentText(value);
}

bool QtDialogControls::checked(int id) const {
    auto* button = qobject_cast<QAbstractButton*>(widget(id));
    return button && button->isChecked();
}

void QtDialogControls::setChecked(int id, bool checked) {
    auto* button = qobject_cast<QAbstractButton*>(widget(id));
    if (!button || !button->isCheckable()) return;
    const QSignalBlocker quiet(button);
    button->setChecked(checked);
}

bool QtDialogControls::enabled(int id) const {
    QWidget* w = widget(id);
    return w && w->isEnabled();
}

void QtDialogControls::setEnabled(int id, bool enabled) {
    if (QWidget* w = widget(id)) w->setEnabled(enabled);
}

void QtDialogControls::setVisible(int id, bool visible) {
    if (QWidget* w = widget(id)) w->setVisible(visible);
}

void QtDialogControls::clearItems(int id) {
    QWidget* w = widget(id);
    if (!w) return;
    const QSignalBlocker quiet(w);
    if (auto* list = qobject_cast<QListWidget*>(w))
        list->clear();
    else if (auto* combo = qobject_cast<QComboBox*>(w))
        combo->clear();
    else if (auto* view = qobject_cast<QTreeWidget*>(w)) {
        std::erase_if(treeItems_,
                      [view](const auto& entry) { return entry.second->treeWidget() == view; });
        view->clear();
    }
}

int QtDialogControls::addItem(int id, std::u16string_view text) {
    QWidget* w = widget(id);
    if (!w) return -1;
    const QSignalBlocker quiet(w);
    if (auto* list = qobject_cast<QListWidget*>(w)) {
        list->addItem(toQString(text));
        return list->count() - 1;
    }
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        combo->addItem(toQString(text));
        return combo->count() - 1;
    }
    return -1;
}

int QtDialogControls::itemCount(int id) const {
    QWidget* w = widget(id);
    if (auto* list = qobject_cast<QListWidget*>(w)) return list->count();
    if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->count();
    return 0;
}

std::u16string QtDialogControls::itemText(int id, int index) const {
    QWidget* w = widget(id);
    if (auto* list = qobject_cast<QListWidget*>(w))
        return list->item(index) ? fromQString(list->item(index)->text()) : std::u16string();
    if (auto* combo = qobject_cast<QComboBox*>(w))
        return index >= 0 && index < combo->count() ? fromQString(combo->itemText(index))
                                                    : std::u16string();
    return {};
}

int QtDialogControls::selection(int id) const {
    QWidget* w = widget(id);
    if (auto* list = qobject_cast<QListWidget*>(w)) return list->currentRow();
    if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->currentIndex();
    return -1;
}

void QtDialogControls::setSelection(int id, int index) {
    QWidget* w = widget(id);
    if (!w) return;
    const QSignalBlocker quiet(w);
    if (auto* list = qobject_cast<QListWidget*>(w)) {
        list->setCurrentRow(index >= 0 && index < list->count() ? index : -1);
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
    }
}

QTreeWidget* QtDialogControls::tree(int id) const {
    return qobject_cast<QTreeWidget*>(widget(id));
}

QTreeWidgetItem* QtDialogControls::treeItem(int id, TreeItem item) const {
    const auto found = treeItems_.find(item);
    if (found == treeItems_.end() || found->second->treeWidget() != tree(id)) return nullptr;
    return found->second;
}

TreeItem QtDialogControls::handleOf(QTreeWidgetItem* item) const {
    return item ? item->data(0, kHandleRole).toULongLong() : kNoTreeItem;
}

TreeItem QtDialogControls::addTreeItem(int id, TreeItem parent, std::u16string_view text,
                                       TreeIcon icon, bool expandable) {
    QTreeWidget* view = tree(id);
    if (!view) return kNoTreeItem;
    QTreeWidgetItem* under = parent == kNoTreeItem ? nullptr : treeItem(id, parent);
    if (parent != kNoTreeItem && !under) return kNoTreeItem;
    const QSignalBlocker quiet(view);
    auto* item = under ? new QTreeWidgetItem(under) : new QTreeWidgetItem(view);
    item->setText(0, toQString(text));
    item->setIcon(0, iconOf(icon));
    if (expandable) item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    const TreeItem handle = nextTreeItem_++;
    item->setData(0, kHandleRole, QVariant::fromValue<qulonglong>(handle));
    treeItems_.emplace(handle, item);
    return handle;
}

void QtDialogControls::expandTreeItem(int id, TreeItem item) {
    if (QTreeWidgetItem* found = treeItem(id, item)) {
        const QSignalBlocker quiet(found->treeWidget());
        found->setExpanded(true);
    }
}

void QtDialogControls::selectTreeItem(int id, TreeItem item) {
    QTreeWidgetItem* found = treeItem(id, item);
    if (!found) return;
    QTreeWidget* view = found->treeWidget();
    const QSignalBlocker quiet(view);
    view->setCurrentItem(found);
    view->scrollToItem(found);
}

TreeItem QtDialogControls::selectedTreeItem(int id) const {
    QTreeWidget* view = tree(id);
    return view ? handleOf(view->currentItem()) : kNoTreeItem;
}

TreeItem QtDialogControls::treeParent(int id, TreeItem item) const {
    QTreeWidgetItem* found = treeItem(id, item);
    return found ? handleOf(found->parent()) : kNoTreeItem;
}

std::vector<TreeItem> QtDialogControls::treeChildren(int id, TreeItem parent) const {
    std::vector<TreeItem> children;
    QTreeWidget* view = tree(id);
    if (!view) return children;
    if (parent == kNoTreeItem) {
        for (int i = 0; i < view->topLevelItemCount(); ++i)
            children.push_back(handleOf(view->topLevelItem(i)));
    } else if (QTreeWidgetItem* found = treeItem(id, parent)) {
        for (int i = 0; i < found->childCount(); ++i) children.push_back(handleOf(found->child(i)));
    }
    return children;
}

std::u16string QtDialogControls::treeItemText(int id, TreeItem item) const {
    QTreeWidgetItem* found = treeItem(id, item);
    return found ? fromQString(found->text(0)) : std::u16string();
}

void QtDialogControls::redraw(int id) {
    if (QWidget* w = widget(id)) w->update();
}

void QtDialogControls::setTimer(int timerId, int milliseconds) {
    auto& timer = timers_[timerId];
    if (!timer) {
        timer = std::make_unique<QTimer>();
        QObject::connect(timer.get(), &QTimer::timeout, &dialog_, [this, timerId] {
            if (!ended_) procedure_.timer(*this, timerId);
        });
    }
    timer->start(std::max(milliseconds, 1));
}

void QtDialogControls::killTimer(int timerId) {
    if (auto found = timers_.find(timerId); found != timers_.end()) found->second->stop();
}

void QtDialogControls::end(int result) {
    if (ended_) return;
    ended_ = true;
    result_ = result;
    for (auto& [id, timer] : timers_) timer->stop();
    dialog_.done(result);
}

}  // namespace wendra::platform::qt
