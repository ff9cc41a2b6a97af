#include "app/StartupDialog.h"

#include <gtest/gtest.h>

#include "support/ScriptedDialogHost.h"
#include "version/Version.h"

namespace wendra {
namespace {

using std::chrono::milliseconds;

TEST(StartupDialog, LoadsOnceOnTheScreenAndShowsTheVersion) {
    test::ScriptedDialogHost host;
    int loads = 0;
    StartupDialog dialog([&] { ++loads; }, milliseconds(0));
    host.expect([&](test::ScriptedDialog& shown) {
        EXPECT_EQ(shown.text(1203), kVersionText);
        EXPECT_EQ(loads, 0) << "loading waits until the dialog is shown";
        shown.fireTimer(StartupDialog::kCheckTimer);
        EXPECT_FALSE(shown.ended()) << "a check before loading must not close it";
        shown.fireTimer(StartupDialog::kLoadTimer);
        shown.fireTimer(StartupDialog::kLoadTimer);
        EXPECT_EQ(loads, 1);
        shown.fireTimer(StartupDialog::kCheckTimer);
        EXPECT_TRUE(shown.ended());
    });
    platform::runDialog(StartupDialog::dialogTemplate(), dialog);
    EXPECT_TRUE(dialog.loaded());
}

TEST(StartupDialog, StaysItsTimeUnlessTappedAndNeverClosesBeforeLoading) {
    test::ScriptedDialogHost host;
    StartupDialog dialog([] {}, milliseconds(60000));
    host.expect([&](test::ScriptedDialog& shown) {
        shown.press(platform::kIdOk);  // before the files are loaded
        EXPECT_FALSE(shown.ended());
        shown.fireTimer(StartupDialog::kLoadTimer);
        shown.fireTimer(StartupDialog::kCheckTimer);
        EXPECT_TRUE(shown.ended()) << "the early tap closes it once loaded";
    });
    platform::runDialog(StartupDialog::dialogTemplate(), dialog);

    StartupDialog patient([] {}, milliseconds(60000));
    host.expect([&](test::ScriptedDialog& shown) {
        shown.fireTimer(StartupDialog::kLoadTimer);
        shown.fireTimer(StartupDialog::kCheckTimer);
        EXPECT_FALSE(shown.ended()) << "shown for its time";
        shown.press(platform::kIdOk);
        EXPECT_TRUE(shown.ended());
    });
    platform::runDialog(StartupDialog::dialogTemplate(), patient);
}

}  // namespace
}  // namespace wendra
