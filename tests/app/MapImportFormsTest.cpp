// "Select a zone" and the import of a folder of calibration files, driven as the user
// drives them: the chooser, the question about subfolders, the zone asked once.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <set>
#include <string>

#include "CalibrationFiles.h"
#include "app/MapFolderImport.h"
#include "app/SelectZoneDialog.h"
#include "platform/WidePath.h"
#include "support/ScriptedDialogHost.h"
#include "support/ScriptedMessageBoxes.h"

namespace wendra::test {
namespace {

namespace zone = SelectZoneControl;
using platform::Answer;

std::u16string widenCount(std::size_t count) {
    const std::string digits = std::to_string(count);
    return std::u16string(digits.begin(), digits.end());
}

// Legend: where the fix is (or the zone last entered), what the user does, then the
// zone the dialog offered and the signed zone it gives (nothing when cancelled).
TEST(SelectZoneDialog, OffersTheFixOrLastZoneAndGivesTheSignedZone) {
    struct Case {
        const char* legend;
        std::optional<GeoPosition> fix;
        int lastZone;
        std::function<void(ScriptedDialog&)> act;
        std::u16string offered;
        bool offeredSouth;
        std::optional<int> given;
        std::u16string refusal;
    };
    const auto ok = [](ScriptedDialog&) {};
    const Case cases[] = {
        {"a fix in Paris", GeoPosition{48.85, 2.35}, 5, ok, u"31", false, 31, u""},
        {"a fix in Sydney is south", GeoPosition{-33.9, 151.2}, 5, ok, u"56", true, -56, u""},
        {"no fix: the zone last entered", std::nullopt, -12, ok, u"12", true, -12, u""},
        {"nothing known: zone 1; '-' stops there, '+' steps", std::nullopt, 0,
         [](ScriptedDialog& d) {
             d.press(zone::kLess);
             EXPECT_EQ(d.text(zone::kZone), u"1");
             d.press(zone::kMore);
             d.press(zone::kSouth);
         },
         u"1", false, -2, u""},
        {"'+' steps from the zone typed and stops at 60", std::nullopt, 0,
         [](ScriptedDialog& d) {
             d.type(zone::kZone, u"60");
             d.press(zone::kMore);
         },
         u"1", false, 60, u""},
        {"a zone beyond 60 is refused", std::nullopt, 7,
         [](ScriptedDialog& d) { d.type(zone::kZone, u"61"); }, u"7", false, std::nullopt,
         u"Please enter a number."},
        {"cancelled", std::nullopt, 7, [](ScriptedDialog& d) { d.press(platform::kIdCancel); },
         u"7", false, std::nullopt, u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        ScriptedDialogHost host;
        ScriptedMessageBoxes boxes;
        host.expect([&](ScriptedDialog& d) {
            EXPECT_EQ(d.title(), u"Select a zone");
            EXPECT_EQ(d.text(zone::kZone), c.offered);
            EXPECT_EQ(d.checked(zone::kSouth), c.offeredSouth);
            c.act(d);
            if (!d.ended()) d.press(platform::kIdOk);
            if (!d.ended()) d.press(platform::kIdCancel);
        });
        int lastZone = c.lastZone;
        EXPECT_EQ(askUtmZone(c.fix, lastZone), c.given);
        EXPECT_EQ(lastZone, c.given.value_or(c.lastZone));
        EXPECT_EQ(boxes.shown().empty(), c.refusal.empty());
        if (!c.refusal.empty()) {
            EXPECT_EQ(boxes.shown()[0].text, c.refusal);
        }
    }
}

// A folder of calibration files: two good ones, two in UTM values, one naming an image
// that a map already shows, one that is no calibration, one in a subfolder, and a text.
class MapFolderImportTest : public ::testing::Test {
protected:
    void SetUp() override {
        writeCalibration(dir.path(), "alpha", "alpha.jpg");
        writeCalibration(dir.path(), "beta", "beta.png");
        writeCalibration(dir.path(), "utm1", "utm1.jpg", kUtmBox);
        writeCalibration(dir.path(), "utm2", "utm2.jpg", kUtmBox);
        writeCalibration(dir.path(), "known", "known.jpg");
        writeFile(dir / "broken.map", "not a calibration\n");
        writeFile(dir / "notes.txt", "OziExplorer Map Data File\n");
        writeCalibration(dir / "sub", "gamma", "gamma.gif");
        std::filesystem::rename(dir / "sub" / "gamma.map", dir / "sub" / "GAMMA.MAP");
    }

    MapFolderImportHooks hooks(std::set<std::u16string>& titles, int& zonesAsked,
                               std::optional<int> zone) {
        MapFolderImportHooks h;
        h.addMap = [&titles](const maps::MapDefinition& d) {
            EXPECT_TRUE(d.userFlags & maps::kMapActive);
            titles.insert(d.title);
            return true;
        };
        h.imageInUse = [](std::u16string_view path) { return path.ends_with(u"/known.jpg"); };
        h.askZone = [&zonesAsked, zone] {
            ++zonesAsked;
            return zone;
        };
        return h;
    }

    TempDir dir;
};

// Legend: the answer to "subfolders?", the zone given, then the maps made.
TEST_F(MapFolderImportTest, ImportsWhatItCanAndCountsIt) {
    struct Case {
        const char* legend;
        Answer subfolders;
        std::optional<int> zone;
        std::set<std::u16string> titles;
    };
    const Case cases[] = {
        {"this folder, UTM files in zone 31",
         Answer::No,
         31,
         {u"alpha", u"beta", u"utm1", u"utm2"}},
        {"and its subfolders, the .MAP in capitals",
         Answer::Yes,
         31,
         {u"alpha", u"beta", u"utm1", u"utm2", u"gamma"}},
        {"no zone given: both UTM files are dropped",
         Answer::No,
         std::nullopt,
         {u"alpha", u"beta"}},
        {"cancel ends it", Answer::Cancel, 31, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        ScriptedMessageBoxes boxes;
        boxes.answer(c.subfolders);
        std::set<std::u16string> titles;
        int zonesAsked = 0;
        std::u16string bmpPath = u"/old";
        const std::u16string folder = *platform::wideFromPath(dir.path());
        const std::optional<int> count = runMapFolderImport(
            [&](std::u16string_view start) {
                EXPECT_EQ(start, u"/old");
                return std::optional<std::u16string>(folder);
            },
            bmpPath, hooks(titles, zonesAsked, c.zone));
        EXPECT_EQ(bmpPath, folder);
        EXPECT_EQ(titles, c.titles);
        const auto shown = boxes.shown();
        ASSERT_FALSE(shown.empty());
        EXPECT_EQ(shown[0].text, u"Do you also want to import subfolders of " + folder + u"?");
        EXPECT_EQ(shown[0].buttons, platform::Buttons::YesNoCancel);
        if (c.subfolders == Answer::Cancel) {
            EXPECT_FALSE(count.has_value());
            EXPECT_EQ(shown.size(), 1u);
            continue;
        }
        EXPECT_EQ(zonesAsked, 1) << "once per import";
        ASSERT_EQ(count, static_cast<int>(c.titles.size()));
        ASSERT_EQ(shown.size(), 2u);
        EXPECT_EQ(shown[1].text, u" " + widenCount(c.titles.size()) + u" files imported");
        EXPECT_EQ(shown[1].title, u"Info!");
    }
}

TEST_F(MapFolderImportTest, ACancelledChooserAsksNothing) {
    ScriptedMessageBoxes boxes;
    std::set<std::u16string> titles;
    int zonesAsked = 0;
    std::u16string bmpPath = u"/old";
    EXPECT_FALSE(runMapFolderImport([](std::u16string_view) { return std::nullopt; }, bmpPath,
                                    hooks(titles, zonesAsked, 31)));
    EXPECT_EQ(bmpPath, u"/old");
    EXPECT_TRUE(boxes.shown().empty());
}

}  // namespace
}  // namespace wendra::test
