#include "track/TrackMenuScreen.h"

#include <array>
#include <string_view>

#include "platform/DialogHost.h"

namespace wendra {

namespace {

struct Entry {
    int id;
    std::u16string_view caption;
    bool built;  // the command behind it exists in this build
};

constexpr std::array<Entry, 9> kEntries = {{
    {TrackMenuButton::kLoad, u"Load", true},
    {TrackMenuButton::kTakePrevious, u"Take the previous track again", true},
    {TrackMenuButton::kSave, u"Save", true},
    {TrackMenuButton::kSaveAndDelete, u"Save and Delete", true},
    {TrackMenuButton::kDelete, u"Delete", false},
    {TrackMenuButton::kChangeColour, u"Change the color", false},
    {TrackMenuButton::kImport, u"Import", false},
    {TrackMenuButton::kExport, u"Export", false},
    {TrackMenuButton::kBack, u"Back", true},
}};

constexpr int kWidth = 140;
constexpr int kRowHeight = 16;
constexpr int kMargin = 4;

platform::ControlTemplate control(int id, platform::ControlKind kind, std::u16string_view text,
                                  int top, int left = kMargin, int right = kWidth - kMargin,
                                  std::uint32_t style = 0) {
    return {id, kind, std::u16string(text), {left, top, right, top + kRowHeight - 2}, style};
}

bool runLoad(TrackMenu& menu) {
    LoadTrackDialog values = menu.loadDialog();
    LoadTrackScreen screen(values);
    if (platform::runDialog(LoadTrackScreen::dialogTemplate(), screen) != platform::kIdOk)
        return false;
    return menu.load(values);
}

}  // namespace

platform::DialogTemplate TrackMenuScreen::dialogTemplate() {
    platform::DialogTemplate dialog;
    dialog.id = kTemplateId;
    dialog.title = u"Track";
    int top = kMargin;
    for (const Entry& entry : kEntries) {
        dialog.controls.push_back(control(entry.id, platform::ControlKind::Button, entry.caption,
                                          top, kMargin, kWidth - kMargin,
                                          entry.built ? 0u : platform::style::kDisabled));
        top += kRowHeight;
    }
    dialog.size = {kWidth, top + kMargin};
    return dialog;
}

void TrackMenuScreen::init(platform::DialogControls& dialog) {
    for (const Entry& entry : kEntries) dialog.setEnabled(entry.id, entry.built);
}

void TrackMenuScreen::command(platform::DialogControls& dialog, int id) {
    if (id == platform::kIdCancel || id == TrackMenuButton::kBack) {
        dialog.end(TrackMenuButton::kBack);
        return;
    }
    for (const Entry& entry : kEntries)
        if (entry.id == id && entry.built) dialog.end(id);
}

platform::DialogTemplate LoadTrackScreen::dialogTemplate() {
    using platform::ControlKind;
    platform::DialogTemplate dialog;
    dialog.id = kTemplateId;
    dialog.title = u"Load a track";
    const int middle = kWidth / 2;
    dialog.controls = {
        control(0, ControlKind::Label, u"In the layer:", kMargin),
        control(kLayer, ControlKind::Combo, u"", kMargin + kRowHeight),
        control(kForceColour, ControlKind::CheckBox, u"Force color", kMargin + 2 * kRowHeight),
        control(kReplace, ControlKind::CheckBox, u"Replace track of layer",
                kMargin + 3 * kRowHeight),
        control(platform::kIdOk, ControlKind::Button, u"OK", kMargin + 4 * kRowHeight, kMargin,
                middle - 2, platform::style::kDefaultButton),
        control(platform::kIdCancel, ControlKind::Button, u"Cancel", kMargin + 4 * kRowHeight,
                middle + 2),
    };
    dialog.size = {kWidth, 5 * kRowHeight + 2 * kMargin};
    return dialog;
}

void LoadTrackScreen::init(platform::DialogControls& dialog) {
    dialog.clearItems(kLayer);
    for (const std::u16string& name : values_.layerNames) dialog.addItem(kLayer, name);
    dialog.setSelection(kLayer, values_.layer);
    dialog.setChecked(kForceColour, values_.forceColour);
    dialog.setChecked(kReplace, values_.replace);
}

void LoadTrackScreen::command(platform::DialogControls& dialog, int id) {
    if (id == platform::kIdOk) {
        values_.layer = dialog.selection(kLayer);
        values_.forceColour = dialog.checked(kForceColour);
        values_.replace = dialog.checked(kReplace);
        // Without a layer picked there is nothing to load into.
        if (values_.layer < 0) return;
    }
    if (id == platform::kIdOk || id == platform::kIdCancel) dialog.end(id);
}

bool runTrackMenu(TrackMenu& menu) {
    TrackMenuScreen screen;
    switch (platform::runDialog(TrackMenuScreen::dialogTemplate(), screen)) {
        case TrackMenuButton::kLoad:
            return runLoad(menu);
        case TrackMenuButton::kTakePrevious:
            return menu.takePreviousTrackAgain();
        case TrackMenuButton::kSave:
            return menu.save();
        case TrackMenuButton::kSaveAndDelete:
            return menu.saveAndDelete();
        default:
            return false;
    }
}

}  // namespace wendra
