#pragma once
// Reads back whether the display shows anything, as the kernel's backlight tells
// it. Looks at the same device openBacklight() would pick (the first one whose
// brightness the program may write); it does not know about other screens.

#include <filesystem>
#include <optional>

namespace wendra::platform {

// True when that backlight is lit (brightness above 0 and, where the device has
// bl_power, not powered down); nullopt when no such backlight exists.
std::optional<bool> readBacklightLit(const std::filesystem::path& devices = "/sys/class/backlight");

}  // namespace wendra::platform
