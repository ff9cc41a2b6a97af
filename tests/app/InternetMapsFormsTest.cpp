// The "Internet maps" dialog and quick menu as the user works them, headless: what OK
// takes over, what a changed folder and "Delete cache" delete (and that the latter
// asks first), and which maps the chosen source leaves active.

#include <gtest/gtest.h>

#include <filesystem>

#include "app/AppShell.h"
#include "app/InternetMaps.h"
#include "app/InternetMapsDialog.h"
#include "app/InternetMapsMenu.h"
#include "app/InternetMapsScreens.h"
#include "app/MenuScreens.h"
#include "maps/MapShell.h"
#include "platform/DialogHost.h"
#include "records/Text.h"
#include "records/UnitFormat.h"
#include "support/ScriptedDialogHost.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TestPaths.h"
#include "track/TrackStatistics.h"

namespace wendra::test {
namespace {

namespace id = InternetMapsControl;
namespace menu = InternetMapsMenuButton;
namespace source = netmaps::source;
using platform::kIdCancel;
using platform::kIdOk;

class DialogShell final : public AppShell {
public:
    void requestRepaint() override {}
    void showStatusText(std::u16string) override {}
    void saveChangedFiles(bool) override { ++saves; }
    void showOnMap(double, double) override {}
    int runModalDialog(const platform::DialogTemplate& dialog,
                       platform::DialogProcedure& procedure) override {
        return platform::runDialog(dialog, procedure);
    }
    void closeWindow() override {}
    int saves = 0;
};

// A cache folder holding one cached tile of OSM-Mapnik-Road with its map, beside a
// map of the user's own; no HTTP, so no worker.
struct CacheWithOneTile {
    CacheWithOneTile() : catalogue(shell), internet(catalogue, home.path().string(), {}, {}) {
        netmaps::TileSettings settings = internet.settings();
        settings.cacheFolder = (home / "cache").string();
        internet.takeSettings(settings, internet.sources());
        netmaps::Tile& tile = internet.cache().add(source::kOsmMapnikRoad, {1, 1, 2});
        tile.flags |= netmaps::tileflag::kInCache;
        tileFile = internet.cache().cachePath(tile);
        std::filesystem::create_directories(tileFile.parent_path());
        writeFile(tileFile, "jpeg");
        EXPECT_TRUE(internet.cache().showTile(tile));
        maps::MapDefinition own = internet.cache().tiles()[0]->map->definition();
        own.userFlags = maps::kMapActive;
        own.imagePath = (home / "own.bmp").u16string();
        userMap = catalogue.newMap();
        EXPECT_TRUE(userMap->setDefinition(own));
        internet.cache().takeChanged();
    }

    maps::MapEntry& tileMap() { return *internet.cache().tiles().at(0)->map; }

    TempDir home;
    maps::MapShell shell;
    maps::MapCatalogue catalogue;
    InternetMaps internet;
    DialogShell window;
    InternetMapsScreens screens{internet, window};
    ScriptedDialogHost host;
    ScriptedMessageBoxes boxes;
    std::filesystem::path tileFile;
    maps::MapPtr userMap;
};

class InternetMapsFormsTest : public ::testing::Test, protected CacheWithOneTile {};

TEST_F(InternetMapsFormsTest, OkTakesEveryControlOverAndShowsOnlyTheDisplayedSource) {
    tileMap().setActive(false);
    host.expect([](ScriptedDialog& shown) {
        EXPECT_EQ(shown.title(), u"Internet maps");
        EXPECT_FALSE(shown.checked(id::kDownloadMaps));
        EXPECT_TRUE(shown.checked(id::kDownloadUrl));
        EXPECT_EQ(shown.text(id::kValidDays), u"60");
        ASSERT_EQ(shown.itemCount(id::kDisplayed), 2) << "the active sources only";
        EXPECT_EQ(shown.itemText(id::kDisplayed, shown.selection(id::kDisplayed)),
                  u"OSM-Mapnik-Road");
        shown.press(id::kDownloadMaps);
        shown.press(id::kDownloadUrl);
        shown.press(id::kMoreDays);
        shown.press(id::kMoreDays);
        shown.press(id::kFewerDays);
        EXPECT_EQ(shown.text(id::kValidDays), u"61");
        shown.type(id::kCountryCode, u"fr");
        shown.pick(id::kDisplayed, 1);
        shown.pick(id::kDisplayed, 0);
        shown.press(kIdOk);
    });
    screens.openSettings();
    const netmaps::TileSettings& settings = internet.settings();
    EXPECT_EQ(settings.settingsFlags, netmaps::tilesetting::kDownloadMaps);
    EXPECT_EQ(settings.validityDays, 61);
    EXPECT_EQ(internet.sources().countryCode, "fr");
    EXPECT_EQ(internet.sources().displayedSource, source::kOsmMapnikRoad);
    EXPECT_EQ(internet.shownSource(), source::kOsmMapnikRoad);
    EXPECT_TRUE(tileMap().active()) << "the displayed source's tile";
    EXPECT_FALSE(userMap->active()) << "the user's map would cover the tiles";
    EXPECT_TRUE(std::filesystem::exists(tileFile));
    EXPECT_TRUE(internet.cache().takeChanged()) << "the index is saved";
    EXPECT_EQ(window.saves, 1);
}

// Cancel drops everything, the sources' edits included; a typed days count that is
// not a number keeps the last good one.
TEST_F(InternetMapsFormsTest, CancelKeepsTheSettingsAndSourcesEditTheCopy) {
    const netmaps::TileSettings before = internet.settings();
    int chooserStart = 0;
    InternetMapsHooks hooks;
    hooks.chooseFolder = [&](std::u16string_view start) -> std::optional<std::u16string> {
        chooserStart += start == widen(before.cacheFolder);
        return u"/elsewhere";
    };
    hooks.editSources = [](netmaps::SourceSettings& sources) {
        sources.activeSources |= 1u << 2;
        sources.countryCode = "de";
        return true;
    };
    InternetMapsDialog dialog(internet.settings(), internet.sources(), hooks);
    host.expect([](ScriptedDialog& shown) {
        shown.press(id::kChooseFolder);
        EXPECT_EQ(shown.text(id::kFolder), u"/elsewhere");
        shown.press(id::kSources);
        EXPECT_EQ(shown.itemCount(id::kDisplayed), 3) << "the list follows the sources";
        EXPECT_EQ(shown.text(id::kCountryCode), u"de");
        shown.type(id::kValidDays, u"ten");
        shown.press(id::kMoreDays);
        EXPECT_EQ(shown.text(id::kValidDays), u"61");
        shown.press(kIdCancel);
    });
    EXPECT_EQ(platform::runDialog(InternetMapsDialog::dialogTemplate(), dialog), kIdCancel);
    EXPECT_EQ(chooserStart, 1) << "the chooser opens on the folder shown";
    EXPECT_EQ(dialog.sources().countryCode, "de") << "the copy";
    EXPECT_EQ(internet.sources().countryCode, "") << "not the settings";
    EXPECT_EQ(internet.settings().cacheFolder, before.cacheFolder);
}

// Legend: what the user does in the dialog, the answer to the question if one is
// asked, and what is left of the old tile afterwards.
TEST_F(InternetMapsFormsTest, ChangedFolderAndDeleteCacheRemoveTheTilesDeleteAsksFirst) {
    struct Case {
        const char* legend;
        bool newFolder;
        int button;
        platform::Answer answer;
        bool asked;
        bool tileLeft;
    };
    const Case cases[] = {
        {"OK with the same folder", false, kIdOk, platform::Answer::No, false, true},
        {"OK with another folder", true, kIdOk, platform::Answer::No, false, false},
        {"Delete cache, answered No", false, id::kDeleteCache, platform::Answer::No, true, true},
        {"Delete cache, answered Yes", false, id::kDeleteCache, platform::Answer::Yes, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        CacheWithOneTile fixture;  // a cache of its own each time
        const std::string oldFolder = fixture.internet.settings().cacheFolder;
        const std::string newFolder = (fixture.home / "moved").string();
        fixture.boxes.answer(c.answer);
        fixture.host.expect([&](ScriptedDialog& shown) {
            if (c.newFolder) shown.type(id::kFolder, widen(newFolder));
            shown.type(id::kValidDays, u"7");  // taken over before the question
            shown.press(c.button);
        });
        fixture.screens.openSettings();
        const std::vector<platform::Message> asked = fixture.boxes.shown();
        ASSERT_EQ(asked.size(), c.asked ? 1u : 0u);
        if (c.asked) {
            EXPECT_EQ(asked[0].text, u"Do you want to remove the cache (the folder " +
                                         widen(oldFolder) + u" will be deleted)");
            EXPECT_EQ(asked[0].title, u"Confirmation");
            EXPECT_EQ(asked[0].buttons, platform::Buttons::YesNo);
        }
        EXPECT_EQ(fixture.internet.settings().validityDays, 7);
        EXPECT_EQ(std::filesystem::exists(fixture.tileFile), c.tileLeft);
        EXPECT_EQ(fixture.internet.cache().tiles().size(), c.tileLeft ? 1u : 0u);
        EXPECT_EQ(fixture.catalogue.size(), c.tileLeft ? 2u : 1u) << "the user's map stays";
        EXPECT_TRUE(std::filesystem::exists(oldFolder)) << "the root folder stays";
        EXPECT_EQ(fixture.internet.settings().cacheFolder, c.newFolder ? newFolder : oldFolder);
    }
}

TEST_F(InternetMapsFormsTest, QuickMenuShowsASourceAndDisables) {
    netmaps::TileSettings settings = internet.settings();
    settings.settingsFlags |= netmaps::tilesetting::kDownloadMaps;
    netmaps::SourceSettings sources = internet.sources();
    sources.displayedSource = source::kOsmPiste;
    internet.takeSettings(settings, sources);
    EXPECT_FALSE(tileMap().active()) << "not the displayed source";

    host.expect([](ScriptedDialog& shown) {
        EXPECT_EQ(shown.title(), u"Internet maps");
        EXPECT_TRUE(shown.visible(menu::kDisable));
        EXPECT_TRUE(shown.visible(menu::kFirstSource + source::kOsmPiste));
        EXPECT_FALSE(shown.visible(menu::kFirstSource + 2)) << "not an active source";
        shown.press(menu::kFirstSource + source::kOsmMapnikRoad);
    });
    screens.openQuickMenu();
    EXPECT_EQ(internet.sources().displayedSource, source::kOsmMapnikRoad);
    EXPECT_TRUE(tileMap().active());

    host.expect([](ScriptedDialog& shown) { shown.press(menu::kDisable); });
    screens.openQuickMenu();
    EXPECT_FALSE(internet.settings().downloadMaps());
    EXPECT_EQ(internet.shownSource(), std::nullopt);
    EXPECT_EQ(window.saves, 2);
    EXPECT_EQ(screens.toggle(), u"Internet Maps: Activated");
    EXPECT_TRUE(internet.settings().downloadMaps());
    EXPECT_EQ(screens.toggle(), u"Internet Maps: Deactivated");
}

// The rows under "Internet": the run's requests and bytes, the cache's tiles and bytes.
TEST_F(InternetMapsFormsTest, StatisticsRowsCountTheRunAndTheCache) {
    internet.cache().tiles()[0]->fileSize = 15000;
    internet.cache().updateCounters();
    TrackStatistics statistics;
    setInternetRows(statistics, internet.counters());
    std::u16string cacheSize;
    formatByteSize(cacheSize, 15000);
    const struct {
        int row;
        std::u16string_view label;
        std::u16string value;
    } rows[] = {
        {83, u"Internet", u""},
        {85, u"--Nb of tuiles:", u" 0"},
        {86, u"--Downloaded size:", u"0 b"},
        {88, u"--Nb of tuiles:", u" 1"},
        {89, u"--Size:", cacheSize},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.row);
        EXPECT_EQ(statistics.row(r.row).label, r.label);
        EXPECT_EQ(statistics.row(r.row).value, r.value);
    }
    EXPECT_EQ(statistics.row(84).label, u"-Session");
    EXPECT_EQ(statistics.row(87).label, u"-Cache");
}

}  // namespace
}  // namespace wendra::test
