#include "app/PointScreens.h"

#include <utility>

#include "app/AppShell.h"
#include "app/AppState.h"
#include "platform/Clock.h"
#include "points/GeneratedPoints.h"
#include "points/PointListDialog.h"
#include "points/VoiceMemo.h"
#include "records/Text.h"

namespace wendra {

namespace {

constexpr std::u16string_view kPointNotAdded = u"Point not added";
constexpr double kDegreesPerUnit = 180.0;

}  // namespace

std::optional<GeoPosition> PointScreens::currentFix() const {
    if (state_.handOver.position.load() != PositionMark::Shown) return std::nullopt;
    const LiveValues live = state_.statistics.live();
    if (!live.known) return std::nullopt;
    return GeoPosition{live.fix.latitude, live.fix.longitude};
}

// "Use manual location" and the distance sort take the centre the view last stored.
points::PointDialogContext PointScreens::dialogContext() const {
    points::PointDialogContext context;
    context.store = &state_.points;
    context.icons = &state_.icons;
    context.coordinateFormat = kCoordinateFormat;
    context.gps = currentFix();
    context.viewCentre = {state_.config.status.centreLat * kDegreesPerUnit,
                          state_.config.status.centreLon * kDegreesPerUnit};
    context.memoFolder = memoFolder();
    return context;
}

std::filesystem::path PointScreens::memoFolder() const {
    return std::filesystem::path(toUtf8(state_.config.folder(Folder::RecorderPath)));
}

// The counter given to a new number is the configuration's, the points the file's.
void PointScreens::saveChanges() {
    shell_.saveChangedFiles(false);
    shell_.requestRepaint();
}

void PointScreens::openList() {
    points::PointListContext context;
    context.store = &state_.points;
    context.coordinateFormat = kCoordinateFormat;
    context.centreLatUnits = state_.config.status.centreLat;
    context.centreLonUnits = state_.config.status.centreLon;
    context.memoFolder = memoFolder();
    const points::PointDialogContext dialog = dialogContext();
    context.edit = [dialog](points::GpsPoint& point) {
        points::runPointDialog(point, false, dialog);
    };
    points::runPointList(context);
    saveChanges();
}

bool PointScreens::addAtFix(bool voiceMemo) {
    const std::optional<GeoPosition> fix = currentFix();
    if (!fix) return false;
    points::GpsPoint point =
        points::immediatePoint(platform::clock().localNow(), fix->latitude, fix->longitude);
    points::PointDialogContext context = dialogContext();
    context.recordMemo = voiceMemo;
    if (!points::runPointDialog(point, true, context)) {
        // The number the dialog gave stays used: a memo may already bear it.
        points::deleteVoiceMemo(memoFolder(), point);
        shell_.showStatusText(std::u16string(kPointNotAdded));
        saveChanges();
        return true;
    }
    const points::GpsPoint& added = state_.points.addPoint(point);
    state_.points.setChanged(true);
    state_.dataFiles.markChanged(DataFile::Points);
    shell_.showStatusText(points::pointAddedMessage(added, kCoordinateFormat));
    saveChanges();
    return true;
}

}  // namespace wendra
