#include "platform/linux/PseudoTerminal.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace wendra::platform {

PseudoTerminal::~PseudoTerminal() {
    if (master_ >= 0) close(master_);
}

bool PseudoTerminal::open(std::string& error) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
        error = std::string("no pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    char name[128];
    if (ptsname_r(master_, name, sizeof name) != 0) {
        error = std::string("no pseudo-terminal name: ") + std::strerror(errno);
        return false;
    }
    path_ = name;
    // Opened and closed once, the other end reports a hang-up until a reader opens
    // it: that is how reader() tells whether anyone is there.
    const int other = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (other < 0) {
        error = "cannot open " + path_ + ": " + std::strerror(errno);
        return false;
    }
    close(other);
    return true;
}

PseudoTerminal::Reader PseudoTerminal::reader() const {
    pollfd p{master_, POLLOUT, 0};
    if (poll(&p, 1, 0) < 0 || (p.revents & POLLHUP)) return Reader::None;
    termios settings{};
    if (tcgetattr(master_, &settings) != 0) return Reader::Opened;
    return (settings.c_lflag & ICANON) ? Reader::Opened : Reader::Configured;
}

void PseudoTerminal::forgetReader() {
    termios settings{};
    if (tcgetattr(master_, &settings) != 0) return;
    settings.c_lflag |= ICANON;
    tcsetattr(master_, TCSANOW, &settings);
}

long PseudoTerminal::write(const char* bytes, std::size_t size, std::chrono::milliseconds wait) {
    pollfd p{master_, POLLOUT, 0};
    if (poll(&p, 1, static_cast<int>(wait.count())) <= 0 || !(p.revents & POLLOUT)) return 0;
    const ssize_t n = ::write(master_, bytes, size);
    if (n < 0) return errno == EAGAIN || errno == EINTR ? 0 : -1;
    return static_cast<long>(n);
}

void PseudoTerminal::drain() {
    char buffer[1024];
    for (int i = 0; i < 64 && ::read(master_, buffer, sizeof buffer) > 0; ++i) {
    }
}

}  // namespace wendra::platform
