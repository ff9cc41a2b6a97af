#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Backlight.h"
#include "support/TestPaths.h"

namespace wendra::test {
namespace {

using platform::BacklightState;

std::string trimmed(const std::filesystem::path& file) {
    std::string text = readFile(file);
    while (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
}

TEST(Backlight, TurnsOffAndBackToTheLevelItFound) {
    TempDir root;
    const auto device = root / "intel_backlight";
    std::filesystem::create_directories(device);
    writeFile(device / "max_brightness", "1000\n");
    writeFile(device / "brightness", "420\n");
    writeFile(device / "bl_power", "0\n");

    auto backlight = platform::openBacklight(root.path());
    ASSERT_TRUE(backlight->available());
    backlight->set(BacklightState::Standby);
    EXPECT_EQ(trimmed(device / "brightness"), "0");
    EXPECT_EQ(trimmed(device / "bl_power"), "0") << "stand-by only dims";
    backlight->set(BacklightState::Off);
    EXPECT_EQ(trimmed(device / "bl_power"), "4");
    backlight->set(BacklightState::On);
    EXPECT_EQ(trimmed(device / "brightness"), "420");
    EXPECT_EQ(trimmed(device / "bl_power"), "0");
    backlight->set(BacklightState::Off);
    backlight->release();
    EXPECT_EQ(trimmed(device / "brightness"), "420");
}

TEST(Backlight, FoundDarkComesBackAtFullLevel) {
    TempDir root;
    const auto device = root / "panel";
    std::filesystem::create_directories(device);
    writeFile(device / "max_brightness", "255\n");
    writeFile(device / "brightness", "0\n");
    auto backlight = platform::openBacklight(root.path());
    backlight->set(BacklightState::On);
    EXPECT_EQ(trimmed(device / "brightness"), "255");
}

TEST(Backlight, NothingUsableMeansNotAvailable) {
    TempDir root;
    std::filesystem::create_directories(root / "broken");
    writeFile(root / "broken" / "max_brightness", "lots\n");
    writeFile(root / "broken" / "brightness", "3\n");
    auto backlight = platform::openBacklight(root.path());
    EXPECT_FALSE(backlight->available());
    backlight->set(BacklightState::Off);  // does nothing, and does not fail
    EXPECT_EQ(trimmed(root / "broken" / "brightness"), "3");
    EXPECT_FALSE(platform::openBacklight("/nonexistent/backlight")->available());
}

}  // namespace
}  // namespace wendra::test
