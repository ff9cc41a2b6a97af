#include <gtest/gtest.h>

#include "netmaps/SourceRecords.h"
#include "netmaps/TemplateUpdate.h"
#include "netmaps/TemplateUpdater.h"

namespace wendra::netmaps {
namespace {

TEST(SourceRecords, DefaultsAndTheirRecords) {
    const SourceSettings defaults;
    EXPECT_EQ(netBmpMgrRecord({}, defaults), "NetBmpMgr|2|4|2064|0||0||60|\n");
    const std::vector<std::string> lines = sourceRecords(defaults);
    ASSERT_EQ(lines.size(), 2u * kTileSourceCount + 1);
    EXPECT_EQ(lines[0], "URL|0|0||\n") << "slots without a server have no template";
    EXPECT_EQ(lines[4], "URL|4|52|https://tile.openstreetmap.org/*ZM1*/*GMX*/*GMY*.png|\n");
    EXPECT_EQ(lines[kTileSourceCount + 11],
              "URLAttribution|11|43|\xA9 OpenStreetMap contributors, \xA9 OpenSnowMap|\n");
    EXPECT_EQ(lines.back(), "URLUpdateSite|0||\n") << "no update site unless configured";

    SourceSettings mine;
    mine.attributions[source::kGoogleSat] = "base";
    EXPECT_EQ(mine.attribution(source::kGoogleSatRoad), "base") << "an overlay shows its base's";
    mine.attributions[source::kGoogleSatRoad] = "own";
    EXPECT_EQ(mine.attribution(source::kGoogleSatRoad), "own");
    EXPECT_EQ(mine.attribution(source::kOsmPiste), defaultAttribution(source::kOsmPiste));
    EXPECT_EQ(mine.attribution(kTileSourceCount), "");
}

TEST(SourceRecords, RoundTripAndRefusals) {
    SourceSettings mine;
    mine.activeSources = 0x003;
    mine.displayedSource = 1;
    mine.countryCode = "fr";
    mine.templates[2] = "https://my.server/*ZM*/*GMX*/*GMY*.png?a=1&b=2";
    mine.attributions[2] = "My maps | with a bar";
    mine.updateSite = "https://updates.example";
    const TileServiceFields service{3, u"/media/card/tiles", 14};

    SourceSettings loaded;
    TileServiceFields loadedService;
    ASSERT_TRUE(readNetBmpMgrRecord(netBmpMgrRecord(service, mine), loadedService, loaded));
    for (const std::string& line : sourceRecords(mine)) EXPECT_TRUE(readSourceRecord(line, loaded));
    EXPECT_EQ(loaded.activeSources, mine.activeSources);
    EXPECT_EQ(loaded.displayedSource, 1);
    EXPECT_EQ(loaded.countryCode, "fr");
    EXPECT_EQ(loaded.templates, mine.templates);
    EXPECT_EQ(loaded.attributions, mine.attributions);
    EXPECT_EQ(loaded.updateSite, mine.updateSite);
    EXPECT_EQ(loadedService.cacheFolder, service.cacheFolder);
    EXPECT_EQ(loadedService.validityDays, 14);

    // Legend: each line is refused and leaves the settings as they were.
    const char* refused[] = {
        "URL|12|3|abc|",          "URL|-1|3|abc|",         "URL|2|",
        "URLX|2|3|abc|",          "NetBmpMgr|2|4|2064|0|", "url|2|3|abc|",
        "URLAttribution|99|1|x|",
    };
    for (const char* line : refused) {
        SCOPED_TRACE(line);
        EXPECT_FALSE(readSourceRecord(line, loaded) ||
                     readNetBmpMgrRecord(line, loadedService, loaded));
        EXPECT_EQ(loaded.templates, mine.templates);
    }
    // An empty mask and a displayed source out of range are mended; a zero validity
    // is the default.
    ASSERT_TRUE(readNetBmpMgrRecord("NetBmpMgr|1|40|0|0||0||0|", loadedService, loaded));
    EXPECT_EQ(loaded.activeSources, kDefaultActiveSources);
    EXPECT_EQ(loaded.displayedSource, source::kOsmMapnikRoad);
    EXPECT_EQ(loadedService.validityDays, kDefaultValidityDays);
}

TEST(TemplateUpdate, TakesWellFormedLinesForKnownSlots) {
    // Legend per line: what it does to the slots.
    const std::string answer =
        "<html>ignored</html>\r\n"
        "UrlVersion:0:http://sat/*GMX*\r\n"         // slot 0
        "UrlVersion:12:https://osm/*ZM1*\n"         // slot 4
        "UrlVersion:6:http://y\tahoo/*YMY*\n"       // slot 8, the tab dropped
        "UrlVersion:14:\n"                          // slot 11 emptied
        "UrlVersion:4:http://nothing\n"             // no slot 4 among the numbers
        "UrlVersion:9\n"                            // no separator: refused
        "UrlVersion:x:http://bad\n"                 // no number
        "urlversion:1:http://case\n"                // not the prefix
        "UrlVersion:000000000000010:http://long\n"  // leading zeros still name slot 6
        "UrlVersion:3:" +
        std::string(300, 'a') + "\n";  // longer than a template: refused
    SourceSettings settings;
    const TemplateUpdateResult result = applyTemplateUpdate(answer, settings);
    EXPECT_EQ(settings.templates[0], "http://sat/*GMX*");
    EXPECT_EQ(settings.templates[4], "https://osm/*ZM1*");
    EXPECT_EQ(settings.templates[8], "http://yahoo/*YMY*");
    EXPECT_EQ(settings.templates[11], "");
    EXPECT_EQ(settings.templates[6], "http://long");
    EXPECT_EQ(settings.templates[3], "") << "and its second piece is no update line";
    EXPECT_EQ(settings.templates[1], "");
    EXPECT_EQ(result.applied, 5);
    EXPECT_EQ(result.refused, 2);

    EXPECT_EQ(templateUpdateUrl("", 5), "") << "no site: no update";
    EXPECT_EQ(templateUpdateUrl("wendra.example/", 1234),
              "https://wendra.example//Download/UrlVersion_v01?id=1234");
    EXPECT_EQ(templateUpdateUrl("http://w.example", 0x80000005u),
              "http://w.example//Download/UrlVersion_v01?id=5");
}

TEST(TemplateUpdate, RunsOncePerRunAndNeverStopsTileWork) {
    std::vector<std::string> asked;
    std::optional<std::string> answer = "UrlVersion:12:https://new/*ZM1*\n";
    const auto fetch = [&](const std::string& url) {
        asked.push_back(url);
        return answer;
    };
    SourceSettings settings;
    TemplateUpdater noSite;
    EXPECT_FALSE(noSite.runOnce(settings, 7, fetch));
    EXPECT_TRUE(noSite.done());
    EXPECT_TRUE(asked.empty()) << "no site, no request";

    settings.updateSite = "https://site";
    TemplateUpdater updater;
    EXPECT_TRUE(updater.runOnce(settings, 7, fetch));
    EXPECT_FALSE(updater.runOnce(settings, 8, fetch)) << "once per run";
    EXPECT_EQ(asked, std::vector<std::string>{"https://site//Download/UrlVersion_v01?id=7"});
    EXPECT_EQ(settings.templates[4], "https://new/*ZM1*");

    answer.reset();  // the site does not answer
    TemplateUpdater failing;
    EXPECT_FALSE(failing.runOnce(settings, 9, fetch));
    EXPECT_TRUE(failing.done());
    EXPECT_EQ(settings.templates[4], "https://new/*ZM1*");
}

}  // namespace
}  // namespace wendra::netmaps
