// A real serial line, played by a pseudo-terminal: the settings the port takes, the
// bounded wait for the first byte, reading and writing, and why an open fails.

#include "platform/linux/TermiosDevice.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>

#include "support/TestPaths.h"
#include "support/WaitUntil.h"

namespace wendra::test {
namespace {

using platform::SerialAccess;
using platform::SerialOpenError;

// The far end of a pseudo-terminal, as the receiver would hold it.
class FarEnd {
public:
    FarEnd() {
        fd_ = posix_openpt(O_RDWR | O_NOCTTY);
        grantpt(fd_);
        unlockpt(fd_);
        path_ = ptsname(fd_);
    }
    ~FarEnd() {
        if (watch_ >= 0) close(watch_);
        close(fd_);
    }
    const std::string& path() const { return path_; }
    void send(const std::string& bytes) {
        ASSERT_EQ(write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    std::string receive() {
        std::string bytes;
        char buffer[256];
        pollfd p{fd_, POLLIN, 0};
        while (poll(&p, 1, 200) > 0) {
            const ssize_t n = read(fd_, buffer, sizeof buffer);
            if (n <= 0) break;
            bytes.append(buffer, static_cast<size_t>(n));
        }
        return bytes;
    }
    // Bytes sent that wait at the device's end, unread: the input queue is the
    // terminal's, so a second descriptor on it sees the device's.
    int unread() {
        if (watch_ < 0) watch_ = open(path_.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
        int count = 0;
        return ioctl(watch_, FIONREAD, &count) == 0 ? count : -1;
    }
    termios settings() const {
        termios t{};
        tcgetattr(fd_, &t);
        return t;
    }

private:
    int fd_ = -1;
    int watch_ = -1;
    std::string path_;
};

TEST(TermiosDevice, TakesRawEightBitLinesAtTheRate) {
    const std::pair<int, speed_t> cases[] = {{4800, B4800}, {115200, B115200}};
    for (const auto& [rate, constant] : cases) {
        FarEnd receiver;
        platform::SerialOpenResult opened =
            platform::openTermiosDevice(receiver.path(), rate, SerialAccess::Read);
        ASSERT_TRUE(opened.device) << rate;
        const termios t = receiver.settings();
        EXPECT_EQ(cfgetispeed(&t), constant) << rate;
        EXPECT_EQ(t.c_lflag & (ICANON | ECHO), 0u) << "raw bytes";
        EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
        EXPECT_EQ(t.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
        EXPECT_EQ(t.c_iflag & (IXON | IXOFF | ICRNL), 0u) << "no flow control, no CR mapping";
    }
}

TEST(TermiosDevice, RateWithoutATermiosNameIsSetAllTheSame) {
    FarEnd receiver;
    EXPECT_TRUE(platform::openTermiosDevice(receiver.path(), 14400, SerialAccess::Read).device);
    // The kernel's "other rate" code, which the classic interface can only report.
    constexpr tcflag_t kOtherRate = CBAUDEX;
    const termios t = receiver.settings();
    EXPECT_EQ(t.c_cflag & CBAUD, kOtherRate);
    EXPECT_EQ(t.c_lflag & ICANON, 0u) << "the line settings came first";
}

TEST(TermiosDevice, ReadWaitsAQuarterSecondAtMostThenTakesWhatIsThere) {
    FarEnd receiver;
    auto device =
        platform::openTermiosDevice(receiver.path(), 4800, SerialAccess::ReadWrite).device;
    ASSERT_TRUE(device);
    char buffer[64];
    const auto begin = std::chrono::steady_clock::now();
    EXPECT_EQ(device->read(buffer, sizeof buffer), 0);
    const auto waited = std::chrono::steady_clock::now() - begin;
    EXPECT_GE(waited, std::chrono::milliseconds(200));
    if (kTimesAreMeasurable) {
        EXPECT_LT(waited, std::chrono::milliseconds(450));
    }

    receiver.send("$GPGGA,1\r\n$GPRMC,2\r\n");
    ASSERT_TRUE(waitUntil([&] { return receiver.unread() == 20; })) << receiver.unread();
    EXPECT_EQ(device->read(buffer, 8), 8) << "no more than asked";
    EXPECT_EQ(std::string(buffer, 8), "$GPGGA,1");
    EXPECT_EQ(device->read(buffer, sizeof buffer), 12);
    EXPECT_EQ(std::string(buffer, 12), "\r\n$GPRMC,2\r\n") << "CR and LF as sent";

    EXPECT_EQ(device->write("$PSRF100\r\n", 10), 10);
    EXPECT_EQ(receiver.receive(), "$PSRF100\r\n");
}

TEST(TermiosDevice, FailuresSayWhy) {
    TempDir folder;
    writeFile(folder / "plain.txt", "not a terminal");
    struct Case {
        const char* legend;
        std::string path;
        int rate;
        SerialOpenError error;
    };
    const Case cases[] = {
        {"missing device", "/dev/no-such-tty", 4800, SerialOpenError::NotFound},
        {"missing folder", (folder / "none" / "tty").string(), 4800, SerialOpenError::NotFound},
        {"a plain file", (folder / "plain.txt").string(), 4800, SerialOpenError::GetState},
        {"no rate", "/dev/ptmx", 0, SerialOpenError::SetState},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(platform::openTermiosDevice(c.path, c.rate, SerialAccess::Read).error, c.error)
            << c.legend;
    }
}

}  // namespace
}  // namespace wendra::test
