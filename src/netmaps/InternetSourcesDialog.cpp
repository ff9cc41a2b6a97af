#include "netmaps/InternetSourcesDialog.h"

#include "platform/DialogHost.h"
#include "platform/MessageBox.h"
#include "records/Text.h"

namespace wendra::netmaps {

namespace {

namespace id = InternetSourcesControl;
using platform::ControlKind;

constexpr int kWidth = 180;
constexpr int kRow = 14;
constexpr int kMargin = 4;
constexpr int kListRows = 5;
constexpr int kLabelWidth = 64;

constexpr platform::FormRows kForm{kRow, kMargin};

std::string fieldText(const platform::DialogControls& dialog, int control, std::size_t limit) {
    std::string text = narrow(dialog.text(control));
    if (text.size() > limit) text.resize(limit);
    return text;
}

}  // namespace

InternetSourcesDialog::InternetSourcesDialog(SourceSettings& settings,
                                             DisplayedChanged displayedChanged)
    : settings_(settings), edited_(settings), displayedChanged_(std::move(displayedChanged)) {}

platform::DialogTemplate InternetSourcesDialog::dialogTemplate() {
    const int right = kWidth - kMargin;
    const int field = kMargin + kLabelWidth;
    const int mid = kWidth / 2;
    int row = kListRows;
    platform::DialogTemplate dialog;
    dialog.id = kTemplateId;
    dialog.title = u"Internet sources";
    dialog.controls = {
        kForm.at(id::kSources, ControlKind::List, u"", 0, kMargin, right, 0, kListRows),
        kForm.at(id::kActive, ControlKind::CheckBox, u"Active source", row++, kMargin, right),
        kForm.at(id::kTemplate, ControlKind::Edit, u"", row++, kMargin, right),
        kForm.at(0, ControlKind::Label, u"Attribution:", row, kMargin, field - 2),
        kForm.at(id::kAttribution, ControlKind::Edit, u"", row++, field, right),
        kForm.at(0, ControlKind::Label, u"Displayed source:", row, kMargin, field - 2),
        kForm.at(id::kDisplayed, ControlKind::Combo, u"", row++, field, right),
        kForm.at(0, ControlKind::Label, u"Country code:", row, kMargin, field - 2),
        kForm.at(id::kCountryCode, ControlKind::Edit, u"", row++, field, right),
        kForm.at(0, ControlKind::Label, u"Update site:", row, kMargin, field - 2),
        kForm.at(id::kUpdateSite, ControlKind::Edit, u"", row++, field, right),
        kForm.at(platform::kIdOk, ControlKind::Button, u"OK", row, kMargin, mid - 2,
                 platform::style::kDefaultButton),
        kForm.at(platform::kIdCancel, ControlKind::Button, u"Cancel", row++, mid + 2, right),
    };
    dialog.size = kForm.size(kWidth, row);
    return dialog;
}

void InternetSourcesDialog::init(platform::DialogControls& dialog) {
    for (int i = 0; i < kTileSourceCount; ++i)
        dialog.addItem(id::kSources, widen(tileSourceName(i)));
    current_ = isTileSource(edited_.displayedSource) ? edited_.displayedSource : 0;
    dialog.setSelection(id::kSources, current_);
    dialog.setText(id::kCountryCode, widen(edited_.countryCode));
    dialog.setText(id::kUpdateSite, widen(edited_.updateSite));
    showSource(dialog);
    fillDisplayed(dialog);
}

void InternetSourcesDialog::showSource(platform::DialogControls& dialog) {
    const auto at = static_cast<std::size_t>(current_);
    dialog.setChecked(id::kActive, edited_.active(current_));
    dialog.setText(id::kTemplate, widen(edited_.templates[at]));
    dialog.setText(id::kAttribution, widen(edited_.attributions[at]));
}

// Only active sources can be displayed; while none is, the list stays empty.
void InternetSourcesDialog::fillDisplayed(platform::DialogControls& dialog) {
    dialog.clearItems(id::kDisplayed);
    int selected = -1;
    for (int i = 0; i < kTileSourceCount; ++i) {
        if (!edited_.active(i)) continue;
        const int item = dialog.addItem(id::kDisplayed, widen(tileSourceName(i)));
        if (i == edited_.displayedSource) selected = item;
    }
    dialog.setSelection(id::kDisplayed, selected);
}

void InternetSourcesDialog::keepTexts(platform::DialogControls& dialog) {
    const auto at = static_cast<std::size_t>(current_);
    edited_.templates[at] = fieldText(dialog, id::kTemplate, kMaxTemplateLength);
    edited_.attributions[at] = fieldText(dialog, id::kAttribution, kMaxAttributionLength);
    edited_.countryCode = fieldText(dialog, id::kCountryCode, kMaxCountryCodeLength);
    edited_.updateSite = fieldText(dialog, id::kUpdateSite, kMaxTemplateLength);
}

void InternetSourcesDialog::notify(platform::DialogControls& dialog, int control,
                                   const platform::Notification& what) {
    if (what.code != platform::NotifyCode::SelectionChanged) return;
    if (control == id::kSources) {
        const int picked = dialog.selection(id::kSources);
        if (!isTileSource(picked) || picked == current_) return;
        keepTexts(dialog);
        current_ = picked;
        showSource(dialog);
    } else if (control == id::kDisplayed) {
        const int picked =
            tileSourceByName(dialog.itemText(id::kDisplayed, dialog.selection(id::kDisplayed)));
        if (edited_.active(picked)) edited_.displayedSource = picked;
    }
}

void InternetSourcesDialog::command(platform::DialogControls& dialog, int control) {
    switch (control) {
        case id::kActive: {
            const std::uint32_t bit = 1u << current_;
            edited_.activeSources = dialog.checked(id::kActive) ? edited_.activeSources | bit
                                                                : edited_.activeSources & ~bit;
            fillDisplayed(dialog);
            return;
        }
        case platform::kIdOk:
            accept(dialog);
            return;
        case platform::kIdCancel:
            dialog.end(platform::kIdCancel);
            return;
        default:
            return;
    }
}

void InternetSourcesDialog::accept(platform::DialogControls& dialog) {
    keepTexts(dialog);
    if ((edited_.activeSources & kAllSourcesMask) == 0) {
        platform::showMessage(u"You have to activate at least one source!", u"Error!");
        return;
    }
    const int before = settings_.displayedSource;
    edited_.normalise();
    settings_ = edited_;
    dialog.end(platform::kIdOk);
    if (settings_.displayedSource != before && displayedChanged_)
        displayedChanged_(settings_.displayedSource);
}

bool runInternetSources(SourceSettings& settings,
                        InternetSourcesDialog::DisplayedChanged displayedChanged) {
    InternetSourcesDialog dialog(settings, std::move(displayedChanged));
    return platform::runDialog(InternetSourcesDialog::dialogTemplate(), dialog) == platform::kIdOk;
}

}  // namespace wendra::netmaps
