#pragma once
// The OK logic of the "Track" dialog, apart from its window: the form's values in,
// the new settings out, or the refusal to show while the dialog stays open.

#include <optional>
#include <string>

#include "track/TrackSettings.h"

namespace wendra {

// The controls' values as the form shows them (lengths in the user's units).
struct TrackDialogForm {
    DeleteMode deleteMode = DeleteMode::Ask;
    std::u16string archiveFolder;
    bool trailing = false;        // "Trailing over" (else "Permanent")
    double trailingLength = 1.0;  // in the user's large distance unit
    int colour = 0;
    int maxPointsIndex = 3;       // "Number of points"
    int maxLayerPointsIndex = 1;  // "Nb layer points"
    bool joinFarPoints = false;
    bool minDistanceOn = true;      // "Min. between 2 pts:"
    double minDistance = 1.0;       // in the user's small distance unit
    int climbWindow = 30;           // "Climb speed calculated over", entries
    double kmPerLargeUnit = 1.0;    // 1 for "Km"
    double kmPerSmallUnit = 0.001;  // 0.001 for "m"
};

struct TrackDialogRefusal {
    std::u16string text;
    std::u16string title;
};

struct TrackDialogOutcome {
    TrackSettings settings;  // valid when refusal is empty
    std::optional<TrackDialogRefusal> refusal;
};

// The form filled from the settings, for opening the dialog.
TrackDialogForm trackDialogForm(const TrackSettings& settings, double kmPerLargeUnit,
                                double kmPerSmallUnit);

// OK pressed: "You have to define a folder for archive!" ("Error!") for "Archives in:"
// with an empty folder; otherwise the settings with the form's choices applied.
TrackDialogOutcome acceptTrackDialog(const TrackSettings& settings, const TrackDialogForm& form);

}  // namespace wendra
