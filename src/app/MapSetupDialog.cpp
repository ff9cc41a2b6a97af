#include "app/MapSetupDialog.h"

#include "maps/OziMapImport.h"
#include "platform/DialogHost.h"
#include "platform/MessageBox.h"
#include "platform/WidePath.h"
#include "records/CoordinateFormat.h"

namespace wendra {

namespace {

namespace id = MapSetupControl;
using platform::ControlKind;

constexpr int kCornerRadios[maps::kCornerCount] = {id::kUpLeft, id::kUpRight, id::kDownLeft,
                                                   id::kDownRight};
constexpr int kFields[3] = {id::kLatitude, id::kLongitude, id::kZone};
constexpr std::u16string_view kCannotShow =
    u"Unable to display the coordinates in the selected format.";

constexpr int kWidth = 160;
constexpr int kRow = 14;
constexpr int kMargin = 4;

constexpr platform::FormRows kForm{kRow, kMargin};

MapCorners cornersOf(const maps::MapDefinition& definition) {
    return {definition.cornerLatitudes, definition.cornerLongitudes};
}

// The folder part of a path, for the choosers to open at.
std::u16string folderOf(std::u16string_view path) {
    const auto slash = path.find_last_of(u"/\\");
    return std::u16string(slash == std::u16string_view::npos ? std::u16string_view()
                                                             : path.substr(0, slash));
}

std::u16string nameWithoutExtension(std::u16string_view path) {
    const auto slash = path.find_last_of(u"/\\");
    std::u16string_view name = slash == std::u16string_view::npos ? path : path.substr(slash + 1);
    return std::u16string(name.substr(0, name.rfind(u'.')));
}

}  // namespace

MapSetupDialog::MapSetupDialog(const maps::MapDefinition& definition, const MapCornerTexts& texts,
                               MapSetupContext context, MapSetupTarget& target)
    : original_(definition),
      shown_(texts),
      texts_(texts),
      context_(std::move(context)),
      target_(target) {}

platform::DialogTemplate MapSetupDialog::dialogTemplate(int coordinateFormat) {
    const int mid = kWidth / 2;
    const int right = kWidth - kMargin;
    const std::uint32_t zoneStyle = coordinateFormat == kFormatUtm ? 0 : platform::style::kHidden;
    platform::DialogTemplate dialog;
    dialog.id = kTemplateId;
    dialog.title = u"Map";
    dialog.controls = {
        kForm.at(0, ControlKind::Label, u"Name", 0, kMargin, 40),
        kForm.at(id::kName, ControlKind::Edit, u"", 0, 42, right),
        kForm.at(0, ControlKind::Label, u"File", 1, kMargin, 40),
        kForm.at(id::kFile, ControlKind::Edit, u"", 1, 42, right - 14),
        kForm.at(id::kBrowse, ControlKind::Button, u">", 1, right - 12, right),
        kForm.at(id::kUpLeft, ControlKind::Radio, u"Up Left", 2, kMargin, mid,
                 platform::style::kGroupStart),
        kForm.at(id::kUpRight, ControlKind::Radio, u"Up Right", 2, mid, right),
        kForm.at(id::kDownLeft, ControlKind::Radio, u"Down Left", 3, kMargin, mid),
        kForm.at(id::kDownRight, ControlKind::Radio, u"Down Right", 3, mid, right),
        kForm.at(0, ControlKind::Label, u"Latitude:", 4, kMargin, 50),
        kForm.at(id::kLatitude, ControlKind::Edit, u"", 4, 52, right),
        kForm.at(0, ControlKind::Label, u"Longitude:", 5, kMargin, 50),
        kForm.at(id::kLongitude, ControlKind::Edit, u"", 5, 52, right),
        kForm.at(id::kZoneLabel, ControlKind::Label, u"Zone", 6, kMargin, 50, zoneStyle),
        kForm.at(id::kZone, ControlKind::Edit, u"", 6, 52, right, zoneStyle),
        kForm.at(id::kImport, ControlKind::Button, u"Import", 7, kMargin, right),
        kForm.at(platform::kIdOk, ControlKind::Button, u"OK", 8, kMargin, mid - 2,
                 platform::style::kDefaultButton),
        kForm.at(id::kSaveAndTest, ControlKind::Button, u"Save and test", 8, mid + 2, right),
        kForm.at(platform::kIdCancel, ControlKind::Button, u"Cancel", 9, kMargin, right),
    };
    dialog.size = kForm.size(kWidth, 10);
    return dialog;
}

void MapSetupDialog::init(platform::DialogControls& dialog) {
    dialog.setText(id::kName, original_.title);
    dialog.setText(id::kFile, original_.imagePath);
    showCorner(dialog, 0);
}

void MapSetupDialog::showCorner(platform::DialogControls& dialog, int corner) {
    corner_ = corner;
    for (int i = 0; i < maps::kCornerCount; ++i) dialog.setChecked(kCornerRadios[i], i == corner);
    for (int field = 0; field < 3; ++field) dialog.setText(kFields[field], texts_[corner][field]);
}

void MapSetupDialog::keepCorner(const platform::DialogControls& dialog) {
    for (int field = 0; field < 3; ++field) texts_[corner_][field] = dialog.text(kFields[field]);
}

void MapSetupDialog::command(platform::DialogControls& dialog, int control) {
    for (int corner = 0; corner < maps::kCornerCount; ++corner) {
        if (control != kCornerRadios[corner]) continue;
        keepCorner(dialog);
        showCorner(dialog, corner);
        return;
    }
    switch (control) {
        case id::kBrowse:
            browse(dialog);
            return;
        case id::kImport:
            import(dialog);
            return;
        case platform::kIdOk:
        case id::kSaveAndTest:
            accept(dialog, control);
            return;
        case platform::kIdCancel:
            dialog.end(platform::kIdCancel);
            return;
        default:
            return;
    }
}

void MapSetupDialog::browse(platform::DialogControls& dialog) {
    if (!context_.chooseImage) return;
    std::u16string start = folderOf(dialog.text(id::kFile));
    if (start.empty() && context_.bmpPath) start = *context_.bmpPath;
    const std::optional<std::u16string> file = context_.chooseImage(start);
    if (!file) return;
    dialog.setText(id::kFile, *file);
    if (dialog.text(id::kName).empty()) dialog.setText(id::kName, nameWithoutExtension(*file));
}

void MapSetupDialog::import(platform::DialogControls& dialog) {
    if (!context_.chooseCalibration) return;
    const std::u16string start = context_.bmpPath ? *context_.bmpPath : std::u16string();
    const std::optional<std::u16string> file = context_.chooseCalibration(start);
    if (!file) return;
    if (context_.bmpPath) *context_.bmpPath = folderOf(*file);
    const std::filesystem::path path = platform::pathFromWide(*file);
    maps::OziImport scratch = maps::importOziMap(path, std::nullopt);
    if (scratch.result == maps::OziResult::NeedsZone && context_.askZone)
        if (const std::optional<int> zone = context_.askZone())
            scratch = maps::importOziMap(path, zone);
    if (scratch.result != maps::OziResult::Imported) {
        platform::showMessage(u"Unable to import this file!", u"Error!");
        return;
    }
    // Checked before anything is filled, so that a refused file changes nothing.
    const std::optional<MapCornerTexts> texts =
        cornerTexts(cornersOf(scratch.definition), context_.coordinateFormat);
    if (!texts) {
        platform::showMessage(kCannotShow, u".Error");
        return;
    }
    original_.cornerLatitudes = scratch.definition.cornerLatitudes;
    original_.cornerLongitudes = scratch.definition.cornerLongitudes;
    shown_ = *texts;
    texts_ = *texts;
    dialog.setText(id::kName, scratch.definition.title);
    dialog.setText(id::kFile, scratch.definition.imagePath);
    showCorner(dialog, corner_);
}

std::optional<maps::MapDefinition> MapSetupDialog::readDefinition(
    platform::DialogControls& dialog) {
    keepCorner(dialog);
    maps::MapDefinition definition = original_;
    for (int corner = 0; corner < maps::kCornerCount; ++corner) {
        const GeoPosition exact{original_.cornerLatitudes[corner],
                                original_.cornerLongitudes[corner]};
        const CoordinateEntry entry =
            readCorner(texts_[corner], context_.coordinateFormat, shown_[corner], exact);
        if (!entry.accepted) {
            showCorner(dialog, corner);
            platform::showMessage(entry.message, entry.title);
            return std::nullopt;
        }
        definition.cornerLatitudes[corner] = entry.position.latitude;
        definition.cornerLongitudes[corner] = entry.position.longitude;
    }
    definition.imagePath = dialog.text(id::kFile);
    if (definition.imagePath.empty()) {
        platform::showMessage(u"No file name!", u"Error!");
        return std::nullopt;
    }
    definition.title = dialog.text(id::kName);
    definition.userFlags |= maps::kMapActive;
    // Another image has another size: the map reads it from the new file's header.
    if (definition.imagePath != original_.imagePath) {
        definition.width = definition.height = definition.bytesPerPixel = 0;
        definition.memoryInUse = 0;
    }
    return definition;
}

void MapSetupDialog::accept(platform::DialogControls& dialog, int closeWith) {
    std::optional<maps::MapDefinition> definition = readDefinition(dialog);
    if (!definition || !target_.store(*definition)) return;
    stored_ = std::move(definition);
    dialog.end(closeWith);
}

bool runMapSetup(const std::optional<maps::MapDefinition>& definition, MapSetupContext context,
                 MapSetupTarget& target) {
    maps::MapDefinition start;
    MapCorners corners = unsetCorners();
    if (definition) {
        start = *definition;
        corners = cornersOf(*definition);
    }
    start.cornerLatitudes = corners.latitudes;
    start.cornerLongitudes = corners.longitudes;
    const std::optional<MapCornerTexts> texts = cornerTexts(corners, context.coordinateFormat);
    if (!texts) {
        platform::showMessage(kCannotShow, u".Error");
        return false;
    }
    const int format = context.coordinateFormat;
    MapSetupDialog dialog(start, *texts, std::move(context), target);
    const int closed = platform::runDialog(MapSetupDialog::dialogTemplate(format), dialog);
    if (!dialog.stored()) return false;
    if (closed == MapSetupControl::kSaveAndTest) target.test(*dialog.stored());
    return true;
}

}  // namespace wendra
