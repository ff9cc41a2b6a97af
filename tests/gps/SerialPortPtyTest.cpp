// The real serial port and reader thread on a pseudo-terminal playing real receiver
// logs: every byte arrives, in order, at the slow and the fast rate, and a stop does
// not wait for a receiver that says nothing.

#include <gtest/gtest.h>

#include <atomic>

#include "ReceiverPty.h"
#include "platform/linux/PseudoTerminal.h"
#include "records/Text.h"
#include "support/WaitUntil.h"

namespace wendra::test {
namespace {

struct PtyCase {
    const char* legend;
    const char* log;
    int rateIndex;
    double speed;
};

class SerialPortOnPty : public ::testing::TestWithParam<PtyCase> {};

TEST_P(SerialPortOnPty, DeliversEveryByteOfTheLog) {
    const PtyCase& c = GetParam();
    const std::string log = readFile(sharedData() / "nmea" / c.log);
    ReceiverPty receiver(log, c.speed);
    ASSERT_TRUE(receiver.started);
    CollectedChunks chunks;
    SerialPort port(receiver.parts(chunks));
    port.settings() =
        SerialSettings{ReceiverPty::kSlot, c.rateIndex, c.rateIndex, SerialOptions::kAutoReconnect};
    ASSERT_TRUE(port.start(SerialPort::Attempts::Single)) << toUtf8(port.errorText());
    const bool complete =
        chunks.waitFor([&](const std::string& bytes) { return bytes.size() >= log.size(); },
                       std::chrono::seconds(15));
    port.close();
    EXPECT_TRUE(complete) << chunks.bytes().size() << " of " << log.size() << " bytes";
    EXPECT_TRUE(chunks.bytes() == log) << "the bytes differ from the log";
    EXPECT_GT(chunks.count(), log.size() / SerialPort::kMaxChunk) << "read in chunks";
    EXPECT_EQ(receiver.shell.reconnects, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Rates, SerialPortOnPty,
    ::testing::Values(PtyCase{"4800 baud, a Garmin handheld", "foretrex-201.log", 0, 20.0},
                      PtyCase{"115200 baud, a u-blox module", "ublox-lea-5h.log", 6, 20.0},
                      PtyCase{"14400 baud, a rate termios has no name for", "garmin48.log", 2,
                              20.0}),
    [](const auto& info) {
        return std::string(info.param.rateIndex == 0   ? "At4800"
                           : info.param.rateIndex == 6 ? "At115200"
                                                       : "At14400");
    });

// Counts the reads the port begins: each asks the time first. Its sleeps cost nothing.
class ReadCountingTicker final : public platform::Ticker {
public:
    Time now() const override {
        ++reads;
        return Time(std::chrono::seconds(1000));
    }
    void sleep(std::chrono::milliseconds) override {}
    mutable std::atomic<int> reads{0};
};

TEST(SerialPortOnPty, StopsWithinAQuarterSecondWhileTheReceiverIsSilent) {
    std::string error;
    platform::PseudoTerminal silent;
    ASSERT_TRUE(silent.open(error)) << error;
    platform::LinuxSerialPorts ports("");
    ports.overrideSlot(9, silent.path(), "silent");
    TempDir folder;
    FakeRadio radio;
    FakeShell shell;
    FakeTimes times;
    ReadCountingTicker ticker;
    CollectedChunks chunks;
    SerialPort port({ports, radio, shell, folder.path(), [&](std::string_view c) { chunks.add(c); },
                     times.times(), &ticker});
    port.settings() = SerialSettings{9, 0, 0, 0};
    ASSERT_TRUE(port.start(SerialPort::Attempts::Single)) << toUtf8(port.errorText());
    // One silent read over and the next under way: the reader waits in a read.
    const int before = ticker.reads;
    ASSERT_TRUE(waitUntil([&] { return ticker.reads >= before + 2; }));
    const auto begin = std::chrono::steady_clock::now();
    port.close();
    const auto took = std::chrono::steady_clock::now() - begin;
    EXPECT_FALSE(port.readerRunning());
    if (kTimesAreMeasurable) {
        EXPECT_LT(took, std::chrono::milliseconds(400));
    }
    EXPECT_EQ(chunks.count(), 0u);
}

TEST(SerialPortOnPty, MissingDeviceIsNotFound) {
    platform::LinuxSerialPorts ports("");
    ports.overrideSlot(9, "/dev/no-such-receiver", "gone");
    TempDir folder;
    FakeRadio radio;
    FakeShell shell;
    FakeTimes times;
    FakeTicker ticker;
    SerialPort port({ports, radio, shell, folder.path(), nullptr, times.times(), &ticker});
    port.settings() = SerialSettings{9, 0, 0, 0};
    EXPECT_FALSE(port.openPort(platform::SerialAccess::Read));
    EXPECT_EQ(port.errorText(), u"Serial Error: Port Not found!");
}

}  // namespace
}  // namespace wendra::test
