#include "app/InternetMapsDialog.h"

#include <algorithm>
#include <cstdlib>

#include "records/Text.h"

namespace wendra {

namespace {

namespace id = InternetMapsControl;
using netmaps::kTileSourceCount;
using platform::ControlKind;

constexpr int kWidth = 180;
constexpr int kMargin = 4;
constexpr int kLabelWidth = 64;
constexpr int kSmallButton = 14;
constexpr platform::FormRows kForm{14, kMargin};

void setFlag(int& flags, int bit, bool on) {
    flags = on ? (flags | bit) : (flags & ~bit);
}

}  // namespace

InternetMapsDialog::InternetMapsDialog(const netmaps::TileSettings& tiles,
                                       const netmaps::SourceSettings& sources,
                                       InternetMapsHooks hooks)
    : tiles_(tiles), sources_(sources), hooks_(std::move(hooks)) {}

platform::DialogTemplate InternetMapsDialog::dialogTemplate() {
    const int right = kWidth - kMargin;
    const int field = kMargin + kLabelWidth;
    const int mid = kWidth / 2;
    int row = 0;
    platform::DialogTemplate dialog;
    dialog.id = kTemplateId;
    dialog.title = u"Internet maps";
    dialog.controls = {
        kForm.at(id::kDownloadMaps, ControlKind::CheckBox, u"Download maps", row++, kMargin, right),
        kForm.at(0, ControlKind::Label, u"Displayed source", row, kMargin, field - 2),
        kForm.at(id::kDisplayed, ControlKind::Combo, u"", row++, field, right),
        kForm.at(0, ControlKind::Label, u"Folder of cache", row++, kMargin, right),
        kForm.at(id::kFolder, ControlKind::Edit, u"", row, kMargin, right - kSmallButton - 2),
        kForm.at(id::kChooseFolder, ControlKind::Button, u">", row++, right - kSmallButton, right),
        kForm.at(0, ControlKind::Label, u"Valid for:", row, kMargin, field - 2),
        kForm.at(id::kFewerDays, ControlKind::Button, u"-", row, field, field + kSmallButton),
        kForm.at(id::kValidDays, ControlKind::Edit, u"", row, field + kSmallButton + 2,
                 right - kSmallButton - 2),
        kForm.at(id::kMoreDays, ControlKind::Button, u"+", row++, right - kSmallButton, right),
        kForm.at(id::kDownloadUrl, ControlKind::CheckBox, u"Download URL", row++, kMargin, right),
        kForm.at(0, ControlKind::Label, u"Country code:", row, kMargin, field - 2),
        kForm.at(id::kCountryCode, ControlKind::Edit, u"", row++, field, right),
        kForm.at(id::kDeleteCache, ControlKind::Button, u"Delete cache", row, kMargin, mid - 2),
        kForm.at(id::kSources, ControlKind::Button, u"Sources", row++, mid + 2, right),
        kForm.at(platform::kIdOk, ControlKind::Button, u"OK", row, kMargin, mid - 2,
                 platform::style::kDefaultButton),
        kForm.at(platform::kIdCancel, ControlKind::Button, u"Cancel", row++, mid + 2, right),
    };
    dialog.size = kForm.size(kWidth, row);
    return dialog;
}

void InternetMapsDialog::init(platform::DialogControls& dialog) {
    dialog.setChecked(id::kDownloadMaps, tiles_.downloadMaps());
    dialog.setChecked(id::kDownloadUrl, tiles_.downloadUrl());
    dialog.setText(id::kFolder, widen(tiles_.cacheFolder));
    dialog.setText(id::kValidDays, widen(std::to_string(tiles_.validity())));
    dialog.setText(id::kCountryCode, widen(sources_.countryCode));
    fillDisplayed(dialog);
}

// Only active sources can be displayed.
void InternetMapsDialog::fillDisplayed(platform::DialogControls& dialog) {
    dialog.clearItems(id::kDisplayed);
    for (int i = 0; i < kTileSourceCount; ++i) {
        if (!sources_.active(i)) continue;
        const int row = dialog.addItem(id::kDisplayed, widen(netmaps::tileSourceName(i)));
        if (i == sources_.displayedSource) dialog.setSelection(id::kDisplayed, row);
    }
}

// The fields as typed, into the copies. A days field that is not a number keeps the
// last good value.
void InternetMapsDialog::keepFields(platform::DialogControls& dialog) {
    setFlag(tiles_.settingsFlags, netmaps::tilesetting::kDownloadMaps,
            dialog.checked(id::kDownloadMaps));
    setFlag(tiles_.settingsFlags, netmaps::tilesetting::kDownloadUrl,
            dialog.checked(id::kDownloadUrl));
    tiles_.cacheFolder = narrow(dialog.text(id::kFolder));
    while (tiles_.cacheFolder.size() > 1 && tiles_.cacheFolder.back() == '/')
        tiles_.cacheFolder.pop_back();
    const std::string days = narrow(dialog.text(id::kValidDays));
    char* end = nullptr;
    const long value = std::strtol(days.c_str(), &end, 10);
    if (!days.empty() && end && *end == '\0')
        tiles_.validityDays = static_cast<int>(std::clamp<long>(value, kMinDays, kMaxDays));
    std::string code = narrow(dialog.text(id::kCountryCode));
    code.resize(std::min(code.size(), netmaps::kMaxCountryCodeLength));
    sources_.countryCode = std::move(code);
}

void InternetMapsDialog::stepDays(platform::DialogControls& dialog, int step) {
    keepFields(dialog);
    tiles_.validityDays = std::clamp(tiles_.validity() + step, kMinDays, kMaxDays);
    dialog.setText(id::kValidDays, widen(std::to_string(tiles_.validityDays)));
}

void InternetMapsDialog::command(platform::DialogControls& dialog, int control) {
    switch (control) {
        case id::kFewerDays:
            stepDays(dialog, -1);
            break;
        case id::kMoreDays:
            stepDays(dialog, +1);
            break;
        case id::kChooseFolder:
            if (hooks_.chooseFolder)
                if (const auto folder = hooks_.chooseFolder(dialog.text(id::kFolder)))
                    dialog.setText(id::kFolder, *folder);
            break;
        case id::kSources:
            keepFields(dialog);
            if (hooks_.editSources && hooks_.editSources(sources_)) {
                dialog.setText(id::kCountryCode, widen(sources_.countryCode));
                fillDisplayed(dialog);
            }
            break;
        case id::kDeleteCache:
        case platform::kIdOk:
            keepFields(dialog);
            dialog.end(control);
            break;
        case platform::kIdCancel:
            dialog.end(control);
            break;
        default:
            break;
    }
}

void InternetMapsDialog::notify(platform::DialogControls& dialog, int control,
                                const platform::Notification& what) {
    if (control != id::kDisplayed || what.code != platform::NotifyCode::SelectionChanged) return;
    const std::u16string name = dialog.itemText(id::kDisplayed, dialog.selection(id::kDisplayed));
    const int source = netmaps::tileSourceByName(name);
    if (netmaps::isTileSource(source)) sources_.displayedSource = source;
}

}  // namespace wendra
