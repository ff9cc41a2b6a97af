#pragma once
// A GPS service (gpsd) read as if it were a serial line: the connection asks for the
// receiver's sentences as they come and the service's own JSON lines are dropped, so a
// reader sees NMEA text only. Writes are refused: the service takes no raw commands.

#include <chrono>

#include "platform/ComSlotTable.h"
#include "platform/SerialDevice.h"

namespace wendra::platform {

// Connects and asks for the raw sentences. A service that is not there is NotFound.
SerialOpenResult openGpsdDevice(const GpsdEndpoint& endpoint);

// True when a gpsd answers at the endpoint within `wait` (its greeting arrives).
bool gpsdAnswers(const GpsdEndpoint& endpoint, std::chrono::milliseconds wait);

}  // namespace wendra::platform
