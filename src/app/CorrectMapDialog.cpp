#include "app/CorrectMapDialog.h"

#include <cmath>
#include <cstdio>

#include "platform/DialogHost.h"
#include "platform/MessageBox.h"
#include "records/ClassicNumbers.h"
#include "records/Text.h"
#include "records/UnitFormat.h"

namespace wendra {

namespace {

namespace id = CorrectMapControl;
using platform::ControlKind;

constexpr double kMetresPerKm = 1000.0;
constexpr double kFeetPerKm = 3.28083 * 1000.0;
constexpr double kNauticalMilesPerKm = 0.53997;
constexpr double kResolution = 1000.0;  // values are kept to 0.001 of the unit
constexpr std::u16string_view kNotANumber = u"Please enter a number.";

constexpr int kWidth = 160;
constexpr int kRow = 14;
constexpr int kMargin = 4;

constexpr platform::FormRows kForm{kRow, kMargin};

// std::round takes halves away from zero, as the shown values must.
double rounded(double value) {
    return std::round(value * kResolution) / kResolution;
}

std::u16string formatStep(double value) {
    ClassicLocaleScope classic;
    char text[32];
    std::snprintf(text, sizeof text, "%0.3f", value);
    return widen(text);
}

std::optional<double> readStep(std::u16string_view text) {
    const std::string bytes = narrow(text);
    size_t used = 0;
    const std::optional<double> value = readReal(bytes, &used);
    while (used < bytes.size() && bytes[used] == ' ') ++used;
    return used == bytes.size() ? value : std::nullopt;
}

}  // namespace

SmallDistanceUnit smallDistanceUnit(int unitSystem) {
    switch (unitSystem) {
        case 1:
            return {u"ft", kFeetPerKm};
        case 2:
            return {u"mn", kNauticalMilesPerKm};
        default:
            return {u"m", kMetresPerKm};
    }
}

CorrectMapDialog::CorrectMapDialog(std::span<maps::CalibratedMap* const> selection,
                                   std::u16string name, int unitSystem,
                                   std::function<void(bool)> applied)
    : selection_(selection),
      name_(std::move(name)),
      unitSystem_(unitSystem),
      unit_(smallDistanceUnit(unitSystem)),
      applied_(std::move(applied)),
      extent_(maps::mapExtent(selection)) {}

platform::DialogTemplate CorrectMapDialog::dialogTemplate(std::u16string_view unitName) {
    const int mid = kWidth / 2;
    const int right = kWidth - kMargin;
    platform::DialogTemplate dialog;
    dialog.id = kTemplateId;
    dialog.title = u"Correct a map";
    dialog.controls = {
        {id::kSummary,
         ControlKind::Label,
         u"",
         {kMargin, kMargin, right, kMargin + 2 * kRow - 2},
         platform::style::kMultiLine},
        kForm.at(id::kStep, ControlKind::Edit, u"", 2, kMargin, right - 30),
        kForm.at(id::kUnit, ControlKind::Label, unitName, 2, right - 28, right),
        kForm.at(id::kWider, ControlKind::Button, u"+ Width", 3, kMargin, mid - 2),
        kForm.at(id::kNarrower, ControlKind::Button, u"- Width", 3, mid + 2, right),
        kForm.at(id::kNorth, ControlKind::Button, u"North", 4, kMargin, mid - 2),
        kForm.at(id::kSouth, ControlKind::Button, u"South", 4, mid + 2, right),
        kForm.at(id::kEast, ControlKind::Button, u"To East", 5, kMargin, mid - 2),
        kForm.at(id::kWest, ControlKind::Button, u"To West", 5, mid + 2, right),
        kForm.at(id::kApply, ControlKind::Button, u"Apply", 6, kMargin, mid - 2,
                 platform::style::kDefaultButton),
        kForm.at(id::kApplyAndTest, ControlKind::Button, u"Apply and test", 6, mid + 2, right),
        kForm.at(platform::kIdCancel, ControlKind::Button, u"Cancel", 7, kMargin, right),
    };
    dialog.size = kForm.size(kWidth, 8);
    return dialog;
}

void CorrectMapDialog::init(platform::DialogControls& dialog) {
    dialog.setText(id::kStep, formatStep(extent_.kmPerPixel * unit_.perKm));
    dialog.setText(id::kUnit, unit_.name);
    dialog.setText(id::kSummary, summary());
}

std::u16string CorrectMapDialog::summary() const {
    std::u16string text = u"Correct: ";
    text.append(name_);
    const auto km = [this](double value) { return static_cast<float>(value / unit_.perKm); };
    if (values_.widthChange != 0) {
        text.append(u", ");
        appendDistance(text, km(values_.widthChange), unitSystem_);
        text.append(u" to Width");
    }
    if (values_.northShift != 0) {
        text.append(u", ");
        appendDistance(text, km(std::fabs(values_.northShift)), unitSystem_);
        text.append(values_.northShift > 0 ? u" to North" : u" vers le South");
    }
    if (values_.eastShift != 0) {
        text.append(u", ");
        appendDistance(text, km(std::fabs(values_.eastShift)), unitSystem_);
        text.append(values_.eastShift > 0 ? u" vers l'Est" : u" vers l'West");
    }
    return text;
}

void CorrectMapDialog::change(platform::DialogControls& dialog, double& value, double sign) {
    const std::optional<double> step = readStep(dialog.text(id::kStep));
    if (!step) {
        platform::showMessage(kNotANumber, u"Error!");
        return;
    }
    value = rounded(value + sign * *step);
    dialog.setText(id::kSummary, summary());
}

void CorrectMapDialog::apply(platform::DialogControls& dialog, bool test) {
    maps::correctMaps(selection_, values_.northShift / unit_.perKm, values_.eastShift / unit_.perKm,
                      values_.widthChange / unit_.perKm, true);
    if (applied_) applied_(test);
    dialog.end(test ? id::kApplyAndTest : id::kApply);
}

void CorrectMapDialog::command(platform::DialogControls& dialog, int control) {
    switch (control) {
        case id::kWider:
        case id::kNarrower:
            change(dialog, values_.widthChange, control == id::kWider ? 1 : -1);
            return;
        case id::kNorth:
        case id::kSouth:
            change(dialog, values_.northShift, control == id::kNorth ? 1 : -1);
            return;
        case id::kEast:
        case id::kWest:
            change(dialog, values_.eastShift, control == id::kEast ? 1 : -1);
            return;
        case id::kApply:
        case id::kApplyAndTest:
            apply(dialog, control == id::kApplyAndTest);
            return;
        case platform::kIdOk:  // Enter applies, as the default button
            apply(dialog, false);
            return;
        case platform::kIdCancel:
            dialog.end(platform::kIdCancel);
            return;
        default:
            return;
    }
}

bool runCorrectMap(std::span<maps::CalibratedMap* const> selection, std::u16string name,
                   int unitSystem, std::function<void(bool test)> applied) {
    CorrectMapDialog dialog(selection, std::move(name), unitSystem, std::move(applied));
    const int closed =
        platform::runDialog(CorrectMapDialog::dialogTemplate(dialog.unit().name), dialog);
    return closed == CorrectMapControl::kApply || closed == CorrectMapControl::kApplyAndTest;
}

}  // namespace wendra
