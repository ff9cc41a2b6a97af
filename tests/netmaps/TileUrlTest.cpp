#include <gtest/gtest.h>

#include "netmaps/TileUrlBuilder.h"

namespace wendra::netmaps {
namespace {

constexpr TileAddress kWorld{0, 0, 1};
constexpr TileAddress kLevel3{3, 1, 3};  // row 2 from the north
constexpr TileAddress kFine{0x80000, 0x7ffff, 21};

TEST(TileUrl, EveryPlaceholderAndTheEmptyValueRule) {
    struct Case {
        const char* legend;
        const char* pattern;
        TileAddress tile;
        const char* country;
        std::string url;
    } cases[] = {
        {"numbers", "http://h/*GMX*/*GMY*/*ZM1*/*ZM*/*YMY*/*IZM*", kLevel3, "",
         "http://h/3/2/2/3/-1/15"},
        {"quad letters and key", "http://h/*GMId*-*VEId*", kLevel3, "", "http://h/tsr-31"},
        {"finest level", "http://h/*GMId*?k=*VEId*&y=*YMY*", kFine, "",
         "http://h/ts" + std::string(19, 'q') + "?k=3" + std::string(19, '0') + "&y=-1"},
        {"every occurrence", "http://h/*GMX**GMX*/*ZM**ZM*", kLevel3, "", "http://h/33/33"},
        {"server and country", "http://m*RND*.h/x?hl=*LAN*&c=*LAN-LAN*", kLevel3, "de",
         "http://m2.h/x?hl=de&c=de-de"},
        {"an empty country drops its parameters",
         "http://h/kh?v=36&x=*GMX*&s=&hl=*LAN*&m=*LAN-LAN*", kLevel3, "",
         "http://h/kh?v=36&x=3&s="},
        {"an empty first parameter keeps the query mark", "http://h/t?hl=*LAN*&x=1", kLevel3, "",
         "http://h/t?&x=1"},
        {"an empty path segment keeps the scheme and host", "https://h/a/*LAN*.png", kLevel3, "",
         "https://h/a/.png"},
        {"level 1: no key, one letter", "http://h/*VEId*?q=*GMId*&z=*ZM1*", kWorld, "",
         "http://h/?q=t&z=0"},
        {"inverse zoom at its top level", "http://h/*IZM*", {0, 0, 18}, "", "http://h/0"},
        {"inverse zoom beyond it: no request", "http://h/*IZM*/*GMX*", {0, 0, 19}, "", ""},
        {"levels beyond 18 without it", "http://h/*ZM*", {0, 0, 19}, "", "http://h/19"},
        {"no placeholder, a stray star", "http://h/*x*", kLevel3, "", "http://h/*x*"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(expandTemplate(c.pattern, c.tile, 2, c.country), c.url) << c.legend;
}

TEST(TileUrl, ServersRotateOncePerTileAndOverlaysTakeTheirBase) {
    SourceSettings settings;
    settings.templates[source::kGoogleSat] = "http://a*RND*/sat/*GMX*";
    settings.templates[source::kGoogleSatRoad] = "http://b*RND*/road/*GMX*";
    TileUrlBuilder builder;
    const int expected[] = {0, 1, 2, 3, 0};
    for (int server : expected) {
        const TileUrls urls = builder.build(kLevel3, source::kGoogleSatRoad, settings);
        EXPECT_EQ(urls.base, "http://a" + std::to_string(server) + "/sat/3");
        EXPECT_EQ(urls.overlay, "http://b" + std::to_string(server) + "/road/3");
        EXPECT_EQ(urls.baseSource, source::kGoogleSat);
    }

    const TileUrls piste = builder.build(kLevel3, source::kOsmPiste, settings);
    EXPECT_EQ(piste.baseSource, source::kOsmMapnikRoad);
    EXPECT_EQ(piste.base, "https://tile.openstreetmap.org/2/3/2.png");
    EXPECT_EQ(piste.overlay, "https://tiles.opensnowmap.org/pistes/2/3/2.png");
    const TileUrls road = builder.build(kLevel3, source::kOsmMapnikRoad, settings);
    EXPECT_EQ(road.baseSource, source::kOsmMapnikRoad);
    EXPECT_TRUE(road.overlay.empty());
    EXPECT_TRUE(builder.build(kLevel3, 3, settings).base.empty()) << "no server configured";
    EXPECT_EQ(builder.build(kLevel3, 12, settings).baseSource, kNoTileSource);
}

}  // namespace
}  // namespace wendra::netmaps
