#include "app/ButtonMenu.h"

namespace wendra {

namespace {

constexpr int kWidth = 120;
constexpr int kRowHeight = 16;
constexpr int kMargin = 4;

}  // namespace

platform::DialogTemplate ButtonMenu::layout(int templateId, std::u16string title,
                                            std::span<const ButtonMenuEntry> entries) {
    platform::DialogTemplate dialog;
    dialog.id = templateId;
    dialog.title = std::move(title);
    int top = kMargin;
    for (const ButtonMenuEntry& entry : entries) {
        dialog.controls.push_back({entry.id,
                                   platform::ControlKind::Button,
                                   std::u16string(entry.caption),
                                   {kMargin, top, kWidth - kMargin, top + kRowHeight - 2},
                                   entry.built ? 0u : platform::style::kDisabled});
        top += kRowHeight;
    }
    dialog.size = {kWidth, top + kMargin};
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
