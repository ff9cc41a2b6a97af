#pragma once
// The display's backlight, as far as this machine lets the program change it: on,
// stand-by and off (the handheld's D0, D3 and D4). release() hands it back at the
// level the program found. Where nothing is writable every call does nothing.

#include <filesystem>
#include <memory>

namespace wendra::platform {

enum class BacklightState { On, Standby, Off };

class Backlight {
public:
    virtual ~Backlight() = default;
    // False when the program cannot change the backlight (the program then blanks
    // its own window instead).
    virtual bool available() const = 0;
    virtual void set(BacklightState state) = 0;
    virtual void release() = 0;
};

// The first backlight under the folder whose brightness the program may write.
std::unique_ptr<Backlight> openBacklight(
    const std::filesystem::path& devices = "/sys/class/backlight");

}  // namespace wendra::platform
