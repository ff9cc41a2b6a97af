#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/FileChooserFilter.h"

namespace wendra::test {
namespace {

using namespace std::string_view_literals;

TEST(FileChooserFilter, ParsesTheZeroSeparatedFilterList) {
    const auto filters = parseFilterList(u"Track files\0*.wdt\0Routes\0*.wdn;*.wdt\0\0"sv);
    ASSERT_EQ(filters.size(), 2u);
    EXPECT_EQ(filters[0], (platform::FileFilter{u"Track files", u"*.wdt"}));
    EXPECT_EQ(filters[1], (platform::FileFilter{u"Routes", u"*.wdn;*.wdt"}));
    EXPECT_TRUE(parseFilterList(u""sv).empty());
    EXPECT_EQ(parseFilterList(u"Unended\0*.kml"sv).size(), 1u) << "no final empty entry";
    EXPECT_TRUE(parseFilterList(u"Label without pattern\0\0"sv).empty());
}

TEST(FileChooserFilter, KeepsOneExtensionPerPatternUpToTen) {
    struct Case {
        const char* legend;
        std::vector<platform::FileFilter> filters;
        std::vector<std::u16string> extensions;
    };
    const std::vector<Case> cases = {
        {"two entries", {{u"T", u"*.wdt"}, {u"R", u"*.wdn"}}, {u".wdt", u".wdn"}},
        {"several patterns in one entry", {{u"Maps", u"*.map; *.MAP"}}, {u".map", u".MAP"}},
        {"from the last dot", {{u"Archives", u"Trc*.tar.gz"}}, {u".gz"}},
        {"a pattern without a dot gives nothing", {{u"Odd", u"README"}}, {}},
        {"no filters: a folder chooser", {}, {}},
        {"every file", {{u"All", u"*"}}, {u".*"}},
        {"at most ten",
         {{u"Many", u"*.a1;*.a2;*.a3;*.a4;*.a5;*.a6;*.a7;*.a8;*.a9;*.a10;*.a11"}},
         {u".a1", u".a2", u".a3", u".a4", u".a5", u".a6", u".a7", u".a8", u".a9", u".a10"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExtensionFilter(c.filters).extensions(), c.extensions) << c.legend;
}

TEST(FileChooserFilter, MatchesEndingsWithoutRegardToLetterCase) {
    const ExtensionFilter tracks(
        std::vector<platform::FileFilter>{{u"Tracks", u"*.wdt"}, {u"Routes", u"*.wdn"}});
    EXPECT_TRUE(tracks.matches(u"Trc-120315.wdt"));
    EXPECT_TRUE(tracks.matches(u"ROUTE.WDN"));
    EXPECT_TRUE(tracks.matches(u".wdt"));
    EXPECT_FALSE(tracks.matches(u"notes.txt"));
    EXPECT_FALSE(tracks.matches(u"wdt"));
    EXPECT_FALSE(tracks.matches(u"track.wdt.bak"));
    const ExtensionFilter all(std::vector<platform::FileFilter>{{u"All files", u"*.*"}});
    EXPECT_TRUE(all.matches(u"anything"));
    EXPECT_TRUE(equalIgnoringCase(u"Z\u00DCRICH", u"z\u00FCrich"));
    EXPECT_FALSE(equalIgnoringCase(u"\u00D7", u"\u00F7")) << "the multiplication sign is no letter";
}

TEST(FileChooserFilter, DefaultExtensionReplacesAThreeCharacterEnding) {
    struct Case {
        const char* legend;
        std::u16string name;
        std::u16string extension;
        std::u16string expected;
    };
    const Case cases[] = {
        {"plain name", u"Trc-120315-Home", u".wdt", u"Trc-120315-Home.wdt"},
        {"other three-letter ending replaced", u"Track.txt", u".wdt", u"Track.wdt"},
        {"same ending kept once", u"Track.wdt", u".wdt", u"Track.wdt"},
        {"extension without its dot", u"Track", u"wdt", u"Track.wdt"},
        {"four-letter ending is part of the name", u"Track.html", u".wdt", u"Track.html.wdt"},
        {"two-letter ending is part of the name", u"Track.gz", u".wdt", u"Track.gz.wdt"},
        {"nothing but an ending", u".txt", u".wdt", u".wdt"},
        {"no default extension leaves the name", u"Track.txt", u"", u"Track.txt"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(withDefaultExtension(c.name, c.extension), c.expected) << c.legend;
    EXPECT_EQ(pathWithDefaultExtension(u"/My Documents/Track.txt", u".wdt"),
              u"/My Documents/Track.wdt");
    EXPECT_EQ(pathWithDefaultExtension(u"/data/v1.2/abc", u".wdt"), u"/data/v1.2/abc.wdt")
        << "a dot in a folder's name is not an ending";
    EXPECT_EQ(pathWithDefaultExtension(u"/a.b/c", u".wdt"), u"/a.b/c.wdt");
}

}  // namespace
}  // namespace wendra::test
