#include "app/MainMenu.h"
#include "app/SetupMenu.h"

#include <gtest/gtest.h>

#include "support/ScriptedDialogHost.h"

namespace wendra {
namespace {

TEST(MainMenu, EndsWithTheButtonPressedAndRefusesScreensNotBuilt) {
    test::ScriptedDialogHost host;
    struct Case {
        const char* legend;
        int press;
        int result;
    };
    const Case cases[] = {
        {"about", MainMenuButton::kAbout, MainMenuButton::kAbout},
        {"track", MainMenuButton::kTrack, MainMenuButton::kTrack},
        {"list points", MainMenuButton::kListPoints, MainMenuButton::kListPoints},
        {"add point", MainMenuButton::kAddPoint, MainMenuButton::kAddPoint},
        {"add voice point", MainMenuButton::kAddVoicePoint, MainMenuButton::kAddVoicePoint},
        {"setup", MainMenuButton::kAdvancedSetup, MainMenuButton::kAdvancedSetup},
        {"quit", MainMenuButton::kQuit, MainMenuButton::kQuit},
        {"back", MainMenuButton::kBack, MainMenuButton::kBack},
        {"escape", platform::kIdCancel, MainMenuButton::kBack},
    };
    for (const Case& c : cases) {
        MainMenu menu;
        host.expect([&](test::ScriptedDialog& shown) {
            EXPECT_FALSE(shown.press(MainMenuButton::kNavigation)) << "no route screen yet";
            EXPECT_FALSE(shown.ended());
            if (c.press == platform::kIdCancel)
                menu.command(shown, platform::kIdCancel);
            else
                EXPECT_TRUE(shown.press(c.press)) << c.legend;
        });
        EXPECT_EQ(platform::runDialog(MainMenu::dialogTemplate(), menu), c.result) << c.legend;
    }
}

TEST(SetupMenu, EndsWithTheSettingsDialogPressed) {
    test::ScriptedDialogHost host;
    const int cases[][2] = {
        // pressed, result
        {SetupMenuButton::kGps, SetupMenuButton::kGps},
        {SetupMenuButton::kTrack, SetupMenuButton::kTrack},
        {SetupMenuButton::kBack, SetupMenuButton::kBack},
    };
    for (const auto& c : cases) {
        SetupMenu menu;
        host.expect([&](test::ScriptedDialog& shown) {
            EXPECT_EQ(shown.title(), u"Setup");
            EXPECT_FALSE(shown.press(SetupMenuButton::kAlerts)) << "no alerts dialog yet";
            EXPECT_TRUE(shown.press(c[0]));
        });
        EXPECT_EQ(platform::runDialog(SetupMenu::dialogTemplate(), menu), c[1]);
    }
}

}  // namespace
}  // namespace wendra
