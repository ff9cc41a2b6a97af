#include "track/TrackSettingsScreen.h"

#include <cstdio>

#include "platform/MessageBox.h"
#include "records/ClassicNumbers.h"
#include "records/Text.h"

namespace wendra {

namespace {

namespace id = TrackSettingsControl;
using platform::ControlKind;

constexpr int kWidth = 160;
constexpr int kRow = 14;
constexpr int kMargin = 4;

constexpr platform::FormRows kForm{kRow, kMargin};

std::u16string formatLength(double value) {
    ClassicLocaleScope classic;
    char text[32];
    std::snprintf(text, sizeof text, "%0.2f", value);
    return widen(text);
}

std::optional<double> readLength(std::u16string_view text) {
    size_t used = 0;
    const std::string bytes = narrow(text);
    std::optional<double> value = readReal(bytes, &used);
    // Trailing spaces are fine; anything else after the number is not.
    while (used < bytes.size() && bytes[used] == ' ') ++used;
    if (used != bytes.size()) return std::nullopt;
    return value;
}

constexpr int kDeleteRadios[] = {id::kAsk, id::kAutomatic, id::kNever, id::kArchive};

}  // namespace

TrackSettingsScreen::TrackSettingsScreen(
    const TrackSettings& settings, TrackDialogForm form,
    std::function<std::optional<std::u16string>(std::u16string_view)> chooseFolder)
    : settings_(settings), form_(std::move(form)), chooseFolder_(std::move(chooseFolder)) {}

platform::DialogTemplate TrackSettingsScreen::dialogTemplate(const TrackSettingsUnits& units) {
    using platform::style::kGroupStart;
    const int mid = kWidth / 2;
    const int right = kWidth - kMargin;
    platform::DialogTemplate dialog;
    dialog.id = kTemplateId;
    dialog.title = u"Track";
    dialog.controls = {
        kForm.at(0, ControlKind::Label, u"Delete track:", 0, kMargin, right),
        kForm.at(id::kAsk, ControlKind::Radio, u"Ask", 1, kMargin, mid, kGroupStart),
        kForm.at(id::kAutomatic, ControlKind::Radio, u"Automatic", 1, mid, right),
        kForm.at(id::kNever, ControlKind::Radio, u"Never", 2, kMargin, mid),
        kForm.at(id::kArchive, ControlKind::Radio, u"Archives in:", 2, mid, right),
        kForm.at(id::kArchiveFolder, ControlKind::Edit, u"", 3, kMargin, right - 14),
        kForm.at(id::kBrowse, ControlKind::Button, u">", 3, right - 12, right),
        kForm.at(0, ControlKind::Label, u"Type of track", 4, kMargin, right),
        kForm.at(id::kTrailing, ControlKind::Radio, u"Trailing over", 5, kMargin, mid, kGroupStart),
        kForm.at(id::kTrailingLength, ControlKind::Edit, u"", 5, mid, right - 40),
        kForm.at(0, ControlKind::Label, units.large, 5, right - 38, right - 26),
        kForm.at(id::kTrailingLess, ControlKind::Button, u"-", 5, right - 24, right - 13),
        kForm.at(id::kTrailingMore, ControlKind::Button, u"+", 5, right - 11, right),
        kForm.at(id::kPermanent, ControlKind::Radio, u"Permanent", 6, kMargin, mid),
        kForm.at(0, ControlKind::Label, u"Number of points", 7, kMargin, mid),
        kForm.at(id::kMaxPoints, ControlKind::Combo, u"", 7, mid, right),
        kForm.at(0, ControlKind::Label, u"Nb layer points", 8, kMargin, mid),
        kForm.at(id::kMaxLayerPoints, ControlKind::Combo, u"", 8, mid, right),
        kForm.at(id::kJoinFarPoints, ControlKind::CheckBox, u"Join far points", 9, kMargin, right),
        kForm.at(id::kMinDistanceOn, ControlKind::CheckBox, u"Min. between 2 pts:", 10, kMargin,
                 mid),
        kForm.at(id::kMinDistance, ControlKind::Edit, u"", 10, mid, right - 40),
        kForm.at(0, ControlKind::Label, units.small, 10, right - 38, right - 26),
        kForm.at(id::kMinDistanceLess, ControlKind::Button, u"-", 10, right - 24, right - 13),
        kForm.at(id::kMinDistanceMore, ControlKind::Button, u"+", 10, right - 11, right),
        kForm.at(0, ControlKind::Label, u"Climb speed calculated over", 11, kMargin, mid + 20),
        kForm.at(id::kClimbWindow, ControlKind::Edit, u"", 11, mid + 22, right),
        kForm.at(platform::kIdOk, ControlKind::Button, u"OK", 12, kMargin, mid - 2,
                 platform::style::kDefaultButton),
        kForm.at(platform::kIdCancel, ControlKind::Button, u"Cancel", 12, mid + 2, right),
    };
    dialog.size = kForm.size(kWidth, 13);
    return dialog;
}

void TrackSettingsScreen::init(platform::DialogControls& dialog) {
    for (int radio : kDeleteRadios)
        dialog.setChecked(radio, radio == kDeleteRadios[static_cast<int>(form_.deleteMode)]);
    dialog.setText(id::kArchiveFolder, form_.archiveFolder);
    dialog.setChecked(id::kTrailing, form_.trailing);
    dialog.setChecked(id::kPermanent, !form_.trailing);
    dialog.setText(id::kTrailingLength, formatLength(form_.trailingLength));
    for (int list : {id::kMaxPoints, id::kMaxLayerPoints}) {
        dialog.clearItems(list);
        for (int count : kPointCountTable) dialog.addItem(list, widen(std::to_string(count)));
    }
    dialog.setSelection(id::kMaxPoints, form_.maxPointsIndex);
    dialog.setSelection(id::kMaxLayerPoints, form_.maxLayerPointsIndex);
    dialog.setChecked(id::kJoinFarPoints, form_.joinFarPoints);
    dialog.setChecked(id::kMinDistanceOn, form_.minDistanceOn);
    dialog.setText(id::kMinDistance, formatLength(form_.minDistance));
    dialog.setText(id::kClimbWindow, widen(std::to_string(form_.climbWindow)));
    enableFields(dialog);
}

// A length is editable only while its choice is on, the folder only for archiving.
void TrackSettingsScreen::enableFields(platform::DialogControls& dialog) const {
    const bool archive = dialog.checked(id::kArchive);
    dialog.setEnabled(id::kArchiveFolder, archive);
    dialog.setEnabled(id::kBrowse, archive && chooseFolder_ != nullptr);
    const bool trailing = dialog.checked(id::kTrailing);
    for (int control : {id::kTrailingLength, id::kTrailingLess, id::kTrailingMore})
        dialog.setEnabled(control, trailing);
    const bool minDistance = dialog.checked(id::kMinDistanceOn);
    for (int control : {id::kMinDistance, id::kMinDistanceLess, id::kMinDistanceMore})
        dialog.setEnabled(control, minDistance);
}

void TrackSettingsScreen::step(platform::DialogControls& dialog, int field, double by) const {
    const double value = readLength(dialog.text(field)).value_or(1.0) + by;
    dialog.setText(field, formatLength(value < 1.0 ? 1.0 : value));
}

void TrackSettingsScreen::command(platform::DialogControls& dialog, int control) {
    switch (control) {
        case platform::kIdOk:
            accept(dialog);
            return;
        case platform::kIdCancel:
            dialog.end(platform::kIdCancel);
            return;
        case id::kBrowse:
            if (chooseFolder_)
                if (std::optional<std::u16string> folder =
                        chooseFolder_(dialog.text(id::kArchiveFolder)))
                    dialog.setText(id::kArchiveFolder, *folder);
            return;
        case id::kTrailingLess:
        case id::kTrailingMore:
            step(dialog, id::kTrailingLength, control == id::kTrailingMore ? 1.0 : -1.0);
            return;
        case id::kMinDistanceLess:
        case id::kMinDistanceMore:
            step(dialog, id::kMinDistance, control == id::kMinDistanceMore ? 1.0 : -1.0);
            return;
        default:
            enableFields(dialog);
    }
}

std::optional<TrackDialogForm> TrackSettingsScreen::readForm(
    platform::DialogControls& dialog) const {
    TrackDialogForm form = form_;
    for (int mode = 0; mode < 4; ++mode)
        if (dialog.checked(kDeleteRadios[mode])) form.deleteMode = static_cast<DeleteMode>(mode);
    form.archiveFolder = dialog.text(id::kArchiveFolder);
    form.trailing = dialog.checked(id::kTrailing);
    form.joinFarPoints = dialog.checked(id::kJoinFarPoints);
    form.minDistanceOn = dialog.checked(id::kMinDistanceOn);
    if (dialog.selection(id::kMaxPoints) >= 0)
        form.maxPointsIndex = dialog.selection(id::kMaxPoints);
    if (dialog.selection(id::kMaxLayerPoints) >= 0)
        form.maxLayerPointsIndex = dialog.selection(id::kMaxLayerPoints);
    const std::optional<double> trailing = readLength(dialog.text(id::kTrailingLength));
    const std::optional<double> minDistance = readLength(dialog.text(id::kMinDistance));
    const std::optional<double> climb = readLength(dialog.text(id::kClimbWindow));
    // A disabled length is not the user's to mend: it keeps its value.
    if ((form.trailing && !trailing) || (form.minDistanceOn && !minDistance)) return std::nullopt;
    if (!climb || *climb < 1.0 || *climb > kMaxClimbWindow || *climb != static_cast<int>(*climb))
        return std::nullopt;
    if (form.trailing) form.trailingLength = *trailing;
    if (form.minDistanceOn) form.minDistance = *minDistance;
    form.climbWindow = static_cast<int>(*climb);
    return form;
}

void TrackSettingsScreen::accept(platform::DialogControls& dialog) {
    const std::optional<TrackDialogForm> form = readForm(dialog);
    if (!form) {
        platform::showMessage(kNotANumber, u"Error!");
        return;
    }
    TrackDialogOutcome outcome = acceptTrackDialog(settings_, *form);
    if (outcome.refusal) {
        platform::showMessage(outcome.refusal->text, outcome.refusal->title);
        return;
    }
    accepted_ = std::move(outcome.settings);
    dialog.end(platform::kIdOk);
}

}  // namespace wendra
