#pragma once
// The Bluetooth radio through the kernel's rfkill switch (/dev/rfkill): reading the
// soft and hard block of every Bluetooth device, and soft-blocking or unblocking them
// all. Not available when the switch is missing, refuses to open for writing, or
// knows no Bluetooth device. A hard block (a hardware switch) cannot be lifted.

#include <filesystem>

#include "platform/BluetoothRadio.h"

namespace wendra::platform {

class RfkillRadio final : public BluetoothRadio {
public:
    static constexpr const char* kDefaultPath = "/dev/rfkill";

    explicit RfkillRadio(std::filesystem::path path = kDefaultPath) : path_(std::move(path)) {}

    bool available() override;
    int mode() override;
    bool setMode(int mode) override;

private:
    std::filesystem::path path_;
};

}  // namespace wendra::platform
