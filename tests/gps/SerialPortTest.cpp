// The receiver connection without a receiver: port names, rates, chunk sizes, error
// texts, retries, the Bluetooth radio, the port log and the switch on and off.

#include "gps/SerialPort.h"

#include <gtest/gtest.h>

#include "GpsFakes.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TestPaths.h"
#include "support/WaitUntil.h"

namespace wendra::test {
namespace {

using platform::SerialAccess;
using platform::SerialOpenError;

class SerialPortTest : public ::testing::Test {
protected:
    SerialPortTest() { port.settings().options = 0; }

    SerialPort::Parts parts() {
        return SerialPort::Parts{ports,
                                 radio,
                                 shell,
                                 folder.path(),
                                 [this](std::string_view chunk) { chunks.emplace_back(chunk); },
                                 times.times(),
                                 &ticker};
    }

    TempDir folder;
    FakePorts ports;
    FakeRadio radio;
    FakeShell shell;
    FakeTicker ticker;
    FakeTimes times;
    std::vector<std::string> chunks;
    ScriptedMessageBoxes boxes;
    SerialPort port{parts()};
};

TEST(SerialPortNames, PortIdGivesComOrGpdAndTheDigit) {
    const std::pair<int, const char*> cases[] = {
        {0, "COM0:"}, {9, "COM9:"}, {10, "GPD0:"}, {12, "GPD2:"}, {19, "GPD9:"},
    };
    for (const auto& [id, name] : cases) EXPECT_EQ(SerialPort::portName(id), name) << id;
}

TEST(SerialPortChunks, SizeFollowsTheRateAndTheTimeSinceTheLastRead) {
    struct Case {
        const char* legend;
        int rate;
        std::optional<long long> ms;
        int size;
    };
    const Case cases[] = {
        {"base at 4800: the bytes of 0.2 s at 9 bits", 4800, std::nullopt, 106},
        {"300 ms after the last read at 4800", 4800, 300, 260},
        {"a quick second read keeps the base", 4800, 5, 106},
        {"base at 115200", 115200, std::nullopt, 2560},
        {"110 ms at 115200 is below the base", 115200, 110, 2560},
        {"a long pause at 115200 is capped", 115200, 60000, 4000},
        {"an hour at 4800 does not overflow", 4800, 3600000, 4000},
        {"no rate, no bytes", 0, std::nullopt, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(SerialPort::chunkSize(c.rate, c.ms), c.size) << c.legend;
}

TEST_F(SerialPortTest, OpensThePortByNameAtTheRateOfItsPurpose) {
    port.settings().portId = 12;
    port.settings().readingRateIndex = 1;   // 9600
    port.settings().receiverRateIndex = 6;  // 115200
    ASSERT_TRUE(port.openPort(SerialAccess::Read));
    ASSERT_TRUE(port.openPort(SerialAccess::ReadWrite));
    ASSERT_EQ(ports.openings.size(), 2u);
    EXPECT_EQ(ports.openings[0].name, "GPD2:");
    EXPECT_EQ(ports.openings[0].rate, 9600);
    EXPECT_EQ(ports.openings[0].access, SerialAccess::Read);
    EXPECT_EQ(ports.openings[1].rate, 115200);
    EXPECT_EQ(ports.openings[1].access, SerialAccess::ReadWrite);
}

TEST_F(SerialPortTest, FailedOpenSaysWhy) {
    const std::pair<SerialOpenError, const char16_t*> cases[] = {
        {SerialOpenError::NotFound, u"Serial Error: Port Not found!"},
        {SerialOpenError::AccessDenied, u"Serial Error:Access Denied!"},
        {SerialOpenError::GetState, u"Serial Error:Get State!"},
        {SerialOpenError::SetState, u"Serial Error:Set State!"},
        {SerialOpenError::Other, u"Serial Error!"},
    };
    for (const auto& [error, text] : cases) {
        ports.failWith = error;
        EXPECT_FALSE(port.openPort(SerialAccess::Read));
        EXPECT_EQ(port.errorText(), text);
    }
}

TEST_F(SerialPortTest, DeactivatedGpsOpensWithoutAPortAndReadsTheNoPortMarker) {
    port.settings().options = SerialOptions::kDeactivated;
    ASSERT_TRUE(port.openPort(SerialAccess::Read));
    EXPECT_TRUE(ports.openings.empty());
    EXPECT_EQ(port.readChunk(), "$NOPORT*18\n");
    EXPECT_EQ(port.readChunk(), "$NOPORT*18\n");
}

TEST_F(SerialPortTest, ReadsAskForTheRateAdaptedChunk) {
    ASSERT_TRUE(port.openPort(SerialAccess::Read));  // 4800
    ports.device.counts = {10, 4095, -1, 20};
    EXPECT_EQ(port.readChunk().size(), 10u);
    ticker.ms += 300;
    EXPECT_EQ(port.readChunk(), "") << "a count of 4095 or more is no read";
    EXPECT_EQ(port.readChunk(), "") << "a failed read is an empty chunk";
    EXPECT_EQ(port.readChunk(), std::string(20, 'x'));
    EXPECT_EQ(ports.device.asked, (std::vector<std::size_t>{106, 260, 106, 106}));
}

TEST_F(SerialPortTest, GpsdIsReadInChunksOfTheFastestLine) {
    port.settings().portId = 10;
    ASSERT_TRUE(port.openPort(SerialAccess::Read));
    port.readChunk();
    EXPECT_EQ(ports.device.asked, (std::vector<std::size_t>{2560}));
}

TEST_F(SerialPortTest, RetriesForASecondOrFifteenWithBluetooth) {
    ports.failWith = SerialOpenError::NotFound;
    EXPECT_FALSE(port.openWithRetries());
    // At 0 s, a pause, at 1 s: the second is used up.
    EXPECT_EQ(ports.openings.size(), 2u);

    ports.openings.clear();
    port.settings().options = SerialOptions::kActivateBluetooth;
    radio.current = platform::BluetoothRadio::kOn;  // no power-up pauses
    EXPECT_FALSE(port.openWithRetries());
    EXPECT_EQ(ports.openings.size(), 16u);  // at 0, 1, ..., 15 s
}

TEST_F(SerialPortTest, OpeningShowsTheBannersAndCursor) {
    port.settings().portId = 3;
    ASSERT_TRUE(port.openWithRetries());
    EXPECT_EQ(shell.calls(), (std::vector<std::string>{"cursor:wait", "banner:Openning COM3...",
                                                       "cursor:normal", "banner:hide"}));
}

TEST_F(SerialPortTest, BluetoothRadioIsSwitchedOnForTheRunAndOffAtClose) {
    port.settings().options = SerialOptions::kActivateBluetooth;
    ASSERT_TRUE(port.openWithRetries());
    EXPECT_TRUE(shell.saw("banner:Openning Bluetooth..."));
    EXPECT_EQ(radio.changes, (std::vector<int>{1}));
    port.close();
    EXPECT_EQ(radio.changes, (std::vector<int>{1, 0}));
}

TEST_F(SerialPortTest, RadioThatWasOnStaysOn) {
    port.settings().options = SerialOptions::kActivateBluetooth;
    radio.current = platform::BluetoothRadio::kOn;
    ASSERT_TRUE(port.openWithRetries());
    port.close();
    EXPECT_TRUE(radio.changes.empty());
}

TEST_F(SerialPortTest, StartGivesUpAfterItsAttemptsAndSaysSo) {
    struct Case {
        const char* legend;
        SerialPort::Attempts attempts;
        int32_t options;
        size_t openings;
    };
    const Case cases[] = {
        {"three rounds of two tries", SerialPort::Attempts::Normal, 0, 6},
        {"a single round", SerialPort::Attempts::Single, 0, 2},
        {"Bluetooth: one long round", SerialPort::Attempts::Normal,
         SerialOptions::kActivateBluetooth, 14},  // from 2 s, after powering up, to 15 s
    };
    ports.failWith = SerialOpenError::AccessDenied;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        ports.openings.clear();
        radio.current = platform::BluetoothRadio::kOff;
        port.settings().options = c.options;
        EXPECT_FALSE(port.start(c.attempts));
        EXPECT_EQ(ports.openings.size(), c.openings);
        EXPECT_FALSE(port.readerRunning());
        EXPECT_EQ(port.errorText(), u"Serial Error:Access Denied!");
    }
    const std::vector<platform::Message> shown = boxes.shown();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].text, u"Unable to read GPS!");
    EXPECT_EQ(shown[0].title, u"Error!");
}

TEST_F(SerialPortTest, StartBeginsThePortLog) {
    const auto log = folder / "seriallog.txt";
    writeFile(log, "old chunks\n");
    port.settings().options = SerialOptions::kDeactivated;
    ASSERT_TRUE(port.start(SerialPort::Attempts::Single));
    port.close();
    EXPECT_EQ(readFile(log), "");

    port.settings() =
        SerialSettings{3, 1, 2, SerialOptions::kLogPort | SerialOptions::kDeactivated};
    ASSERT_TRUE(port.start(SerialPort::Attempts::Single));
    port.close();
    EXPECT_EQ(readFile(log), "$SERIALCONFIG,3,1,2*\n");
}

TEST_F(SerialPortTest, DeactivatedReaderDeliversTheMarkerAndHoldsTheTimes) {
    port.settings().options = SerialOptions::kDeactivated | SerialOptions::kAutoReconnect;
    times.lastFix = 1.0;
    times.lastSignal = 1.0;  // long ago: would alert at once if not held
    ASSERT_TRUE(port.start(SerialPort::Attempts::Normal));
    EXPECT_TRUE(port.readerRunning());
    EXPECT_TRUE(waitUntil([&] { return shell.notShown >= 2; }));
    port.close();
    EXPECT_FALSE(port.readerRunning());
    ASSERT_GE(chunks.size(), 2u);
    for (const std::string& chunk : chunks) EXPECT_EQ(chunk, "$NOPORT*18\n");
    EXPECT_EQ(shell.reconnects, 0);
    EXPECT_GT(times.lastSignal.load(), 1.0);
}

TEST_F(SerialPortTest, ApplyOnOffFollowsTheDeactivateSwitch) {
    port.settings().options = 0;
    EXPECT_TRUE(port.applyOnOff());
    EXPECT_TRUE(port.readerRunning()) << "switched on: a reader runs";
    port.settings().options = SerialOptions::kDeactivated;
    EXPECT_TRUE(port.applyOnOff());
    EXPECT_FALSE(port.readerRunning()) << "switched off: the reader stopped";

    ports.failWith = SerialOpenError::NotFound;
    port.settings().options = 0;
    EXPECT_FALSE(port.applyOnOff()) << "switched on but the port is missing";
}

TEST_F(SerialPortTest, CommandsWriteToTheOpenPortOnly) {
    EXPECT_EQ(port.write("$PSRF100,1,4800,8,1,0*0E\r\n"), -1);
    ASSERT_TRUE(port.openPort(SerialAccess::ReadWrite));
    port.lockPort();
    EXPECT_EQ(port.write("$PSRF100"), 8);
    port.unlockPort();
    EXPECT_EQ(ports.device.written, "$PSRF100");
}

}  // namespace
}  // namespace wendra::test
