#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/ScreenPower.h"
#include "platform/linux/DisplayState.h"
#include "support/TestPaths.h"

namespace wendra::test {
namespace {

namespace fs = std::filesystem;

void makeDevice(const fs::path& device, const std::string& maximum, const std::string& level,
                const std::optional<std::string>& power = std::nullopt) {
    fs::create_directories(device);
    writeFile(device / "max_brightness", maximum + "\n");
    writeFile(device / "brightness", level + "\n");
    if (power) writeFile(device / "bl_power", *power + "\n");
}

TEST(BacklightLit, ReadsTheDeviceTheProgramWouldDrive) {
    struct Row {
        const char* legend;
        const char* maximum;
        const char* level;
        std::optional<std::string> power;
        std::optional<bool> lit;
    };
    const Row rows[] = {
        {"lit", "100", "40", std::nullopt, true},
        {"brightness 0 is dark", "100", "0", std::nullopt, false},
        {"powered down is dark at any brightness", "100", "40", "4", false},
        {"unblanked and bright", "100", "40", "0", true},
        {"no maximum: not a usable device", "0", "40", std::nullopt, std::nullopt},
        {"garbage instead of a number", "100", "4x", std::nullopt, std::nullopt},
    };
    for (const Row& row : rows) {
        TempDir folder;
        makeDevice(folder / "panel", row.maximum, row.level, row.power);
        EXPECT_EQ(platform::readBacklightLit(folder.path()), row.lit) << row.legend;
    }
    EXPECT_EQ(platform::readBacklightLit("/nonexistent/backlight"), std::nullopt);
}

class QuietTicker final : public platform::Ticker {
public:
    Time now() const override { return now_; }
    void sleep(std::chrono::milliseconds duration) override { now_ += duration; }

private:
    Time now_{std::chrono::hours(1)};
};

TEST(ScreenPowerSysfs, TurnsARealBacklightOffAndReadsItBack) {
    TempDir folder;
    makeDevice(folder / "panel", "255", "180", "0");
    const auto backlight = platform::openBacklight(folder.path());
    ASSERT_TRUE(backlight->available());

    GlobalSettings settings;  // "Turn off the screen completely" by default
    QuietTicker ticker;
    ScreenPowerHooks hooks{[] {}, [](auto) {}, [](auto) {}, [] {}, [] {}, [] {}, [] {}};
    ScreenPower screen(settings, *backlight, ticker, hooks,
                       [&] { return platform::readBacklightLit(folder.path()); });

    screen.turnOff();
    EXPECT_FALSE(screen.displayOn());
    EXPECT_EQ(readFile(folder / "panel/bl_power"), "4\n");
    ticker.sleep(ScreenPower::kMinInterval);
    screen.turnOn();
    EXPECT_TRUE(screen.displayOn());
    EXPECT_EQ(readFile(folder / "panel/brightness"), "180\n") << "the level found is restored";
}

}  // namespace
}  // namespace wendra::test
