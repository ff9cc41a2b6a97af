// The configuration before and after loading: defaults, and the fix-ups that run
// whether or not the file was there.

#include <set>

#include "ConfigFixture.h"
#include "app/KeyTable.h"

namespace wendra::test {
namespace {

TEST_F(ConfigTest, AMissingFileLeavesEveryDefault) {
    config.global.options = 0;
    config.setFolder(Folder::RecorderPath, u"/elsewhere");
    EXPECT_FALSE(files.load(DataFile::Configuration));
    EXPECT_EQ(config.global.options, 0x4004);
    EXPECT_EQ(config.folder(Folder::RecorderPath), u"/home/anna/Documents/WendraRecords");
    EXPECT_EQ(config.folder(Folder::TracePath), u"");
    EXPECT_EQ(config.global.noFixSound, u"");
    EXPECT_EQ(config.graph.options, 0);
    EXPECT_EQ(config.graph.curves, (std::array<int32_t, 4>{1, 0, 0, 0}));
    EXPECT_EQ(config.status.utmZone, 31);
    EXPECT_TRUE(config.track.recordTrack);
    EXPECT_EQ(config.track.deleteMode, DeleteMode::Ask);
    EXPECT_TRUE(boxes.shown().empty()) << "a missing file is no error";
    EXPECT_EQ(saved(), golden("defaults.ini"));
}

TEST_F(ConfigTest, DefaultBindingsMakeTheFavouriteMenus) {
    EXPECT_FALSE(files.load(DataFile::Configuration));
    const int32_t favourites1[] = {Action::kMainMenu, Action::kRoute, Action::kAdvancedSetup,
                                   Action::kTools, Action::kDoNothing};
    for (int set = 0; set < KeyBindings::kSets; ++set) {
        EXPECT_EQ(config.keys.action(set, Slot::kFavourites1), favourites1[set]) << "set " << set;
        EXPECT_EQ(config.keys.action(set, Slot::kFavourites2), 0) << "set " << set;
    }
    EXPECT_EQ(config.keys.action(0, Slot::kButtonRight), Action::kNextRoutePoint)
        << "Button Right: next route point first";
    EXPECT_EQ(config.keys.action(3, Slot::kButtonRight), Action::kZoomIn) << "then zoom in";
    EXPECT_EQ(config.keys.action(0, Slot::kApplicationKey1 + 5), Action::kDisplayButton)
        << "application keys display their name";
}

TEST_F(ConfigTest, AConfigurationWithoutAlertsGainsTheProximityAlert) {
    ASSERT_TRUE(loadText("Graph2|0|1|0|0|0|\n"));
    ASSERT_EQ(config.alerts.size(), 1u);
    const Alert& alert = config.alerts.alerts().front();
    EXPECT_EQ(alert.name, u"Alert 400m");
    EXPECT_EQ(alert.sound, u"Son 1");
    EXPECT_FLOAT_EQ(alert.value, 0.4f);
    EXPECT_EQ(alert.kind(), Alert::kProximity);

    ASSERT_TRUE(loadText("RIRUvo|Alert|4|Gate|0||50.00|0|\n"));
    ASSERT_EQ(config.alerts.size(), 1u) << "only when there is none";
    EXPECT_EQ(config.alerts.alerts().front().name, u"Gate");
}

TEST_F(ConfigTest, ArchivingWithoutAFolderIsSwitchedOff) {
    const std::string archiving = "RIRUvo|Status7|9|\n";  // recording, delete by archiving
    ASSERT_TRUE(loadText(archiving));
    EXPECT_EQ(config.track.deleteMode, DeleteMode::Never);
    ASSERT_TRUE(loadText(archiving + "TraceArchivePath|/archive|\n"));
    EXPECT_EQ(config.track.deleteMode, DeleteMode::Archive);
    EXPECT_EQ(config.track.archiveFolder, u"/archive");
}

TEST_F(ConfigTest, TheAlternativeKeyboardNeedsModePnaOnASmartphone) {
    struct Case {
        const char* legend;
        bool smartphone;
        int32_t options;
        bool keyboardKept;
    };
    const Case cases[] = {
        {"smartphone outside Mode PNA", true, 0x200, false},
        {"smartphone in Mode PNA", true, 0x20200, true},
        {"any other machine", false, 0x200, true},
    };
    for (const Case& c : cases) {
        store.setSmartphonePlatform(c.smartphone);
        ASSERT_TRUE(loadText("Global4|" + std::to_string(c.options) + "|0|0||\n"));
        EXPECT_EQ(config.global.has(ProgramOptions::kAlternativeKeyboard), c.keyboardKept)
            << c.legend;
    }
}

TEST_F(ConfigTest, TheAfterLoadHookSeesTheFixedUpConfigurationBeforeTheBannerGoes) {
    bool alertSeen = false;
    size_t bannerEventsSeen = 0;
    store.setAfterLoad([&](Configuration& loaded) {
        alertSeen = !loaded.alerts.empty();
        bannerEventsSeen = banner.events.size();
    });
    files.markChanged(DataFile::Configuration);
    EXPECT_FALSE(files.load(DataFile::Configuration));
    EXPECT_TRUE(alertSeen);
    EXPECT_EQ(bannerEventsSeen, 1u) << "the banner is still shown";
    EXPECT_EQ(banner.events, (std::vector<std::u16string>{u"show Loading config...", u"hide"}));
    EXPECT_FALSE(files.changed(DataFile::Configuration));
}

TEST_F(ConfigTest, RecordsOutOfRangeAreRefusedAndKept) {
    ASSERT_TRUE(loadText("KeyD|7|9|9|9|\nDash3|5|1|\nDash3|-1|1|\n"));
    EXPECT_EQ(config.keys, KeyBindings{});
    EXPECT_EQ(config.dashboards, Dashboards{});
    const std::string text = saved();
    EXPECT_EQ(text.find("KeyD|7|9|9|9|\nDash3|5|1|\nDash3|-1|1|\n"), 0u);
}

TEST_F(ConfigTest, TrackFieldsTakeTheirFloors) {
    struct Case {
        const char* legend;
        const char* fields;  // fields 13 and 14
        double minimumKm;
        int climbWindow;
    };
    const Case cases[] = {
        {"stored values", "15.00|60|", 0.015, 60},
        {"no distance, no window", "0.00|0|", 0.001, 30},
        {"negative distance", "-4.00|12|", 0.001, 12},
        {"fields missing", "", 0.001, 30},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(loadText(std::string("RIRUvo|Status7|1|0|3|1|0|1.00|1.0|0|0|0|31|0|") +
                             c.fields + "\n"));
        EXPECT_NEAR(config.track.minPointDistanceKm, c.minimumKm, 1e-9) << c.legend;
        EXPECT_EQ(config.track.climbWindow, c.climbWindow) << c.legend;
    }
}

TEST_F(ConfigTest, TheTrackWordCarriesTheTrackAndKeepsTheOtherBits) {
    ASSERT_TRUE(
        loadText("RIRUvo|Status7|" + std::to_string(0x4000 | 0x2 | 0x10 | 0x20 | 0x40) + "|\n"));
    EXPECT_FALSE(config.track.recordTrack);
    EXPECT_EQ(config.track.deleteMode, DeleteMode::Automatic);
    EXPECT_TRUE(config.track.trailing);
    EXPECT_TRUE(config.track.joinFarPoints);
    EXPECT_TRUE(config.track.noMerge);
    config.track.recordTrack = true;
    config.track.deleteMode = DeleteMode::Never;
    config.track.noMerge = false;
    const std::string text = saved();
    EXPECT_NE(text.find("RIRUvo|Status7|" + std::to_string(0x4000 | 0x1 | 0x10 | 0x20) + "|"),
              std::string::npos)
        << text;
}

TEST_F(ConfigTest, AHistoryEntryThatIsDamagedEndsTheHistory) {
    struct Case {
        const char* legend;
        const char* line;
        std::array<const char16_t*, 4> entries;
    };
    const Case cases[] = {
        {"four entries", "HCity|1|a|2|bc|0||3|def|", {u"a", u"bc", u"", u"def"}},
        {"length beyond the line", "HCity|1|a|40|bc|3|def|", {u"a", u"", u"", u""}},
        {"no length", "HCity|1|a|x|bc|", {u"a", u"", u"", u""}},
        {"length too short", "HCity|1|ab|2|cd|", {u"", u"", u"", u""}},
        {"cut at 63 characters",
         "HCity|70|0123456789012345678901234567890123456789012345678901234567890123456789|",
         {u"012345678901234567890123456789012345678901234567890123456789012", u"", u"", u""}},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(loadText(std::string(c.line) + "\n"));
        const auto& entries = config.history.entries(AddressField::City);
        for (size_t i = 0; i < entries.size(); ++i)
            EXPECT_EQ(entries[i], c.entries[i]) << c.legend << ", entry " << i;
    }
}

// The bindings' columns are the key table's slots: every code the window delivers or
// the program makes must reach its own.
TEST(KeyTable, EachCodeFindsItsSlotAndNoOther) {
    struct Case {
        const char* legend;
        int code;
        int slot;
    };
    const Case cases[] = {
        {"Enter is the OK button", platform::kKeyEnter, Slot::kButtonOk},
        {"up arrow", platform::kKeyUp, Slot::kButtonUp},
        {"down arrow", platform::kKeyDown, Slot::kButtonDown},
        {"left arrow", platform::kKeyLeft, Slot::kButtonLeft},
        {"right arrow", platform::kKeyRight, Slot::kButtonRight},
        {"F1, the first application key", platform::kFirstApplicationKey, Slot::kApplicationKey1},
        {"F6, the last application key",
         platform::kFirstApplicationKey + platform::kApplicationKeyCount - 1,
         Slot::kApplicationKey1 + 5},
        {"left soft key", PseudoKey::kSoftkeyLeft, Slot::kSoftkeyLeft},
        {"right soft key", PseudoKey::kSoftkeyRight, Slot::kSoftkeyRight},
        {"long click", PseudoKey::kLongClick, Slot::kLongClick},
        {"on-screen button 2", PseudoKey::kButton2, Slot::kButton2},
        {"a letter is no slot", 'A', -1},
        {"escape is no slot", platform::kKeyEscape, -1},
        {"a direct action code is no slot", 1000 + Action::kMainMenu, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        EXPECT_EQ(slotOfCode(c.code), c.slot);
    }
}

// A code given to two slots would make the second unreachable.
TEST(KeyTable, NoTwoSlotsShareACode) {
    std::set<int> codes;
    for (const KeySlot& slot : kKeySlots) EXPECT_TRUE(codes.insert(slot.code).second) << slot.code;
}

}  // namespace
}  // namespace wendra::test
