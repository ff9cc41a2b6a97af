// A real gpsd, started on a free port and fed by a pseudo-terminal, read through GPD0:
// the sentences come through verbatim, the service's own lines do not, and "Search"
// finds it.


#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>

#include "ReceiverPty.h"
#include "support/GpsdProcess.h"
#include "platform/linux/GpsdDevice.h"
#include "records/Text.h"
#include "simulator/NmeaSimulator.h"

namespace wendra::test {
namespace {

std::vector<std::string> completeLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::istringstream in(bytes);
    std::string line;
    while (std::getline(in, line)) {
        if (!in.eof()) lines.push_back(line);  // the last may be cut
    }
    return lines;
}

class GpsdTest : public ::testing::Test {
protected:
    void SetUp() override {
        binary = gpsdBinary();
        if (binary.empty()) GTEST_SKIP() << "no gpsd binary: scripts/setup.sh installs it";
        sim::SimulationOptions options;
        options.seconds = 60;
        log = sim::simulateLog(options);
        receiver = std::make_unique<ReceiverPty>(log, 10.0, true);
        ASSERT_TRUE(receiver->started);
        port = freePort();
        ASSERT_NE(port, 0);
        gpsd = std::make_unique<GpsdProcess>(binary, port, receiver->player.path());
        ASSERT_TRUE(gpsd->answers()) << "gpsd did not answer on " << port;
        receiver->ports.overrideGpsd(0, {"127.0.0.1", port});
    }

    std::string binary;
    std::string log;
    std::unique_ptr<ReceiverPty> receiver;
    int port = 0;
    std::unique_ptr<GpsdProcess> gpsd;
};

TEST_F(GpsdTest, ReadsTheReceiverThroughGpd0) {
    CollectedChunks chunks;
    SerialPort serial(receiver->parts(chunks));
    serial.settings() = SerialSettings{10, 0, 0, SerialOptions::kAutoReconnect};
    ASSERT_TRUE(serial.start(SerialPort::Attempts::Single)) << toUtf8(serial.errorText());
    const auto rmcCount = [](const std::string& bytes) {
        size_t n = 0;
        for (size_t at = 0; (at = bytes.find("$GPRMC,", at)) != std::string::npos; ++at) ++n;
        return n;
    };
    const bool enough = chunks.waitFor([&](const std::string& b) { return rmcCount(b) >= 5; },
                                       std::chrono::seconds(15));
    serial.close();
    ASSERT_TRUE(enough) << "received: " << chunks.bytes().substr(0, 400);

    std::set<std::string> logLines;
    for (const std::string& line : completeLines(log)) logLines.insert(line);
    for (const std::string& line : completeLines(chunks.bytes())) {
        EXPECT_NE(line.substr(0, 1), "{") << "the service's own lines are dropped";
        EXPECT_TRUE(logLines.count(line)) << "not from the receiver: " << line;
    }
}

TEST_F(GpsdTest, SearchFindsTheRunningGpsd) {
    for (int digit = 0; digit < 10; ++digit)
        receiver->ports.overrideGpsd(digit, {"127.0.0.1", freePort()});
    EXPECT_FALSE(receiver->ports.search()) << "nothing listens on those ports";
    receiver->ports.overrideGpsd(3, {"127.0.0.1", port});
    const std::optional<platform::PortSearchResult> found = receiver->ports.search();
    ASSERT_TRUE(found);
    EXPECT_EQ(found->portId, 13);
}

}  // namespace
}  // namespace wendra::test
