#pragma once
// The points' screens the menus and keys open: the list of points, with the point
// dialog for editing, and adding a point at the current fix through the dialog, with
// or without a voice memo. What
// they changed is saved at once. Window thread only.

#include <filesystem>
#include <optional>

#include "points/PointDialog.h"
#include "records/GeoPosition.h"

namespace wendra {

class AppShell;
struct AppState;

class PointScreens {
public:
    // Coordinates are shown in degrees: the format choice is not part of this build.
    static constexpr int kCoordinateFormat = 0;

    PointScreens(AppState& state, AppShell& shell) : state_(state), shell_(shell) {}

    void openList();
    // False, with nothing shown, when there is no fix to put the point at. With
    // `voiceMemo` the dialog opens recording the point's memo ("Add voice point").
    bool addAtFix(bool voiceMemo = false);

    // The receiver's last position while the map shows it.
    std::optional<GeoPosition> currentFix() const;

private:
    points::PointDialogContext dialogContext() const;
    std::filesystem::path memoFolder() const;
    void saveChanges();

    AppState& state_;
    AppShell& shell_;
};

}  // namespace wendra
