#include <gtest/gtest.h>

#include "track/TrackDialog.h"

namespace wendra::test {
namespace {

constexpr double kKmPerMile = 1.609344;
constexpr double kKmPerFoot = 0.0003048;

TEST(TrackDialog, ArchiveWithoutFolderIsRefusedAndChangesNothing) {
    TrackSettings settings;
    TrackDialogForm form = trackDialogForm(settings, 1.0, 0.001);
    form.deleteMode = DeleteMode::Archive;
    form.trailing = true;
    const TrackDialogOutcome outcome = acceptTrackDialog(settings, form);
    ASSERT_TRUE(outcome.refusal.has_value());
    EXPECT_EQ(outcome.refusal->text, u"You have to define a folder for archive!");
    EXPECT_EQ(outcome.refusal->title, u"Error!");
    EXPECT_FALSE(outcome.settings.trailing);

    form.archiveFolder = u"/home/me/tracks";
    const TrackDialogOutcome accepted = acceptTrackDialog(settings, form);
    EXPECT_FALSE(accepted.refusal.has_value());
    EXPECT_EQ(accepted.settings.deleteMode, DeleteMode::Archive);
    EXPECT_EQ(accepted.settings.archiveFolder, u"/home/me/tracks");
}

TEST(TrackDialog, LengthsAreReadInTheUsersUnitsAndStoredInKm) {
    struct Case {
        const char* legend;
        double trailing, minDistance, kmPerLarge, kmPerSmall;
        double wantTrailingKm, wantMinKm;
    };
    const Case cases[] = {
        {"metric", 2.5, 15.0, 1.0, 0.001, 2.5, 0.015},
        {"trailing below 1 unit becomes 1 unit", 0.2, 1.0, 1.0, 0.001, 1.0, 0.001},
        {"miles and feet", 0.5, 10.0, kKmPerMile, kKmPerFoot, kKmPerMile, 10 * kKmPerFoot},
        {"a minimum of nothing falls back to 1 m", 1.0, 0.0, 1.0, 0.001, 1.0, 0.001},
    };
    for (const Case& c : cases) {
        TrackSettings settings;
        TrackDialogForm form = trackDialogForm(settings, c.kmPerLarge, c.kmPerSmall);
        form.trailingLength = c.trailing;
        form.minDistance = c.minDistance;
        const TrackDialogOutcome outcome = acceptTrackDialog(settings, form);
        ASSERT_FALSE(outcome.refusal.has_value()) << c.legend;
        EXPECT_DOUBLE_EQ(outcome.settings.trailingLengthKm, c.wantTrailingKm) << c.legend;
        EXPECT_DOUBLE_EQ(outcome.settings.minPointDistanceKm, c.wantMinKm) << c.legend;
    }
}

TEST(TrackDialog, ChoicesOfTheFormBecomeTheSettings) {
    TrackSettings settings;
    settings.recordTrack = false;
    settings.climbWindow = 12;
    TrackDialogForm form = trackDialogForm(settings, 1.0, 0.001);
    EXPECT_TRUE(form.minDistanceOn);
    EXPECT_DOUBLE_EQ(form.minDistance, 1.0);
    form.deleteMode = DeleteMode::Never;
    form.trailing = true;
    form.joinFarPoints = true;
    form.minDistanceOn = false;
    form.maxPointsIndex = 8;
    form.maxLayerPointsIndex = 0;
    form.colour = 0x0105;
    const TrackSettings next = acceptTrackDialog(settings, form).settings;
    EXPECT_EQ(next.deleteMode, DeleteMode::Never);
    EXPECT_TRUE(next.trailing);
    EXPECT_TRUE(next.joinFarPoints);
    EXPECT_TRUE(next.noMerge);
    EXPECT_EQ(next.maxPoints(0), 45000);
    EXPECT_EQ(next.maxPoints(4), 1000);
    EXPECT_EQ(next.newPointColour, 0x0105);
    EXPECT_FALSE(next.recordTrack) << "not the dialog's to change";
    EXPECT_EQ(next.climbWindow, 12);
}

}  // namespace
}  // namespace wendra::test
