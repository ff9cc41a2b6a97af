#pragma once
// The battery and external power as the information line's gauge shows them, read
// from the kernel's power-supply folder. Peripheral batteries (a mouse, a headset)
// do not count; a machine with no battery at all is taken to run on mains.

#include <filesystem>

namespace wendra::platform {

struct PowerStatus {
    int batteryPercent = -1;  // 0-100, -1 when no battery says
    bool externalPower = false;

    bool operator==(const PowerStatus&) const = default;
};

inline constexpr int kExternalPowerGauge = 256;

PowerStatus readPowerStatus(const std::filesystem::path& supplies = "/sys/class/power_supply");

// The gauge's value: the percentage (100 when unknown), plus 256 on external power.
int batteryGaugeValue(const PowerStatus& status);

}  // namespace wendra::platform
