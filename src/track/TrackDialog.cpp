#include "track/TrackDialog.h"

namespace wendra {

namespace {

constexpr double kMinTrailingLength = 1.0;  // in the user's unit, as the form shows it
constexpr double kDefaultMinDistanceKm = 0.001;

}  // namespace

TrackDialogForm trackDialogForm(const TrackSettings& settings, double kmPerLargeUnit,
                                double kmPerSmallUnit) {
    TrackDialogForm form;
    form.deleteMode = settings.deleteMode;
    form.archiveFolder = settings.archiveFolder;
    form.trailing = settings.trailing;
    form.trailingLength = settings.trailingLengthKm / kmPerLargeUnit;
    form.colour = settings.newPointColour;
    form.maxPointsIndex = settings.maxPointsIndex;
    form.maxLayerPointsIndex = settings.maxLayerPointsIndex;
    form.joinFarPoints = settings.joinFarPoints;
    form.minDistanceOn = !settings.noMerge;
    form.minDistance = settings.minPointDistanceKm / kmPerSmallUnit;
    form.climbWindow = settings.climbWindow;
    form.kmPerLargeUnit = kmPerLargeUnit;
    form.kmPerSmallUnit = kmPerSmallUnit;
    return form;
}

TrackDialogOutcome acceptTrackDialog(const TrackSettings& settings, const TrackDialogForm& form) {
    TrackDialogOutcome outcome{settings, std::nullopt};
    if (form.deleteMode == DeleteMode::Archive && form.archiveFolder.empty()) {
        outcome.refusal =
            TrackDialogRefusal{u"You have to define a folder for archive!", u"Error!"};
        return outcome;
    }
    TrackSettings& next = outcome.settings;
    next.deleteMode = form.deleteMode;
    next.archiveFolder = form.archiveFolder;
    next.trailing = form.trailing;
    next.joinFarPoints = form.joinFarPoints;
    next.noMerge = !form.minDistanceOn;
    const double trailing =
        form.trailingLength < kMinTrailingLength ? kMinTrailingLength : form.trailingLength;
    next.trailingLengthKm = trailing * form.kmPerLargeUnit;
    // A distance of nothing or less would merge nothing and unsettle the gap test;
    // the configuration loader treats it the same way.
    const double minDistanceKm = form.minDistance * form.kmPerSmallUnit;
    next.minPointDistanceKm = minDistanceKm > 0.0 ? minDistanceKm : kDefaultMinDistanceKm;
    next.maxPointsIndex = form.maxPointsIndex;
    next.maxLayerPointsIndex = form.maxLayerPointsIndex;
    next.newPointColour = form.colour;
    // As the configuration loader reads a stored 0: the default window.
    next.climbWindow = form.climbWindow > 0 ? form.climbWindow : settings.climbWindow;
    return outcome;
}

}  // namespace wendra
