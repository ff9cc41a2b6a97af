#include <gtest/gtest.h>

#include "netmaps/InternetSourcesDialog.h"
#include "support/ScriptedDialogHost.h"
#include "support/ScriptedMessageBoxes.h"

namespace wendra::netmaps {
namespace {

namespace id = InternetSourcesControl;
using platform::kIdCancel;
using platform::kIdOk;

std::vector<std::u16string> items(const test::ScriptedDialog& shown, int control) {
    std::vector<std::u16string> texts;
    for (int i = 0; i < shown.itemCount(control); ++i) texts.push_back(shown.itemText(control, i));
    return texts;
}

TEST(InternetSourcesDialog, EditsEachSourceAndTakesThemOverOnOk) {
    test::ScriptedDialogHost host;
    SourceSettings settings;
    std::vector<int> shownSources;
    host.expect([&](test::ScriptedDialog& shown) {
        EXPECT_EQ(shown.title(), u"Internet sources");
        ASSERT_EQ(shown.itemCount(id::kSources), kTileSourceCount);
        EXPECT_EQ(shown.itemText(id::kSources, 11), u"OSM-Piste");
        EXPECT_EQ(shown.selection(id::kSources), source::kOsmMapnikRoad)
            << "opens on the displayed";
        EXPECT_TRUE(shown.checked(id::kActive));
        EXPECT_EQ(shown.text(id::kAttribution), u"\u00A9 OpenStreetMap contributors");
        EXPECT_EQ(items(shown, id::kDisplayed),
                  (std::vector<std::u16string>{u"OSM-Mapnik-Road", u"OSM-Piste"}));

        shown.pick(id::kSources, 2);  // a source of the user's own
        EXPECT_FALSE(shown.checked(id::kActive));
        EXPECT_EQ(shown.text(id::kTemplate), u"");
        shown.press(id::kActive);
        shown.type(id::kTemplate, u"https://mine.example/*ZM*/*GMX*/*GMY*.png");
        shown.type(id::kAttribution, u"\u00A9 Mine");
        shown.pick(id::kSources, source::kOsmMapnikRoad);  // the typed texts stay with 2
        shown.press(id::kActive);                          // and 4 is no longer active
        EXPECT_EQ(items(shown, id::kDisplayed),
                  (std::vector<std::u16string>{u"Google-Road", u"OSM-Piste"}));
        shown.pick(id::kSources, 2);
        EXPECT_EQ(shown.text(id::kAttribution), u"\u00A9 Mine");
        shown.type(id::kCountryCode, u"de");
        shown.press(kIdOk);
        EXPECT_TRUE(shown.ended());
    });
    EXPECT_TRUE(runInternetSources(settings, [&](int s) { shownSources.push_back(s); }));
    EXPECT_EQ(settings.activeSources, (1u << 2) | (1u << source::kOsmPiste));
    EXPECT_EQ(settings.displayedSource, 2) << "the first active source takes over";
    EXPECT_EQ(shownSources, std::vector<int>{2});
    EXPECT_EQ(settings.templates[2], "https://mine.example/*ZM*/*GMX*/*GMY*.png");
    EXPECT_EQ(settings.attributions[2], "\xA9 Mine");
    EXPECT_EQ(settings.countryCode, "de");
}

TEST(InternetSourcesDialog, RefusesAnEmptyMaskAndCancelKeepsEverything) {
    test::ScriptedDialogHost host;
    test::ScriptedMessageBoxes boxes;
    SourceSettings settings;
    const SourceSettings before = settings;
    host.expect([&](test::ScriptedDialog& shown) {
        shown.press(id::kActive);  // 4 off
        shown.pick(id::kSources, source::kOsmPiste);
        shown.press(id::kActive);  // 11 off: nothing is active
        EXPECT_EQ(shown.itemCount(id::kDisplayed), 0);
        shown.type(id::kTemplate, u"http://changed");
        shown.press(kIdOk);
        EXPECT_FALSE(shown.ended()) << "the dialog stays";
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0].text, u"You have to activate at least one source!");
        EXPECT_EQ(boxes.shown()[0].title, u"Error!");
        shown.press(kIdCancel);
    });
    EXPECT_FALSE(runInternetSources(settings, [](int) { FAIL() << "nothing was displayed"; }));
    EXPECT_EQ(settings.activeSources, before.activeSources);
    EXPECT_EQ(settings.templates, before.templates);

    host.expect([&](test::ScriptedDialog& shown) {
        shown.pick(id::kDisplayed, 1);  // OSM-Piste, while both stay active
        shown.press(kIdOk);
    });
    int displayed = -1;
    EXPECT_TRUE(runInternetSources(settings, [&](int s) { displayed = s; }));
    EXPECT_EQ(settings.displayedSource, source::kOsmPiste);
    EXPECT_EQ(displayed, source::kOsmPiste);
}

}  // namespace
}  // namespace wendra::netmaps
