#include "app/StartupDialog.h"

#include "version/Version.h"

namespace wendra {

StartupDialog::StartupDialog(std::function<void()> load, std::chrono::milliseconds shownAtLeast)
    : load_(std::move(load)), shownAtLeast_(shownAtLeast) {}

platform::DialogTemplate StartupDialog::dialogTemplate() {
    using platform::ControlKind;
    platform::DialogTemplate dialog;
    dialog.id = kTemplateId;
    dialog.title = u"Wendra";
    dialog.size = {160, 106};
    dialog.controls = {
        {kPictureId, ControlKind::OwnerDrawn, u"", {0, 0, 160, 50}, 0},
        {1202, ControlKind::Label, u"Wendra", {10, 52, 150, 64}, 0},
        {1203, ControlKind::Label, std::u16string(kVersionText), {10, 66, 150, 78}, 0},
        {1204, ControlKind::Label, u"GPS track logger and moving map", {10, 78, 150, 90}, 0},
        {platform::kIdOk, ControlKind::Button, u"OK", {55, 92, 105, 104}, 0},
    };
    return dialog;
}

void StartupDialog::init(platform::DialogControls& dialog) {
    opened_ = std::chrono::steady_clock::now();
    // Loading waits for the first timer so that the dialog is on the screen meanwhile.
    dialog.setTimer(kLoadTimer, 1);
    dialog.setTimer(kCheckTimer, kCheckPeriodMs);
}

void StartupDialog::timer(platform::DialogControls& dialog, int timerId) {
    if (timerId == kLoadTimer) {
        dialog.killTimer(kLoadTimer);
        if (!loaded_ && load_) load_();
        loaded_ = true;
        return;
    }
    if (timerId == kCheckTimer) closeWhenDone(dialog);
}

void StartupDialog::closeWhenDone(platform::DialogControls& dialog) {
    if (!loaded_) return;
    if (!tapped_ && std::chrono::steady_clock::now() - opened_ < shownAtLeast_) return;
    dialog.killTimer(kCheckTimer);
    dialog.end(platform::kIdOk);
}

void StartupDialog::notify(platform::DialogControls& dialog, int id,
                           const platform::Notification& what) {
    if (id != kPictureId || what.code != platform::NotifyCode::StylusDown) return;
    tapped_ = true;
    closeWhenDone(dialog);
}

// Closing the dialog early must not skip loading the files.
void StartupDialog::command(platform::DialogControls& dialog, int id) {
    if (id != platform::kIdOk && id != platform::kIdCancel) return;
    tapped_ = true;
    closeWhenDone(dialog);
}

}  // namespace wendra
