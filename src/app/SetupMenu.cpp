#include "app/SetupMenu.h"

#include <array>
#include <string_view>

namespace wendra {

namespace {

struct Entry {
    int id;
    std::u16string_view caption;
    bool built;  // the dialog behind it exists in this build
};

constexpr std::array<Entry, 4> kEntries = {{
    {SetupMenuButton::kGps, u"GPS", true},
    {SetupMenuButton::kTrack, u"Track", true},
    {SetupMenuButton::kAlerts, u"Alerts", false},
    {SetupMenuButton::kBack, u"Back", true},
}};

constexpr int kWidth = 120;
constexpr int kRowHeight = 16;
constexpr int kMargin = 4;

}  // namespace

platform::DialogTemplate SetupMenu::dialogTemplate() {
    platform::DialogTemplate dialog;
    dialog.id = kTemplateId;
    dialog.title = u"Setup";
    int top = kMargin;
    for (const Entry& entry : kEntries) {
        dialog.controls.push_back({entry.id, platform::ControlKind::Button,
                                   std::u16string(entry.caption),
                                   {kMargin, top, kWidth - kMargin, top + kRowHeight - 2},
                                   entry.built ? 0u : platform::style::kDisabled});
        top += kRowHeight;
    }
    dialog.size = {kWidth, top + kMargin};
    return dialog;
}

void SetupMenu::init(platform::DialogControls& dialog) {
    for (const Entry& entry : kEntries) dialog.setEnabled(entry.id, entry.built);
}

void SetupMenu::command(platform::DialogControls& dialog, int id) {
    if (id == platform::kIdCancel || id == SetupMenuButton::kBack) {
        dialog.end(SetupMenuButton::kBack);
        return;
    }
    for (const Entry& entry : kEntries)
        if (entry.id == id && entry.built) dialog.end(id);
}

}  // namespace wendra
