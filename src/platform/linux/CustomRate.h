#pragma once
// Rates that termios has no constant for (14400 baud), set through the kernel's
// termios2 interface. Kept apart because its header clashes with <termios.h>.

namespace wendra::platform {

// Sets both directions of the open terminal to `rate`; false when refused.
bool setCustomRate(int fd, int rate);

}  // namespace wendra::platform
