#pragma once
// A serial line opened through termios: the rate, 8 data bits, no parity, one stop
// bit, raw bytes, no flow control, DTR and RTS raised. Reads wait with poll() for at
// most SerialDevice::kFirstByteWait and then take what is there without blocking.

#include <string>

#include "platform/SerialDevice.h"

namespace wendra::platform {

// Opens an existing device; the error tells whether it was missing, refused, or would
// not take the line settings.
SerialOpenResult openTermiosDevice(const std::string& path, int rate, SerialAccess access);

}  // namespace wendra::platform
