// Battery and mains from /sys/class/power_supply: each supply is a folder with
// "type", and "capacity" or "energy_now"/"energy_full" (or "charge_") for batteries,
// "online" for mains, USB and wireless chargers.

#include "platform/PowerStatus.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <optional>
#include <string>
#include <system_error>

namespace wendra::platform {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMaxAttributeBytes = 64;

std::optional<std::string> readAttribute(const fs::path& supply, const char* name) {
    std::ifstream in(supply / name);
    if (!in) return std::nullopt;
    std::string value(kMaxAttributeBytes, '\0');
    in.read(value.data(), static_cast<std::streamsize>(value.size()));
    value.resize(static_cast<std::size_t>(in.gcount()));
    while (!value.empty() && (value.back() == '\n' || value.back() == ' ')) value.pop_back();
    return value;
}

std::optional<long long> readNumber(const fs::path& supply, const char* name) {
    const auto text = readAttribute(supply, name);
    if (!text || text->empty()) return std::nullopt;
    long long value = 0;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
    if (error != std::errc() || end != text->data() + text->size()) return std::nullopt;
    return value;
}

// A battery's charge in percent, from its capacity or its energy or charge pair.
std::optional<int> batteryPercent(const fs::path& supply) {
    if (auto capacity = readNumber(supply, "capacity"))
        return static_cast<int>(std::clamp<long long>(*capacity, 0, 100));
    for (const auto& [now, full] :
         {std::pair{"energy_now", "energy_full"}, std::pair{"charge_now", "charge_full"}}) {
        const auto level = readNumber(supply, now);
        const auto top = readNumber(supply, full);
        if (level && top && *top > 0)
            return static_cast<int>(std::clamp<long long>(*level * 100 / *top, 0, 100));
    }
    return std::nullopt;
}

}  // namespace

PowerStatus readPowerStatus(const fs::path& supplies) {
    PowerStatus status;
    int batteries = 0;
    int percentSum = 0;
    bool anyBattery = false;
    std::error_code error;
    for (fs::directory_iterator it(supplies, error), end; !error && it != end;
         it.increment(error)) {
        const fs::path supply = it->path();
        const std::string type = readAttribute(supply, "type").value_or("");
        if (type == "Battery") {
            if (readAttribute(supply, "scope").value_or("") == "Device") continue;
            anyBattery = true;
            if (auto percent = batteryPercent(supply)) {
                percentSum += *percent;
                ++batteries;
            }
            const std::string state = readAttribute(supply, "status").value_or("");
            if (state == "Charging") status.externalPower = true;
        } else if (readNumber(supply, "online").value_or(0) == 1) {
            status.externalPower = true;
        }
    }
    if (batteries > 0) status.batteryPercent = percentSum / batteries;
    if (!anyBattery) status.externalPower = true;
    return status;
}

int batteryGaugeValue(const PowerStatus& status) {
    const int percent = status.batteryPercent < 0 ? 100 : status.batteryPercent;
    return percent + (status.externalPower ? kExternalPowerGauge : 0);
}

}  // namespace wendra::platform
