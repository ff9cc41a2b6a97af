#include "platform/linux/GpsdDevice.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <string_view>

namespace wendra::platform {

namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

constexpr milliseconds kConnectWait{2000};
// "nmea" passes NMEA receivers through verbatim and turns binary ones into NMEA;
// "raw" would hand binary packets over as hex dumps.
constexpr std::string_view kWatchRequest = "?WATCH={\"enable\":true,\"nmea\":true}\n";
constexpr std::string_view kGreeting = "{\"class\":\"VERSION\"";

SerialOpenError connectError(int error) {
    switch (error) {
        case ECONNREFUSED:
        case ENETUNREACH:
        case EHOSTUNREACH:
        case ETIMEDOUT:
        case EADDRNOTAVAIL:
            return SerialOpenError::NotFound;
        case EACCES:
        case EPERM:
            return SerialOpenError::AccessDenied;
        default:
            return SerialOpenError::Other;
    }
}

// Waits in slices no longer than a read's, so the caller's time limit is kept.
int waitFor(int fd, short events, milliseconds limit) {
    const auto deadline = steady_clock::now() + limit;
    for (;;) {
        const auto left = std::chrono::duration_cast<milliseconds>(deadline - steady_clock::now());
        if (left.count() <= 0) return 0;
        pollfd p{fd, events, 0};
        const int ready =
            poll(&p, 1, static_cast<int>(std::min(left, SerialDevice::kFirstByteWait).count()));
        if (ready < 0 && errno != EINTR) return -1;
        if (ready > 0) return p.revents;
    }
}

// A connected socket, or -1 with the error.
int connectTo(const GpsdEndpoint& endpoint, milliseconds limit, SerialOpenError& error) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(endpoint.port);
    if (getaddrinfo(endpoint.host.c_str(), service.c_str(), &hints, &found) != 0 || !found) {
        error = SerialOpenError::NotFound;
        return -1;
    }
    error = SerialOpenError::NotFound;
    int fd = -1;
    for (addrinfo* a = found; a && fd < 0; a = a->ai_next) {
        fd = socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) continue;
        int result = connect(fd, a->ai_addr, a->ai_addrlen);
        if (result != 0 && errno == EINPROGRESS) {
            const int ready = waitFor(fd, POLLOUT, limit);
            int soError = ETIMEDOUT;
            socklen_t length = sizeof soError;
            if (ready > 0) getsockopt(fd, SOL_SOCKET, SO_ERROR, &soError, &length);
            errno = soError;
            result = soError == 0 ? 0 : -1;
        }
        if (result != 0) {
            error = connectError(errno);
            close(fd);
            fd = -1;
        }
    }
    freeaddrinfo(found);
    return fd;
}

bool sendAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n < 0 && errno == EAGAIN && waitFor(fd, POLLOUT, kConnectWait) > 0) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

class GpsdDevice final : public SerialDevice {
public:
    explicit GpsdDevice(int fd) : fd_(fd) {}
    ~GpsdDevice() override { close(fd_); }
    GpsdDevice(const GpsdDevice&) = delete;
    GpsdDevice& operator=(const GpsdDevice&) = delete;

    long read(char* into, std::size_t size) override {
        pollfd p{fd_, POLLIN, 0};
        const int ready = poll(&p, 1, static_cast<int>(kFirstByteWait.count()));
        if (ready < 0) return errno == EINTR ? 0 : -1;
        if (ready == 0) return 0;
        const ssize_t n = recv(fd_, into, size, MSG_DONTWAIT);
        if (n < 0) return errno == EAGAIN || errno == EINTR ? 0 : -1;
        if (n == 0) return -1;  // the service went away
        return static_cast<long>(keepSentences(into, static_cast<std::size_t>(n)));
    }

    long write(const char*, std::size_t) override { return -1; }

    void purge() override {}

private:
    // Drops the service's JSON lines (they start with "{") in place; the lines may be
    // split across reads, so whether we are inside one is carried over.
    std::size_t keepSentences(char* bytes, std::size_t size) {
        std::size_t kept = 0;
        for (std::size_t i = 0; i < size; ++i) {
            const char c = bytes[i];
            if (atLineStart_) skipping_ = c == '{';
            atLineStart_ = c == '\n';
            if (!skipping_) bytes[kept++] = c;
        }
        return kept;
    }

    int fd_;
    bool atLineStart_ = true;
    bool skipping_ = false;
};

}  // namespace

SerialOpenResult openGpsdDevice(const GpsdEndpoint& endpoint) {
    SerialOpenError error = SerialOpenError::None;
    const int fd = connectTo(endpoint, kConnectWait, error);
    if (fd < 0) return {nullptr, error};
    if (!sendAll(fd, kWatchRequest)) {
        close(fd);
        return {nullptr, SerialOpenError::Other};
    }
    return {std::make_unique<GpsdDevice>(fd), SerialOpenError::None};
}

bool gpsdAnswers(const GpsdEndpoint& endpoint, milliseconds wait) {
    const auto deadline = steady_clock::now() + wait;
    SerialOpenError error = SerialOpenError::None;
    const int fd = connectTo(endpoint, wait, error);
    if (fd < 0) return false;
    std::string greeting;
    while (greeting.size() < kGreeting.size()) {
        const auto left = std::chrono::duration_cast<milliseconds>(deadline - steady_clock::now());
        if (left.count() <= 0 || waitFor(fd, POLLIN, left) <= 0) break;
        char buffer[256];
        const ssize_t n = recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (n <= 0 && !(n < 0 && errno == EAGAIN)) break;
        if (n > 0) greeting.append(buffer, static_cast<size_t>(n));
    }
    close(fd);
    return greeting.compare(0, kGreeting.size(), kGreeting) == 0;
}

}  // namespace wendra::platform
