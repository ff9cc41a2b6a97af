#include "app/ButtonMenu.h"

namespace wendra {

namespace {

constexpr int kWidth = 120;
constexpr int kRowHeight = 16;
constexpr int kMargin = 4;

}  // namespace

ButtonColumn::ButtonColumn(platform::DialogTemplate& dialog, int width)
    : dialog_(dialog), width_(width), top_(kMargin) {}

void ButtonColumn::add(int id, std::u16string caption, std::uint32_t style) {
    dialog_.controls.push_back({id,
                                platform::ControlKind::Button,
                                std::move(caption),
                                {kMargin, top_, width_ - kMargin, top_ + kRowHeight - 2},
                                style});
    top_ += kRowHeight;
}

void ButtonColumn::finish() {
    dialog_.size = {width_, top_ + kMargin};
}

platform::DialogTemplate ButtonMenu::layout(int templateId, std::u16string title,
                                            std::span<const ButtonMenuEntry> entries) {
    platform::DialogTemplate dialog;
    dialog.id = templateId;
    dialog.title = std::move(title);
    ButtonColumn column(dialog, kWidth);
    for (const ButtonMenuEntry& entry : entries)
        column.add(entry.id, std::u16string(entry.caption),
                   entry.built ? 0u : platform::style::kDisabled);
    column.finish();
    return dialog;
}

void ButtonMenu::init(platform::DialogControls& dialog) {
    for (const ButtonMenuEntry& entry : entries_) dialog.setEnabled(entry.id, entry.built);
}

void ButtonMenu::command(platform::DialogControls& dialog, int id) {
    if (id == platform::kIdCancel || id == backId_) {
        dialog.end(backId_);
        return;
    }
    for (const ButtonMenuEntry& entry : entries_)
        if (entry.id == id && entry.built) dialog.end(id);
}

}  // namespace wendra
