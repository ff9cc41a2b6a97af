#include "gps/GpsDialogWindow.h"

#include "gps/SoundNames.h"
#include "platform/DialogHost.h"
#include "platform/SoundPlayer.h"
#include "platform/WaitCursor.h"

namespace wendra {

using platform::ControlKind;
using platform::DialogControls;

namespace {

// Dialog units: the handheld's portrait screen.
constexpr int kWidth = 160;
constexpr int kHeight = 200;
constexpr int kMargin = 4;
constexpr int kRow = 12;   // one control's height
constexpr int kStep = 14;  // from one row to the next
constexpr int kLabelEnd = 30;
constexpr int kMiddle = 84;  // start of a row's right half
constexpr int kButtonLeft = 112;

struct Place {
    int left;
    int row;
    int right;
};

platform::ControlTemplate control(int id, ControlKind kind, std::u16string_view text, Place at,
                                  std::uint32_t style = 0) {
    const int top = kMargin + at.row * kStep;
    return {id, kind, std::u16string(text), {at.left, top, at.right, top + kRow}, style};
}

platform::ControlTemplate checkBox(int id, std::u16string_view text, Place at) {
    return control(id, ControlKind::CheckBox, text, at);
}

}  // namespace

platform::DialogTemplate gpsDialogTemplate() {
    using platform::style::kDefaultButton;
    constexpr int kRight = kWidth - kMargin;
    constexpr int kHalf = kWidth / 2;
    platform::DialogTemplate dialog{kGpsDialogId, u"GPS", {kWidth, kHeight}, {}};
    dialog.controls = {
        control(kGpsPortLabelId, ControlKind::Label, u"COM:", {kMargin, 0, kLabelEnd}),
        control(kGpsPortListId, ControlKind::Combo, u"", {kLabelEnd + 2, 0, kRight}),
        control(kGpsRateLabelId, ControlKind::Label, u"rate", {kMargin, 1, kLabelEnd}),
        control(kGpsRateListId, ControlKind::Combo, u"", {kLabelEnd + 2, 1, kButtonLeft - 4}),
        control(kGpsSearchId, ControlKind::Button, u"Search", {kButtonLeft, 1, kRight}),
        checkBox(kGpsGeoidId, u"Corr. geoide", {kMargin, 2, kMiddle - 4}),
        control(kGpsCorrectionId, ControlKind::Edit, u"", {kMiddle, 2, kButtonLeft}),
        checkBox(kGpsAutoCorrectionId, u"Upd auto", {kMargin, 3, kMiddle - 4}),
        checkBox(kGpsUpdateTimeId, u"Update time", {kMiddle, 3, kRight}),
        checkBox(kGpsLogPortId, u"Log port", {kMargin, 4, kMiddle - 4}),
        checkBox(kGpsAllSystemsId, u"All satellite systems", {kMiddle, 4, kRight}),
        checkBox(kGpsDeactivateId, u"Deactivate the GPS", {kMargin, 5, kRight}),
        checkBox(kGpsAutoReconnectId, u"Automatic reconnection", {kMargin, 6, kRight}),
        checkBox(kGpsBluetoothId, u"Activate Bluetooth", {kMargin, 7, kRight}),
        checkBox(kGpsStaticNavFunctionsId, u"Functions to manage StaticNav", {kMargin, 8, kRight}),
        control(kGpsSoundLabelId, ControlKind::Label, u"Alert no fix", {kMargin, 9, kRight}),
        control(kGpsSoundListId, ControlKind::Combo, u"", {kMargin, 10, kButtonLeft - 4}),
        control(kGpsPlayId, ControlKind::Button, u"Play", {kButtonLeft, 10, kRight}),
        control(kGpsStaticNavId, ControlKind::Button, u"Static Nav", {kMargin, 11, kRight}),
        control(platform::kIdOk, ControlKind::Button, u"OK", {kMargin, 12, kHalf - 2},
                kDefaultButton),
        control(platform::kIdCancel, ControlKind::Button, u"Cancel", {kHalf + 2, 12, kRight}),
    };
    return dialog;
}

GpsDialogWindow::GpsDialogWindow(const GpsDialogValues& current, const GpsDialogSetup& setup)
    : current_(current), setup_(setup) {}

void GpsDialogWindow::init(DialogControls& dialog) {
    form_ = gpsDialogForm(current_, setup_.ports.describe(), std::u16string(kGpsNoSound),
                          setup_.soundNames, setup_.bluetoothAvailable);
    for (const std::u16string& port : form_.ports) dialog.addItem(kGpsPortListId, port);
    for (const std::u16string& rate : form_.rates) dialog.addItem(kGpsRateListId, rate);
    for (const std::u16string& sound : form_.sounds) dialog.addItem(kGpsSoundListId, sound);
    dialog.setSelection(kGpsSoundListId, form_.soundIndex);
    dialog.setText(kGpsCorrectionId, form_.correction);
    show(dialog);
}

// Everything a button may have changed: the checks, the port and rate, the enables.
void GpsDialogWindow::show(DialogControls& dialog) const {
    dialog.setSelection(kGpsPortListId, form_.portId);
    dialog.setSelection(kGpsRateListId, form_.rateIndex);
    dialog.setChecked(kGpsGeoidId, form_.geoidCorrection);
    dialog.setChecked(kGpsAutoCorrectionId, form_.autoCorrection);
    dialog.setChecked(kGpsUpdateTimeId, form_.updateTime);
    dialog.setChecked(kGpsAllSystemsId, form_.allSystems);
    dialog.setChecked(kGpsLogPortId, form_.logPort);
    dialog.setChecked(kGpsDeactivateId, form_.deactivate);
    dialog.setChecked(kGpsAutoReconnectId, form_.autoReconnect);
    dialog.setChecked(kGpsBluetoothId, form_.activateBluetooth);
    dialog.setChecked(kGpsStaticNavFunctionsId, form_.staticNavFunctions);
    showEnabled(dialog);
}

void GpsDialogWindow::showEnabled(DialogControls& dialog) const {
    const GpsDialogEnabled enabled = gpsDialogEnabled(form_);
    dialog.setEnabled(kGpsAutoCorrectionId, enabled.autoCorrection);
    dialog.setEnabled(kGpsCorrectionId, enabled.correction);
    dialog.setEnabled(kGpsStaticNavId, enabled.staticNavButton);
    dialog.setEnabled(kGpsBluetoothId, enabled.activateBluetooth);
    dialog.setEnabled(kGpsSearchId, enabled.search);
}

void GpsDialogWindow::readForm(const DialogControls& dialog) {
    // A list left without a choice keeps what the form had.
    if (const int port = dialog.selection(kGpsPortListId); port >= 0) form_.portId = port;
    if (const int rate = dialog.selection(kGpsRateListId); rate >= 0) form_.rateIndex = rate;
    if (const int sound = dialog.selection(kGpsSoundListId); sound >= 0) form_.soundIndex = sound;
    form_.geoidCorrection = dialog.checked(kGpsGeoidId);
    form_.correction = dialog.text(kGpsCorrectionId);
    form_.autoCorrection = dialog.checked(kGpsAutoCorrectionId);
    form_.updateTime = dialog.checked(kGpsUpdateTimeId);
    form_.allSystems = dialog.checked(kGpsAllSystemsId);
    form_.logPort = dialog.checked(kGpsLogPortId);
    form_.deactivate = dialog.checked(kGpsDeactivateId);
    form_.autoReconnect = dialog.checked(kGpsAutoReconnectId);
    form_.activateBluetooth = dialog.checked(kGpsBluetoothId);
    form_.staticNavFunctions = dialog.checked(kGpsStaticNavFunctionsId);
}

void GpsDialogWindow::command(DialogControls& dialog, int id) {
    readForm(dialog);
    switch (id) {
        case kGpsGeoidId:
        case kGpsStaticNavFunctionsId:
            showEnabled(dialog);
            break;
        case kGpsSearchId:
            search(dialog);
            break;
        case kGpsPlayId:
            play(dialog);
            break;
        case kGpsStaticNavId:
            accept(dialog, GpsDialogButton::StaticNav);
            break;
        case platform::kIdOk:
            accept(dialog, GpsDialogButton::Ok);
            break;
        case platform::kIdCancel:
            result_.reset();
            dialog.end(platform::kIdCancel);
            break;
        default:
            break;
    }
}

void GpsDialogWindow::search(DialogControls& dialog) {
    std::optional<platform::PortSearchResult> found;
    {
        // Looking for a GPS service may wait on the network for a while.
        platform::WaitCursor wait;
        found = setup_.ports.search();
    }
    applyPortSearch(form_, found);
    show(dialog);
}

void GpsDialogWindow::play(const DialogControls& dialog) const {
    // The first entry is no sound: there is no file to play.
    if (form_.soundIndex <= 0) return;
    const std::filesystem::path file =
        soundFile(setup_.soundFolder, dialog.itemText(kGpsSoundListId, form_.soundIndex));
    if (!file.empty()) platform::playSound(file);
}

void GpsDialogWindow::accept(DialogControls& dialog, GpsDialogButton button) {
    const std::optional<GpsDialogValues> next = acceptGpsDialog(form_, current_, button);
    if (!next) {
        show(dialog);  // a No to the StaticNav question unchecked it
        return;
    }
    const bool applied = !setup_.take || setup_.take(button, *next);
    // Taken either way: asking again, or changing the receiver rate twice, would be wrong.
    current_ = *next;
    form_.foundRateIndex = -1;
    if (button == GpsDialogButton::Ok && applied) {
        result_ = *next;
        dialog.end(platform::kIdOk);
    }
}

std::optional<GpsDialogValues> runGpsDialog(const GpsDialogValues& current,
                                            const GpsDialogSetup& setup) {
    GpsDialogWindow window(current, setup);
    if (platform::runDialog(gpsDialogTemplate(), window) != platform::kIdOk) return std::nullopt;
    return window.result();
}

}  // namespace wendra
