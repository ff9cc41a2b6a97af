// The "Map" setup dialog and "Correct a map", driven through the scripted host: what
// the user types and presses, the boxes shown, and what reaches the catalogue.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "CalibrationFiles.h"
#include "app/CorrectMapDialog.h"
#include "app/MapSetupDialog.h"
#include "platform/WidePath.h"
#include "records/Utm.h"
#include "support/DecimalComma.h"
#include "support/ScriptedDialogHost.h"
#include "support/ScriptedMessageBoxes.h"

namespace wendra::test {
namespace {

namespace setup = MapSetupControl;
namespace correct = CorrectMapControl;
using maps::MapDefinition;

struct RecordingTarget final : MapSetupTarget {
    bool accepts = true;
    std::vector<MapDefinition> stored, tested;
    bool store(const MapDefinition& d) override {
        stored.push_back(d);
        return accepts;
    }
    void test(const MapDefinition& d) override { tested.push_back(d); }
};

// Corners finer than any format shows them, so that a round trip through the texts
// would be seen.
MapDefinition alps() {
    MapDefinition d;
    d.title = u"Alps";
    d.imagePath = u"/maps/alps.jpg";
    d.cornerLatitudes = {50.123456789, 50.123456789, 49.0, 49.0};
    d.cornerLongitudes = {10.0, 11.000000004, 10.0, 11.000000004};
    d.width = 1000;
    d.height = 800;
    d.bytesPerPixel = 2;
    return d;
}

void typeCorner(ScriptedDialog& d, int radio, std::u16string_view a, std::u16string_view b,
                std::u16string_view zone = {}) {
    EXPECT_TRUE(d.press(radio));
    EXPECT_TRUE(d.type(setup::kLatitude, a));
    EXPECT_TRUE(d.type(setup::kLongitude, b));
    if (!zone.empty()) {
        EXPECT_TRUE(d.type(setup::kZone, zone));
    }
}

struct SetupCase {
    const char* legend;
    int format;
    bool existing;       // the Alps map, or a new one
    std::string import;  // the calibration "Import" picks: "", "utm" or "broken"
    bool targetAccepts;
    std::function<void(ScriptedDialog&)> act;  // ends with the button that closes
    std::u16string box;                        // the one box expected, or none
    std::function<void(const RecordingTarget&)> check;
};

// Legend: the coordinate format and the map, what the user does, the box it shows,
// then what the catalogue received.
TEST(MapSetupDialog, AcceptsCompleteMapsAndRefusesWithTheReason) {
    const GeoPosition utmCorner = geoFromUtm(510000, 5400000, 31);
    const SetupCase cases[] = {
        {"a new map typed corner by corner", 0, false, "", true,
         [](ScriptedDialog& d) {
             d.type(setup::kName, u"Lake");
             d.type(setup::kFile, u"/maps/lake.png");
             typeCorner(d, setup::kUpLeft, u"46.5N", u"6.5E");
             typeCorner(d, setup::kUpRight, u"46.5", u"7");
             typeCorner(d, setup::kDownLeft, u"46", u"6.5");
             typeCorner(d, setup::kDownRight, u"46", u"7");
             d.press(platform::kIdOk);
         },
         u"",
         [](const RecordingTarget& t) {
             ASSERT_EQ(t.stored.size(), 1u);
             const MapDefinition& m = t.stored[0];
             EXPECT_EQ(m.title, u"Lake");
             EXPECT_EQ(m.cornerLatitudes, (std::array<double, 4>{46.5, 46.5, 46.0, 46.0}));
             EXPECT_EQ(m.cornerLongitudes, (std::array<double, 4>{6.5, 7.0, 6.5, 7.0}));
             EXPECT_TRUE(m.userFlags & maps::kMapActive);
             EXPECT_TRUE(t.tested.empty());
         }},
        {"a corner left unset is selected", 0, false, "", true,
         [](ScriptedDialog& d) {
             d.type(setup::kFile, u"/maps/lake.png");
             typeCorner(d, setup::kUpLeft, u"46.5", u"6.5");
             typeCorner(d, setup::kUpRight, u"46.5", u"7");
             typeCorner(d, setup::kDownRight, u"46", u"7");
             d.press(platform::kIdOk);
             EXPECT_TRUE(d.checked(setup::kDownLeft));
             d.press(platform::kIdCancel);
         },
         u"Empty field", [](const RecordingTarget& t) { EXPECT_TRUE(t.stored.empty()); }},
        {"no file name", 0, true, "", true,
         [](ScriptedDialog& d) {
             d.type(setup::kFile, u"");
             d.press(setup::kSaveAndTest);
             d.press(platform::kIdCancel);
         },
         u"No file name!", [](const RecordingTarget& t) { EXPECT_TRUE(t.stored.empty()); }},
        {"save and test, nothing touched: the exact corners and size come back", 1, true, "", true,
         [](ScriptedDialog& d) { d.press(setup::kSaveAndTest); }, u"",
         [](const RecordingTarget& t) {
             ASSERT_EQ(t.tested.size(), 1u);
             EXPECT_EQ(t.tested[0].cornerLatitudes, alps().cornerLatitudes);
             EXPECT_EQ(t.tested[0].cornerLongitudes, alps().cornerLongitudes);
             EXPECT_EQ(t.tested[0].width, 1000);
         }},
        {"one corner edited in minutes, another image", 1, true, "", true,
         [](ScriptedDialog& d) {
             EXPECT_EQ(d.text(setup::kLatitude), u"50\u00B007.4074N");
             d.type(setup::kLatitude, u"50\u00B030.0N");
             d.type(setup::kFile, u"/maps/alps2.jpg");
             d.press(platform::kIdOk);
         },
         u"",
         [](const RecordingTarget& t) {
             ASSERT_EQ(t.stored.size(), 1u);
             EXPECT_DOUBLE_EQ(t.stored[0].cornerLatitudes[0], 50.5);
             EXPECT_EQ(t.stored[0].cornerLatitudes[1], 50.123456789);
             EXPECT_EQ(t.stored[0].width, 0) << "the new image's header tells its size";
         }},
        {"UTM: a corner typed with its zone", 3, true, "", true,
         [](ScriptedDialog& d) {
             EXPECT_TRUE(d.visible(setup::kZone));
             EXPECT_EQ(d.text(setup::kZone), u"32N");
             typeCorner(d, setup::kDownRight, u"510000", u"5400000", u"31N");
             d.press(platform::kIdOk);
         },
         u"",
         [utmCorner](const RecordingTarget& t) {
             ASSERT_EQ(t.stored.size(), 1u);
             EXPECT_DOUBLE_EQ(t.stored[0].cornerLatitudes[3], utmCorner.latitude);
             EXPECT_DOUBLE_EQ(t.stored[0].cornerLongitudes[3], utmCorner.longitude);
         }},
        {"import of a file in UTM values asks the zone and fills every field", 0, false, "utm",
         true,
         [](ScriptedDialog& d) {
             EXPECT_FALSE(d.visible(setup::kZone));
             d.press(setup::kImport);
             EXPECT_EQ(d.text(setup::kName), u"utm");
             EXPECT_TRUE(d.text(setup::kFile).ends_with(u"/utm.jpg"));
             d.press(platform::kIdOk);
         },
         u"",
         [](const RecordingTarget& t) {
             ASSERT_EQ(t.stored.size(), 1u);
             const GeoPosition topLeft = geoFromUtm(500000, 5408000, 31);
             EXPECT_NEAR(t.stored[0].cornerLatitudes[0], topLeft.latitude, 1e-9);
             EXPECT_NEAR(t.stored[0].cornerLongitudes[0], topLeft.longitude, 1e-9);
         }},
        {"import of a file that is no calibration changes nothing", 0, true, "broken", true,
         [](ScriptedDialog& d) {
             d.press(setup::kImport);
             EXPECT_EQ(d.text(setup::kName), u"Alps");
             d.press(platform::kIdCancel);
         },
         u"Unable to import this file!",
         [](const RecordingTarget& t) { EXPECT_TRUE(t.stored.empty()); }},
        {"import of a map the Swiss grid cannot show", 4, false, "alpha", true,
         [](ScriptedDialog& d) {
             d.press(setup::kImport);
             EXPECT_EQ(d.text(setup::kName), u"");
             d.press(platform::kIdCancel);
         },
         u"Unable to display the coordinates in the selected format.", nullptr},
        {"the catalogue refuses: the dialog stays open", 0, true, "", false,
         [](ScriptedDialog& d) {
             d.press(platform::kIdOk);
             EXPECT_FALSE(d.ended());
             d.press(platform::kIdCancel);
         },
         u"", [](const RecordingTarget& t) { EXPECT_EQ(t.stored.size(), 1u); }},
    };
    for (const SetupCase& c : cases) {
        SCOPED_TRACE(c.legend);
        TempDir dir;
        writeCalibration(dir.path(), "utm", "utm.jpg", kUtmBox);
        writeCalibration(dir.path(), "alpha", "alpha.jpg");
        writeFile(dir / "broken.map", "MMPNUM,4\n");
        ScriptedDialogHost host;
        ScriptedMessageBoxes boxes;
        RecordingTarget target;
        target.accepts = c.targetAccepts;
        std::u16string bmpPath = u"/start";
        MapSetupContext context;
        context.coordinateFormat = c.format;
        context.bmpPath = &bmpPath;
        const std::u16string folder = *platform::wideFromPath(dir.path());
        context.chooseCalibration = [&](std::u16string_view start) {
            EXPECT_EQ(start, u"/start");
            return std::optional<std::u16string>(
                *platform::wideFromPath(dir / (c.import + ".map")));
        };
        context.askZone = [] { return std::optional<int>(31); };
        host.expect([&](ScriptedDialog& d) {
            EXPECT_EQ(d.title(), u"Map");
            c.act(d);
            EXPECT_TRUE(d.ended()) << "the case must close the dialog";
        });
        const bool stored =
            runMapSetup(c.existing ? std::optional(alps()) : std::nullopt, context, target);
        EXPECT_EQ(stored, !target.stored.empty() && target.accepts);
        const auto shown = boxes.shown();
        ASSERT_EQ(shown.size(), c.box.empty() ? 0u : 1u);
        if (!c.box.empty()) {
            EXPECT_EQ(shown[0].text, c.box);
        }
        if (!c.import.empty() && c.import != "broken" && c.box.empty()) {
            EXPECT_EQ(bmpPath, folder);
        }
        if (c.check) c.check(target);
    }
}

TEST(MapSetupDialog, AMapTheFormatCannotShowDoesNotOpen) {
    ScriptedDialogHost host;
    ScriptedMessageBoxes boxes;
    RecordingTarget target;
    MapSetupContext context;
    context.coordinateFormat = 4;  // the Swiss grid ends south of 48.5 degrees
    EXPECT_FALSE(runMapSetup(alps(), context, target));
    EXPECT_TRUE(host.shown().empty());
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].title, u".Error");
}

// One map on the equator, a degree wide over 1000 pixels: 111.319 m a pixel.
std::unique_ptr<maps::CalibratedMap> equatorMap() {
    MapDefinition d = alps();
    d.cornerLatitudes = {0.5, 0.5, -0.5, -0.5};
    d.cornerLongitudes = {6.0, 7.0, 6.0, 7.0};
    auto map = std::make_unique<maps::CalibratedMap>();
    EXPECT_TRUE(map->setDefinition(d));
    return map;
}

// Legend: the unit system and the buttons pressed, then the step first shown, the
// summary line, and where the map's north edge ends.
TEST(CorrectMapDialog, AccumulatesInTheUsersUnitAndAppliesInKm) {
    constexpr double kKmPerDegree = 20037.508342789242 / 180.0;
    struct Case {
        const char* legend;
        int unitSystem;
        std::function<void(ScriptedDialog&)> act;
        std::u16string step, unit, summary;
        int closedWith;
        double northEdge;
    };
    const Case cases[] = {
        {"metres, every kind of step", 0,
         [](ScriptedDialog& d) {
             for (int button : {correct::kWider, correct::kNorth, correct::kNorth, correct::kWest})
                 d.press(button);
         },
         u"111.319", u"m", u"Correct: Alps, 111m to Width, 223m to North, 111m vers l'West",
         platform::kIdCancel, 0.5},
        {"feet to the east", 1, [](ScriptedDialog& d) { d.press(correct::kEast); }, u"365.220",
         u"ft", u"Correct: Alps, 365ft vers l'Est", platform::kIdCancel, 0.5},
        {"half a thousandth south is kept as a whole one", 0,
         [](ScriptedDialog& d) {
             d.type(correct::kStep, u"0.0005");
             d.press(correct::kSouth);
         },
         u"111.319", u"m", u"Correct: Alps, 0m vers le South", platform::kIdCancel, 0.5},
        {"north then south name the map alone", 0,
         [](ScriptedDialog& d) {
             d.press(correct::kNorth);
             d.press(correct::kSouth);
         },
         u"111.319", u"m", u"Correct: Alps", platform::kIdCancel, 0.5},
        {"apply and test a pixel north", 0,
         [](ScriptedDialog& d) {
             d.press(correct::kNorth);
             d.press(correct::kApplyAndTest);
         },
         u"111.319", u"m", u"Correct: Alps, 111m to North", correct::kApplyAndTest,
         0.5 + 0.111319 / kKmPerDegree},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        ScriptedDialogHost host;
        ScriptedMessageBoxes boxes;
        auto map = equatorMap();
        const std::vector<maps::CalibratedMap*> selection = {map.get()};
        std::vector<bool> applied;
        host.expect([&](ScriptedDialog& d) {
            EXPECT_EQ(d.title(), u"Correct a map");
            EXPECT_EQ(d.text(correct::kStep), c.step);
            EXPECT_EQ(d.text(correct::kUnit), c.unit);
            EXPECT_EQ(d.text(correct::kSummary), u"Correct: Alps");
            c.act(d);
            if (!d.ended()) {
                EXPECT_EQ(d.text(correct::kSummary), c.summary);
                d.press(platform::kIdCancel);
            }
            EXPECT_EQ(d.result(), c.closedWith);
        });
        const bool corrected = runCorrectMap(selection, u"Alps", c.unitSystem,
                                             [&](bool test) { applied.push_back(test); });
        EXPECT_EQ(corrected, c.closedWith != platform::kIdCancel);
        EXPECT_EQ(applied.size(), corrected ? 1u : 0u);
        if (corrected) {
            EXPECT_TRUE(applied[0]);
        }
        EXPECT_NEAR(map->maxLatitude(), c.northEdge, 1e-12);
        EXPECT_TRUE(boxes.shown().empty());
    }
}

// The step is shown and read with a decimal point whatever the locale.
using CorrectMapDecimalComma = DecimalCommaTest;

TEST_F(CorrectMapDecimalComma, StepsAreWrittenAndReadWithAPoint) {
    ScriptedDialogHost host;
    ScriptedMessageBoxes boxes;
    auto map = equatorMap();
    const std::vector<maps::CalibratedMap*> selection = {map.get()};
    CorrectMapDialog dialog(selection, u"Alps", 0, nullptr);
    host.expect([](ScriptedDialog& d) {
        EXPECT_EQ(d.text(correct::kStep), u"111.319");
        d.type(correct::kStep, u"2.5");
        d.press(correct::kNorth);
        d.press(platform::kIdCancel);
    });
    platform::runDialog(CorrectMapDialog::dialogTemplate(u"m"), dialog);
    EXPECT_DOUBLE_EQ(dialog.values().northShift, 2.5);
    EXPECT_TRUE(boxes.shown().empty());
}

}  // namespace
}  // namespace wendra::test
