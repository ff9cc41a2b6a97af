#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "TrackFixtures.h"
#include "support/ScriptedDialogHost.h"
#include "support/ScriptedMessageBoxes.h"
#include "track/Track.h"
#include "track/TrackDialog.h"
#include "track/TrackPoint.h"
#include "track/TrackSettingsScreen.h"

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

namespace wendra::test {
namespace {

namespace control = TrackSettingsControl;

// The dialog as the user fills it: what they do, then the refusal shown (empty when
// OK closes it) and what the accepted settings hold.
TEST(TrackSettingsScreen, OkAppliesTheFormOrKeepsTheDialogOpenWithTheReason) {
    struct Case {
        const char* legend;
        std::function<void(ScriptedDialog&)> fill;
        std::u16string refusal;
        std::function<void(const TrackSettings&)> check;
    };
    const Case cases[] = {
        {"archive without a folder", [](ScriptedDialog& d) { d.press(control::kArchive); },
         u"You have to define a folder for archive!", nullptr},
        {"archive with a folder typed",
         [](ScriptedDialog& d) {
             d.press(control::kArchive);
             EXPECT_TRUE(d.type(control::kArchiveFolder, u"/home/me/old"));
         },
         u"", [](const TrackSettings& s) { EXPECT_EQ(s.archiveFolder, u"/home/me/old"); }},
        {"the folder is closed while not archiving",
         [](ScriptedDialog& d) { EXPECT_FALSE(d.type(control::kArchiveFolder, u"/x")); }, u"",
         [](const TrackSettings& s) { EXPECT_EQ(s.deleteMode, DeleteMode::Ask); }},
        {"trailing over 2.5 km, a decimal point whatever the locale",
         [](ScriptedDialog& d) {
             EXPECT_FALSE(d.type(control::kTrailingLength, u"9")) << "closed while permanent";
             d.press(control::kTrailing);
             EXPECT_TRUE(d.type(control::kTrailingLength, u"2.5"));
         },
         u"",
         [](const TrackSettings& s) {
             EXPECT_TRUE(s.trailing);
             EXPECT_DOUBLE_EQ(s.trailingLengthKm, 2.5);
         }},
        {"a length that is no number",
         [](ScriptedDialog& d) { d.type(control::kMinDistance, u"5 m"); },
         std::u16string(TrackSettingsScreen::kNotANumber), nullptr},
        {"+ steps the minimum distance, the limits come from the table",
         [](ScriptedDialog& d) {
             d.press(control::kMinDistanceMore);
             EXPECT_EQ(d.text(control::kMinDistance), u"2.00");
             d.pick(control::kMaxPoints, 8);
             d.press(control::kJoinFarPoints);
         },
         u"",
         [](const TrackSettings& s) {
             EXPECT_DOUBLE_EQ(s.minPointDistanceKm, 0.002);
             EXPECT_EQ(s.maxPoints(0), 45000);
             EXPECT_TRUE(s.joinFarPoints);
         }},
        {"the climb window", [](ScriptedDialog& d) { d.type(control::kClimbWindow, u"12"); },
         u"", [](const TrackSettings& s) { EXPECT_EQ(s.climbWindow, 12); }},
        {"a climb window of nothing", [](ScriptedDialog& d) { d.type(control::kClimbWindow, u"0"); },
         std::u16string(TrackSettingsScreen::kNotANumber), nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        ScriptedDialogHost host;
        ScriptedMessageBoxes boxes;
        const TrackSettings settings;
        TrackSettingsScreen screen(settings, trackDialogForm(settings, 1.0, 0.001));
        host.expect([&](ScriptedDialog& shown) {
            EXPECT_EQ(shown.text(control::kMinDistance), u"1.00");
            c.fill(shown);
            EXPECT_TRUE(shown.press(platform::kIdOk));
            EXPECT_EQ(shown.ended(), c.refusal.empty());
            if (!shown.ended()) shown.press(platform::kIdCancel);
        });
        platform::runDialog(TrackSettingsScreen::dialogTemplate(), screen);
        if (c.refusal.empty()) {
            ASSERT_TRUE(screen.accepted().has_value());
            EXPECT_TRUE(boxes.shown().empty());
            c.check(*screen.accepted());
        } else {
            EXPECT_FALSE(screen.accepted().has_value());
            ASSERT_EQ(boxes.shown().size(), 1u);
            EXPECT_EQ(boxes.shown()[0].text, c.refusal);
        }
    }
}

// The smoothed climb speeds follow a new window at once: over 2 s a steady climb
// is seen between close neighbours, over 30 s across the whole climb and the level.
TEST(TrackSettingsScreen, ANewClimbWindowSmoothsTheTrackAgain) {
    Track track;
    for (int second = 0; second < 40; ++second)
        track.addFix(fixAt(second * 10.0, second, 36.0f, 0,
                           100.0f + static_cast<float>(std::min(second, 10))),
                     true);
    TrackSettings settings = track.settings;
    settings.climbWindow = 2;
    track.applySettings(settings);
    const float shortWindow = track.main().first()->next->climbSpeed;
    settings.climbWindow = 30;
    track.applySettings(settings);
    EXPECT_FLOAT_EQ(shortWindow, 60.0f) << "a metre a second";
    EXPECT_LT(track.main().first()->next->climbSpeed, 30.0f) << "the level dilutes it";
}

}  // namespace
}  // namespace wendra::test
