#include "platform/linux/CustomRate.h"

#include <asm/ioctls.h>
#include <asm/termbits.h>

// <sys/ioctl.h> would bring the libc termios types that clash with the kernel's.
extern "C" int ioctl(int fd, unsigned long request, ...);

namespace wendra::platform {

bool setCustomRate(int fd, int rate) {
    struct termios2 settings {};
    if (ioctl(fd, TCGETS2, &settings) != 0) return false;
    settings.c_cflag &= ~static_cast<tcflag_t>(CBAUD);
    settings.c_cflag |= BOTHER;
    settings.c_ispeed = static_cast<speed_t>(rate);
    settings.c_ospeed = static_cast<speed_t>(rate);
    return ioctl(fd, TCSETS2, &settings) == 0;
}

}  // namespace wendra::platform
