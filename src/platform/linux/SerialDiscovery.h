#pragma once
// Finds the serial devices a receiver may be behind: the stable links in
// /dev/serial/by-id, then ttyUSB*, ttyACM* and rfcomm* not reached by such a link, then
// the ttyS* ports that answer. Names come from sysfs. The roots can be moved for tests.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/ComSlotTable.h"

namespace wendra::platform {

struct DiscoveryRoots {
    std::filesystem::path dev = "/dev";
    std::filesystem::path sys = "/sys";
    // Whether a ttyS port has a UART behind it (most machines list ports that do not).
    std::function<bool(const std::filesystem::path&)> answers;
};

// The devices present, in a stable order (by-id links first, then by name).
std::vector<SeenDevice> discoverSerialDevices(const DiscoveryRoots& roots);

// "product (ttyUSB0)" from the USB device above the tty, else "driver (ttyS0)", else
// the tty's own name.
std::string serialDeviceName(const std::filesystem::path& sysRoot, const std::string& tty);

// The default ttyS test: the port opens and reports a UART type.
bool uartAnswers(const std::filesystem::path& device);

}  // namespace wendra::platform
