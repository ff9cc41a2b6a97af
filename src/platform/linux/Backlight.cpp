// The backlight through /sys/class/backlight/<device>/brightness (and bl_power,
// where present, for "off"). Writing needs the right to; a device that refuses is
// passed over.

#include "platform/Backlight.h"
#include "platform/linux/DisplayState.h"

#include <unistd.h>

#include <charconv>
#include <fstream>
#include <optional>
#include <string>
#include <system_error>

namespace wendra::platform {

namespace fs = std::filesystem;

namespace {

constexpr int kBlankPowerDown = 4;  // FB_BLANK_POWERDOWN
constexpr int kBlankUnblank = 0;

std::optional<int> readInt(const fs::path& file) {
    std::ifstream in(file);
    std::string text;
    if (!(in >> text)) return std::nullopt;
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

bool writeInt(const fs::path& file, int value) {
    std::ofstream out(file);
    out << value << '\n';
    out.flush();
    return static_cast<bool>(out);
}

class NoBacklight final : public Backlight {
public:
    bool available() const override { return false; }
    void set(BacklightState) override {}
    void release() override {}
};

class SysfsBacklight final : public Backlight {
public:
    SysfsBacklight(fs::path device, int maximum, int found)
        : device_(std::move(device)), maximum_(maximum), found_(found) {}

    bool available() const override { return true; }

    void set(BacklightState state) override {
        if (state == BacklightState::On) {
            writeInt(device_ / "brightness", found_ > 0 ? found_ : maximum_);
            if (poweredDown_) poweredDown_ = !writeInt(device_ / "bl_power", kBlankUnblank);
            return;
        }
        writeInt(device_ / "brightness", 0);
        if (state == BacklightState::Off && access((device_ / "bl_power").c_str(), W_OK) == 0)
            poweredDown_ = writeInt(device_ / "bl_power", kBlankPowerDown);
    }

    void release() override { set(BacklightState::On); }

private:
    fs::path device_;
    int maximum_;
    int found_;  // the level before the program touched it
    bool poweredDown_ = false;
};

}  // namespace

namespace {

struct FoundBacklight {
    fs::path device;
    int maximum = 0;
    int level = 0;
};

// The first backlight whose brightness the program may write: the one it drives and
// the one whose state it reads back.
std::optional<FoundBacklight> findWritableBacklight(const fs::path& devices) {
    std::error_code error;
    for (fs::directory_iterator it(devices, error), end; !error && it != end; it.increment(error)) {
        const fs::path device = it->path();
        const auto maximum = readInt(device / "max_brightness");
        const auto level = readInt(device / "brightness");
        if (!maximum || *maximum <= 0 || !level) continue;
        if (access((device / "brightness").c_str(), W_OK) != 0) continue;
        return FoundBacklight{device, *maximum, *level};
    }
    return std::nullopt;
}

}  // namespace

std::unique_ptr<Backlight> openBacklight(const fs::path& devices) {
    if (const std::optional<FoundBacklight> found = findWritableBacklight(devices))
        return std::make_unique<SysfsBacklight>(found->device, found->maximum, found->level);
    return std::make_unique<NoBacklight>();
}

std::optional<bool> readBacklightLit(const fs::path& devices) {
    const std::optional<FoundBacklight> found = findWritableBacklight(devices);
    if (!found) return std::nullopt;
    const auto power = readInt(found->device / "bl_power");
    return found->level > 0 && (!power || *power == kBlankUnblank);
}

}  // namespace wendra::platform
