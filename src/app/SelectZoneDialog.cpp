#include "app/SelectZoneDialog.h"

#include <cstdlib>
#include <string>

#include "platform/DialogHost.h"
#include "platform/MessageBox.h"
#include "records/Text.h"
#include "records/Utm.h"

namespace wendra {

namespace {

namespace id = SelectZoneControl;
using platform::ControlKind;

constexpr std::u16string_view kQuestion =
    u"The file is using coordinates in UTM.\n\nPlease give the UTM zone.";
constexpr std::u16string_view kNotANumber = u"Please enter a number.";

bool inRange(int zone) {
    return zone >= SelectZoneDialog::kFirstZone && zone <= SelectZoneDialog::kLastZone;
}

}  // namespace

SelectZoneDialog::SelectZoneDialog(int signedZone)
    : zone_(inRange(std::abs(signedZone)) ? std::abs(signedZone) : kFirstZone),
      south_(inRange(std::abs(signedZone)) && signedZone < 0) {}

platform::DialogTemplate SelectZoneDialog::dialogTemplate() {
    platform::DialogTemplate dialog;
    dialog.id = kTemplateId;
    dialog.title = u"Select a zone";
    dialog.size = {140, 92};
    dialog.controls = {
        {id::kText, ControlKind::Label, std::u16string(kQuestion), {4, 4, 136, 36}, 0},
        {0, ControlKind::Label, u"Zone", {4, 40, 40, 52}, 0},
        {id::kZone, ControlKind::Edit, u"", {42, 40, 84, 52}, 0},
        {id::kLess, ControlKind::Button, u"-", {88, 40, 108, 52}, 0},
        {id::kMore, ControlKind::Button, u"+", {112, 40, 132, 52}, 0},
        {id::kSouth, ControlKind::CheckBox, u"South hemisphere", {4, 56, 136, 68}, 0},
        {platform::kIdOk,
         ControlKind::Button,
         u"OK",
         {4, 74, 66, 88},
         platform::style::kDefaultButton},
        {platform::kIdCancel, ControlKind::Button, u"Cancel", {74, 74, 136, 88}, 0},
    };
    return dialog;
}

void SelectZoneDialog::init(platform::DialogControls& dialog) {
    dialog.setText(id::kZone, widen(std::to_string(zone_)));
    dialog.setChecked(id::kSouth, south_);
}

std::optional<int> SelectZoneDialog::typedZone(const platform::DialogControls& dialog) const {
    const std::string text = narrow(dialog.text(id::kZone));
    const auto first = text.find_first_not_of(' ');
    const auto last = text.find_last_not_of(' ');
    if (first == std::string::npos) return std::nullopt;
    int zone = 0;
    for (std::size_t i = first; i <= last; ++i) {
        if (text[i] < '0' || text[i] > '9' || zone > kLastZone) return std::nullopt;
        zone = zone * 10 + (text[i] - '0');
    }
    return inRange(zone) ? std::optional<int>(zone) : std::nullopt;
}

void SelectZoneDialog::command(platform::DialogControls& dialog, int control) {
    switch (control) {
        case id::kLess:
        case id::kMore: {
            // The buttons step from what is typed, or from the last zone shown.
            zone_ = typedZone(dialog).value_or(zone_) + (control == id::kMore ? 1 : -1);
            if (zone_ < kFirstZone) zone_ = kFirstZone;
            if (zone_ > kLastZone) zone_ = kLastZone;
            dialog.setText(id::kZone, widen(std::to_string(zone_)));
            return;
        }
        case platform::kIdOk: {
            const std::optional<int> zone = typedZone(dialog);
            if (!zone) {
                platform::showMessage(kNotANumber, u"Error!");
                return;
            }
            accepted_ = dialog.checked(id::kSouth) ? -*zone : *zone;
            dialog.end(platform::kIdOk);
            return;
        }
        case platform::kIdCancel:
            dialog.end(platform::kIdCancel);
            return;
        default:
            return;
    }
}

int zoneToOffer(const std::optional<GeoPosition>& fix, int lastZone) {
    if (fix && hasCoordinate(fix->latitude) && hasCoordinate(fix->longitude)) {
        const UtmCoordinates utm = utmFromGeo(fix->latitude, fix->longitude);
        if (utm.valid()) return utm.zone;
    }
    return lastZone;
}

std::optional<int> askUtmZone(const std::optional<GeoPosition>& fix, int& lastZone) {
    SelectZoneDialog dialog(zoneToOffer(fix, lastZone));
    platform::runDialog(SelectZoneDialog::dialogTemplate(), dialog);
    if (dialog.accepted()) lastZone = *dialog.accepted();
    return dialog.accepted();
}

}  // namespace wendra
