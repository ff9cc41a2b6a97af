#include "platform/linux/RfkillRadio.h"

#include <fcntl.h>
#include <linux/rfkill.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace wendra::platform {

namespace {

// The switch reports every device once when opened, an event each; later kernels send
// longer events, of which the first RFKILL_EVENT_SIZE_V1 bytes keep their meaning.
constexpr size_t kEventBytes = RFKILL_EVENT_SIZE_V1;
constexpr int kMaxEvents = 256;  // more devices than any machine has; ends a bad stream

struct Radios {
    int bluetooth = 0;  // Bluetooth devices seen
    int on = 0;         // of those, neither soft- nor hard-blocked
};

Radios readRadios(int fd) {
    Radios radios;
    for (int i = 0; i < kMaxEvents; ++i) {
        rfkill_event event{};
        const ssize_t n = read(fd, &event, sizeof event);
        if (n < static_cast<ssize_t>(kEventBytes)) break;  // no more (EAGAIN) or end of file
        if (event.type != RFKILL_TYPE_BLUETOOTH || event.op != RFKILL_OP_ADD) continue;
        ++radios.bluetooth;
        if (!event.soft && !event.hard) ++radios.on;
    }
    return radios;
}

class Switch {
public:
    Switch(const std::filesystem::path& path, int flags)
        : fd_(::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC)) {}
    ~Switch() {
        if (fd_ >= 0) ::close(fd_);
    }
    Switch(const Switch&) = delete;
    Switch& operator=(const Switch&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

}  // namespace

bool RfkillRadio::available() {
    const Switch rfkill(path_, O_RDWR);
    return rfkill.fd() >= 0 && readRadios(rfkill.fd()).bluetooth > 0;
}

int RfkillRadio::mode() {
    const Switch rfkill(path_, O_RDONLY);
    if (rfkill.fd() < 0) return kUnknown;
    const Radios radios = readRadios(rfkill.fd());
    if (radios.bluetooth == 0) return kUnknown;
    return radios.on > 0 ? kOn : kOff;
}

bool RfkillRadio::setMode(int mode) {
    if (mode != kOn && mode != kOff) return false;
    const Switch rfkill(path_, O_RDWR);
    if (rfkill.fd() < 0) return false;
    readRadios(rfkill.fd());  // the opening report; the change goes after it
    rfkill_event change{};
    change.type = RFKILL_TYPE_BLUETOOTH;
    change.op = RFKILL_OP_CHANGE_ALL;
    change.soft = mode == kOn ? 0 : 1;
    return write(rfkill.fd(), &change, kEventBytes) == static_cast<ssize_t>(kEventBytes);
}

}  // namespace wendra::platform
