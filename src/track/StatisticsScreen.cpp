#include "track/StatisticsScreen.h"

#include <array>

#include "platform/MessageBox.h"

namespace wendra {

namespace {

constexpr int kWidth = 160;
constexpr int kHeight = 200;
constexpr int kMargin = 4;
constexpr int kButtonHeight = 14;

}  // namespace

StatisticsScreen::StatisticsScreen(TrackStatistics& statistics, bool hintShown)
    : statistics_(statistics), hintShown_(hintShown) {}

platform::DialogTemplate StatisticsScreen::dialogTemplate() {
    using platform::ControlKind;
    const int buttonsTop = kHeight - kMargin - kButtonHeight;
    const int mid = kWidth / 2;
    platform::DialogTemplate dialog;
    dialog.id = kTemplateId;
    dialog.title = u"Statistics";
    dialog.size = {kWidth, kHeight};
    dialog.controls = {
        {kTree, ControlKind::Tree, u"", {kMargin, kMargin, kWidth - kMargin, buttonsTop - 2}, 0},
        {kBack, ControlKind::Button, u"Back", {kMargin, buttonsTop, mid - 2, kHeight - kMargin},
         0},
        {kDisplay, ControlKind::Button, u"Display",
         {mid + 2, buttonsTop, kWidth - kMargin, kHeight - kMargin}, 0},
    };
    return dialog;
}

// A row hangs under the nearest row above it that is one level less deep.
void StatisticsScreen::init(platform::DialogControls& dialog) {
    items_.assign(TrackStatistics::kRowCount, platform::kNoTreeItem);
    std::array<platform::TreeItem, 3> parents{};
    for (int row = 0; row < TrackStatistics::kRowCount; ++row) {
        const StatisticsRow& entry = statistics_.row(row);
        const int depth = entry.depth();
        std::u16string text(entry.caption());
        if (depth > 0) text += u' ' + entry.value;
        const platform::TreeItem parent = depth > 0 ? parents[static_cast<size_t>(depth - 1)]
                                                    : platform::kNoTreeItem;
        items_[static_cast<size_t>(row)] =
            dialog.addTreeItem(kTree, parent, text, platform::TreeIcon::None, false);
        if (depth < 2) parents[static_cast<size_t>(depth)] = items_[static_cast<size_t>(row)];
    }
    for (int row = 0; row < TrackStatistics::kRowCount; ++row)
        if (statistics_.row(row).expanded) dialog.expandTreeItem(kTree, items_[static_cast<size_t>(row)]);
    const int selected = statistics_.selectedRow;
    if (selected >= 0 && selected < TrackStatistics::kRowCount)
        dialog.selectTreeItem(kTree, items_[static_cast<size_t>(selected)]);
}

int StatisticsScreen::rowOf(platform::TreeItem item) const {
    for (size_t row = 0; row < items_.size(); ++row)
        if (items_[row] == item && item != platform::kNoTreeItem) return static_cast<int>(row);
    return -1;
}

void StatisticsScreen::keepState(platform::DialogControls& dialog) {
    statistics_.selectedRow = rowOf(dialog.selectedTreeItem(kTree));
}

void StatisticsScreen::notify(platform::DialogControls& dialog, int id,
                              const platform::Notification& what) {
    if (id != kTree) return;
    if (what.code == platform::NotifyCode::SelectionChanged) keepState(dialog);
    if (what.code == platform::NotifyCode::Expanding) {
        const int row = rowOf(what.item);
        if (row >= 0) statistics_.row(row).expanded = true;
    }
}

void StatisticsScreen::command(platform::DialogControls& dialog, int id) {
    if (id == kBack || id == platform::kIdCancel || id == platform::kIdOk) {
        keepState(dialog);
        dialog.end(kBack);
        return;
    }
    if (id != kDisplay) return;
    keepState(dialog);
    display_ = StatisticsDisplay::decide(statistics_.selectedRow, statistics_.results(), hintShown_);
    if (!display_.centre) {
        platform::showMessage(StatisticsDisplay::kRefusalText, StatisticsDisplay::kRefusalTitle);
        return;
    }
    dialog.end(kDisplay);
}

}  // namespace wendra
