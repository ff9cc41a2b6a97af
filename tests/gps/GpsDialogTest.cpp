// The "GPS" dialog's logic: the form it opens with, its enabling rules, "Search", and
// what OK, "Static Nav" and Cancel do with the answers to their questions.

#include "gps/GpsDialog.h"

#include <gtest/gtest.h>

#include "GpsFakes.h"
#include "support/DecimalComma.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TestPaths.h"

namespace wendra::test {
namespace {

using platform::Answer;

GpsDialogValues someValues() {
    GpsDialogValues values;
    values.serial =
        SerialSettings{2, 1, 1, SerialOptions::kAutoReconnect | SerialOptions::kRateAsked};
    values.parserFlags = ParserFlags::kGeoidCorrection | ParserFlags::kFixValid;
    values.correction = 46.94f;
    values.noFixSound = u"Beep";
    return values;
}

GpsDialogForm formOf(const GpsDialogValues& values, bool bluetooth = false) {
    const std::vector<platform::PortDescription> ports = {
        {2, "u-blox 7 - GPS/GNSS Receiver (ttyACM0)"}, {10, "gpsd 127.0.0.1:2947"}};
    return gpsDialogForm(values, ports, u"(none)", {u"Alarm", u"Beep"}, bluetooth);
}

TEST(GpsDialog, FormShowsTheSettingsAndTheSlots) {
    const GpsDialogForm form = formOf(someValues());
    ASSERT_EQ(form.ports.size(), 20u) << "COM0-COM9 and GPD0-GPD9 even when not found";
    EXPECT_EQ(form.ports[0], u"COM0: ");
    EXPECT_EQ(form.ports[2], u"COM2: u-blox 7 - GPS/GNSS Receiver (ttyACM0)");
    EXPECT_EQ(form.ports[10], u"GPD0: gpsd 127.0.0.1:2947");
    EXPECT_EQ(form.portId, 2);
    EXPECT_EQ(form.rates, (std::vector<std::u16string>{u"4800", u"9600", u"14400", u"19200",
                                                       u"38400", u"57600", u"115200"}));
    EXPECT_EQ(form.rateIndex, 1);
    EXPECT_EQ(form.correction, u"46.9");
    EXPECT_TRUE(form.geoidCorrection);
    EXPECT_FALSE(form.autoCorrection);
    EXPECT_TRUE(form.autoReconnect);
    EXPECT_FALSE(form.deactivate);
    EXPECT_EQ(form.soundIndex, 2);
    EXPECT_EQ(form.sounds[0], u"(none)");
}

TEST(GpsDialog, PortListGrowsToTheHighestPortFound) {
    const GpsDialogForm form = gpsDialogForm(someValues(), {{25, "far away"}}, u"", {}, false);
    ASSERT_EQ(form.ports.size(), 26u);
    EXPECT_EQ(form.ports[25], u"GPD5: far away");
}

TEST(GpsDialog, ControlsAreEnabledByTheirSwitches) {
    struct Case {
        const char* legend;
        bool geoid, staticNav, bluetooth;
        GpsDialogEnabled expected;
    };
    const Case cases[] = {
        {"all off", false, false, false, {false, false, false, false, true}},
        {"geoid correction on", true, false, false, {true, true, false, false, true}},
        {"StaticNav functions on", false, true, false, {false, false, true, false, true}},
        {"Bluetooth control available", false, false, true, {false, false, false, true, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        GpsDialogForm form = formOf(someValues(), c.bluetooth);
        form.geoidCorrection = c.geoid;
        form.staticNavFunctions = c.staticNav;
        const GpsDialogEnabled e = gpsDialogEnabled(form);
        EXPECT_EQ(e.autoCorrection, c.expected.autoCorrection);
        EXPECT_EQ(e.correction, c.expected.correction);
        EXPECT_EQ(e.staticNavButton, c.expected.staticNavButton);
        EXPECT_EQ(e.activateBluetooth, c.expected.activateBluetooth);
        EXPECT_EQ(e.search, c.expected.search);
    }
}

TEST(GpsDialog, SearchSelectsWhatItFoundOrDisablesItself) {
    GpsDialogForm form = formOf(someValues());
    applyPortSearch(form, platform::PortSearchResult{10, 38400});
    EXPECT_EQ(form.portId, 10);
    EXPECT_EQ(form.rateIndex, 4);
    EXPECT_EQ(form.foundRateIndex, 4);
    EXPECT_TRUE(form.searchEnabled);

    GpsDialogForm gpsd = formOf(someValues());
    applyPortSearch(gpsd, platform::PortSearchResult{11, 0});
    EXPECT_EQ(gpsd.portId, 11);
    EXPECT_EQ(gpsd.rateIndex, 1) << "no rate found: the rate stays";
    EXPECT_EQ(gpsd.foundRateIndex, -1);

    GpsDialogForm nothing = formOf(someValues());
    applyPortSearch(nothing, std::nullopt);
    EXPECT_FALSE(nothing.searchEnabled);
    EXPECT_EQ(nothing.portId, 2);
}

TEST(GpsDialog, OkTakesTheFormsChoices) {
    ScriptedMessageBoxes boxes;
    const GpsDialogValues current = someValues();
    GpsDialogForm form = formOf(current);
    form.portId = 10;
    form.rateIndex = 6;
    form.geoidCorrection = true;
    form.autoCorrection = true;
    form.updateTime = true;
    form.logPort = true;
    form.deactivate = true;
    form.autoReconnect = false;
    form.correction = u"12.5";
    form.soundIndex = 0;
    const std::optional<GpsDialogValues> next = acceptGpsDialog(form, current, GpsDialogButton::Ok);
    ASSERT_TRUE(next);
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(next->serial.portId, 10);
    EXPECT_EQ(next->serial.readingRateIndex, 6);
    EXPECT_EQ(next->serial.receiverRateIndex, 1) << "only a search changes the receiver rate";
    EXPECT_EQ(next->serial.options,
              SerialOptions::kLogPort | SerialOptions::kDeactivated | SerialOptions::kRateAsked);
    EXPECT_EQ(next->parserFlags, ParserFlags::kGeoidCorrection | ParserFlags::kAutoCorrection |
                                     ParserFlags::kSetClock | ParserFlags::kFixValid);
    EXPECT_FLOAT_EQ(next->correction, 12.5f);
    EXPECT_EQ(next->noFixSound, u"") << "the first entry is no sound";
}

TEST(GpsDialog, FoundRateBecomesTheReceiverRateAndAllowsTheRateQuestionAgain) {
    ScriptedMessageBoxes boxes;
    const GpsDialogValues current = someValues();
    GpsDialogForm form = formOf(current);
    applyPortSearch(form, platform::PortSearchResult{2, 57600});
    const std::optional<GpsDialogValues> next = acceptGpsDialog(form, current, GpsDialogButton::Ok);
    ASSERT_TRUE(next);
    EXPECT_EQ(next->serial.receiverRateIndex, 5);
    EXPECT_FALSE(next->serial.has(SerialOptions::kRateAsked));
}

TEST(GpsDialog, CorrectionThatIsNoNumberStaysAsItWas) {
    ScriptedMessageBoxes boxes;
    for (const char16_t* text : {u"", u"abc", u"nan", u"1e99", u"1e309", u"-1500"}) {
        GpsDialogForm form = formOf(someValues());
        form.correction = text;
        const auto next = acceptGpsDialog(form, someValues(), GpsDialogButton::Ok);
        ASSERT_TRUE(next);
        EXPECT_FLOAT_EQ(next->correction, 46.94f);
    }
}

TEST(GpsDialog, StaticNavFunctionsAreConfirmedWhenNewlyChecked) {
    struct Case {
        const char* legend;
        GpsDialogButton button;
        std::vector<Answer> answers;
        bool proceeds;
        bool staticNavChecked;
        size_t questions;
    };
    const Case cases[] = {
        {"OK, No to the risk: unchecked, nothing else",
         GpsDialogButton::Ok,
         {Answer::No},
         false,
         false,
         1},
        {"OK, Yes to the risk", GpsDialogButton::Ok, {Answer::Yes}, true, true, 1},
        {"Static Nav, Yes then No to disabling",
         GpsDialogButton::StaticNav,
         {Answer::Yes, Answer::No},
         false,
         true,
         2},
        {"Static Nav, Yes and Yes",
         GpsDialogButton::StaticNav,
         {Answer::Yes, Answer::Yes},
         true,
         true,
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        ScriptedMessageBoxes boxes;
        for (Answer a : c.answers) boxes.answer(a);
        GpsDialogForm form = formOf(someValues());
        form.staticNavFunctions = true;
        const auto next = acceptGpsDialog(form, someValues(), c.button);
        EXPECT_EQ(next.has_value(), c.proceeds);
        EXPECT_EQ(form.staticNavFunctions, c.staticNavChecked);
        ASSERT_EQ(boxes.shown().size(), c.questions);
        EXPECT_EQ(boxes.shown()[0].title, u"Confirmation");
        EXPECT_EQ(boxes.shown()[0].text,
                  u"Do you want to activate functions to manage StaticNav? Usage of those "
                  u"options is at your own risk.");
        if (next) {
            EXPECT_TRUE(next->staticNavFunctions);
        }
    }
}

TEST(GpsDialog, TakingTheValuesClosesTheGpsAndKeepsTheParsersOtherBits) {
    TempDir folder;
    FakePorts ports;
    FakeRadio radio;
    FakeShell shell;
    FakeTimes times;
    ScriptedMessageBoxes boxes;
    SerialPort port({ports, radio, shell, folder.path(), nullptr, times.times()});
    port.settings().options = 0;
    ASSERT_TRUE(port.start(SerialPort::Attempts::Single));
    NmeaParser parser;
    parser.setFlags(ParserFlags::kFixValid | ParserFlags::kSkyComplete |
                    ParserFlags::kAutoCorrection);

    GpsDialogValues values = someValues();  // geoid correction only
    takeGpsDialogValues(port, parser, values);
    EXPECT_FALSE(port.readerRunning());
    EXPECT_EQ(port.settings().portId, 2);
    EXPECT_EQ(parser.flags(),
              ParserFlags::kFixValid | ParserFlags::kSkyComplete | ParserFlags::kGeoidCorrection);
    EXPECT_FLOAT_EQ(parser.correction(), 46.94f);
}

TEST(GpsDialog, CancelSwitchesTheGpsOffWhenItCannotBeOpened) {
    TempDir folder;
    FakePorts ports;
    FakeRadio radio;
    FakeShell shell;
    FakeTimes times;
    FakeTicker ticker;
    ScriptedMessageBoxes boxes;
    SerialPort port({ports, radio, shell, folder.path(), nullptr, times.times(), &ticker});
    port.settings().options = 0;
    ports.failWith = platform::SerialOpenError::NotFound;
    cancelGpsDialog(port);
    EXPECT_TRUE(port.settings().has(SerialOptions::kDeactivated));

    ports.failWith = platform::SerialOpenError::None;
    port.settings().options = 0;
    cancelGpsDialog(port);
    EXPECT_TRUE(port.readerRunning());
    EXPECT_FALSE(port.settings().has(SerialOptions::kDeactivated));
    port.close();
}

using GpsDialogUnderDecimalComma = DecimalCommaTest;

// The field shows and reads the correction with a point, as the file holds it.
TEST_F(GpsDialogUnderDecimalComma, CorrectionKeepsItsDecimals) {
    ScriptedMessageBoxes boxes;
    GpsDialogForm form = formOf(someValues());
    EXPECT_EQ(form.correction, u"46.9");
    form.correction = u"47.25";
    const auto next = acceptGpsDialog(form, someValues(), GpsDialogButton::Ok);
    ASSERT_TRUE(next);
    EXPECT_FLOAT_EQ(next->correction, 47.25f);
}

}  // namespace
}  // namespace wendra::test
