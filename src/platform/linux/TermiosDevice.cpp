#include "platform/linux/TermiosDevice.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "platform/linux/CustomRate.h"

namespace wendra::platform {

namespace {

// Write time-outs of the serial line: a constant plus a time per byte at the rate.
constexpr long kWriteConstantMs = 100;
constexpr long kBitsPerByteTimesMs = 10000;  // 10 bits a byte, in ms per byte at `rate`

struct RateConstant {
    int rate;
    speed_t constant;
};

constexpr RateConstant kRates[] = {
    {1200, B1200},     {2400, B2400},     {4800, B4800},     {9600, B9600},
    {19200, B19200},   {38400, B38400},   {57600, B57600},   {115200, B115200},
    {230400, B230400}, {460800, B460800}, {921600, B921600},
};

bool rateConstant(int rate, speed_t& constant) {
    for (const RateConstant& r : kRates) {
        if (r.rate == rate) {
            constant = r.constant;
            return true;
        }
    }
    return false;
}

SerialOpenError openError(int error) {
    switch (error) {
        case ENOENT:
        case ENODEV:
        case ENXIO:
        case ENOTDIR:
            return SerialOpenError::NotFound;
        case EACCES:
        case EPERM:
        case EBUSY:
        case EROFS:
            return SerialOpenError::AccessDenied;
        default:
            return SerialOpenError::Other;
    }
}

class TermiosDevice final : public SerialDevice {
public:
    TermiosDevice(int fd, int rate) : fd_(fd), rate_(rate) {}
    ~TermiosDevice() override {
        tcflush(fd_, TCIOFLUSH);
        close(fd_);
    }
    TermiosDevice(const TermiosDevice&) = delete;
    TermiosDevice& operator=(const TermiosDevice&) = delete;

    long read(char* into, std::size_t size) override {
        pollfd p{fd_, POLLIN, 0};
        const int ready = poll(&p, 1, static_cast<int>(kFirstByteWait.count()));
        if (ready < 0) return errno == EINTR ? 0 : -1;
        if (ready == 0) return 0;
        if (!(p.revents & POLLIN)) return -1;  // hung up or failed: nothing to read
        const ssize_t n = ::read(fd_, into, size);
        if (n < 0) return errno == EAGAIN || errno == EINTR ? 0 : -1;
        return static_cast<long>(n);
    }

    long write(const char* from, std::size_t size) override {
        using namespace std::chrono;
        const long perByte = kBitsPerByteTimesMs / rate_ + 1;
        const auto deadline = steady_clock::now() +
                              milliseconds(kWriteConstantMs + perByte * static_cast<long>(size));
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n = ::write(fd_, from + done, size - done);
            if (n > 0) {
                done += static_cast<std::size_t>(n);
                continue;
            }
            if (n < 0 && errno != EAGAIN && errno != EINTR) return -1;
            const auto left = duration_cast<milliseconds>(deadline - steady_clock::now());
            if (left.count() <= 0) break;
            pollfd p{fd_, POLLOUT, 0};
            if (poll(&p, 1, static_cast<int>(left.count())) < 0 && errno != EINTR) return -1;
        }
        return static_cast<long>(done);
    }

    void purge() override { tcflush(fd_, TCIOFLUSH); }

private:
    int fd_;
    int rate_;
};

bool setRate(int fd, termios& settings, int rate) {
    speed_t constant;
    if (rateConstant(rate, constant)) {
        return cfsetispeed(&settings, constant) == 0 && cfsetospeed(&settings, constant) == 0 &&
               tcsetattr(fd, TCSANOW, &settings) == 0;
    }
    // Raw line settings first, then the rate the constants cannot name.
    return tcsetattr(fd, TCSANOW, &settings) == 0 && setCustomRate(fd, rate);
}

void raiseModemLines(int fd) {
    // Terminals without modem lines (pseudo-terminals) refuse; nothing is lost then.
    int lines = TIOCM_DTR | TIOCM_RTS;
    ioctl(fd, TIOCMBIS, &lines);
}

}  // namespace

SerialOpenResult openTermiosDevice(const std::string& path, int rate, SerialAccess access) {
    if (rate <= 0) return {nullptr, SerialOpenError::SetState};
    const int mode = access == SerialAccess::Read ? O_RDONLY : O_RDWR;
    const int fd = open(path.c_str(), mode | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return {nullptr, openError(errno)};
    // The driver's queue size cannot be chosen here; the kernel's buffer is larger than
    // a chunk at any rate. What waits from before is not this session's data.
    tcflush(fd, TCIOFLUSH);
    termios settings{};
    if (tcgetattr(fd, &settings) != 0) {
        close(fd);
        return {nullptr, SerialOpenError::GetState};
    }
    cfmakeraw(&settings);
    settings.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    settings.c_cflag |= CS8 | CLOCAL | CREAD;
    settings.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    if (!setRate(fd, settings, rate)) {
        close(fd);
        return {nullptr, SerialOpenError::SetState};
    }
    raiseModemLines(fd);
    return {std::make_unique<TermiosDevice>(fd, rate), SerialOpenError::None};
}

}  // namespace wendra::platform
