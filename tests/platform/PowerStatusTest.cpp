#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/PowerStatus.h"
#include "support/TestPaths.h"

namespace wendra::test {
namespace {

using platform::PowerStatus;

// One supply folder: its attribute files and their contents.
using Supply = std::map<std::string, std::string>;

void makeSupplies(const TempDir& root, const std::map<std::string, Supply>& supplies) {
    for (const auto& [name, attributes] : supplies) {
        std::filesystem::create_directories(root / name);
        for (const auto& [attribute, value] : attributes) writeFile(root / name / attribute, value);
    }
}

TEST(PowerStatus, ReadsBatteriesAndMainsAsTheGaugeShowsThem) {
    struct Case {
        const char* legend;
        std::map<std::string, Supply> supplies;
        PowerStatus expected;
        int gauge;
    };
    const std::vector<Case> cases = {
        {"laptop on battery",
         {{"BAT0", {{"type", "Battery\n"}, {"capacity", "57\n"}, {"status", "Discharging\n"}}},
          {"AC", {{"type", "Mains\n"}, {"online", "0\n"}}}},
         {57, false},
         57},
        {"laptop charging from the mains",
         {{"BAT0", {{"type", "Battery\n"}, {"capacity", "80\n"}, {"status", "Charging\n"}}},
          {"AC", {{"type", "Mains\n"}, {"online", "1\n"}}}},
         {80, true},
         336},
        {"USB power counts as external",
         {{"battery", {{"type", "Battery\n"}, {"capacity", "12\n"}}},
          {"usb", {{"type", "USB\n"}, {"online", "1\n"}}}},
         {12, true},
         268},
        {"energy pair when there is no capacity",
         {{"BAT1",
           {{"type", "Battery\n"}, {"energy_now", "30000000\n"}, {"energy_full", "40000000\n"}}}},
         {75, false},
         75},
        {"charge pair when there is no energy",
         {{"BAT1", {{"type", "Battery\n"}, {"charge_now", "1000\n"}, {"charge_full", "4000\n"}}}},
         {25, false},
         25},
        {"two batteries are averaged",
         {{"BAT0", {{"type", "Battery\n"}, {"capacity", "100\n"}}},
          {"BAT1", {{"type", "Battery\n"}, {"capacity", "50\n"}}}},
         {75, false},
         75},
        {"a mouse battery does not count; no battery means mains",
         {{"hidpp_battery_0", {{"type", "Battery\n"}, {"scope", "Device\n"}, {"capacity", "5\n"}}}},
         {-1, true},
         356},
        {"no supplies at all: a desktop on mains", {}, {-1, true}, 356},
        {"out-of-range and garbage values",
         {{"BAT0", {{"type", "Battery\n"}, {"capacity", "250\n"}}},
          {"AC", {{"type", "Mains\n"}, {"online", "yes\n"}}}},
         {100, false},
         100},
        {"a battery that gives no level",
         {{"BAT0", {{"type", "Battery\n"}, {"energy_full", "0\n"}, {"energy_now", "5\n"}}}},
         {-1, false},
         100},
    };
    for (const Case& c : cases) {
        TempDir root;
        makeSupplies(root, c.supplies);
        const PowerStatus status = platform::readPowerStatus(root.path());
        EXPECT_EQ(status, c.expected) << c.legend;
        EXPECT_EQ(platform::batteryGaugeValue(status), c.gauge) << c.legend;
    }
}

TEST(PowerStatus, AMissingFolderIsADesktopOnMains) {
    const PowerStatus status = platform::readPowerStatus("/nonexistent/power_supply");
    EXPECT_TRUE(status.externalPower);
    EXPECT_EQ(status.batteryPercent, -1);
}

}  // namespace
}  // namespace wendra::test
