// The Bluetooth radio through an rfkill switch, here a file of the kernel's events:
// what counts as available, on and off, and the change-all event written to switch.

#include "platform/linux/RfkillRadio.h"

#include <linux/rfkill.h>

#include <gtest/gtest.h>

#include <cstring>

#include "support/TestPaths.h"

namespace wendra::test {
namespace {

using platform::BluetoothRadio;

std::string event(uint8_t type, uint8_t soft, uint8_t hard, uint32_t idx = 0) {
    rfkill_event e{};
    e.idx = idx;
    e.type = type;
    e.op = RFKILL_OP_ADD;
    e.soft = soft;
    e.hard = hard;
    std::string bytes(RFKILL_EVENT_SIZE_V1, '\0');
    std::memcpy(bytes.data(), &e, bytes.size());
    return bytes;
}

TEST(RfkillRadio, ReportsWhatTheSwitchSays) {
    struct Case {
        const char* legend;
        std::string events;
        bool available;
        int mode;
    };
    const Case cases[] = {
        {"a radio on", event(RFKILL_TYPE_BLUETOOTH, 0, 0), true, BluetoothRadio::kOn},
        {"soft-blocked", event(RFKILL_TYPE_BLUETOOTH, 1, 0), true, BluetoothRadio::kOff},
        {"hard-blocked", event(RFKILL_TYPE_BLUETOOTH, 0, 1), true, BluetoothRadio::kOff},
        {"one of two on",
         event(RFKILL_TYPE_BLUETOOTH, 1, 0, 1) + event(RFKILL_TYPE_BLUETOOTH, 0, 0, 2), true,
         BluetoothRadio::kOn},
        {"only wireless LAN", event(RFKILL_TYPE_WLAN, 0, 0), false, BluetoothRadio::kUnknown},
        {"no devices", "", false, BluetoothRadio::kUnknown},
        {"an event cut short", event(RFKILL_TYPE_BLUETOOTH, 0, 0).substr(0, 5), false,
         BluetoothRadio::kUnknown},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        TempDir folder;
        writeFile(folder / "rfkill", c.events);
        platform::RfkillRadio radio(folder / "rfkill");
        EXPECT_EQ(radio.available(), c.available);
        EXPECT_EQ(radio.mode(), c.mode);
    }
}

TEST(RfkillRadio, SwitchingWritesOneChangeForAllBluetoothRadios) {
    TempDir folder;
    const std::string report = event(RFKILL_TYPE_BLUETOOTH, 1, 0);
    writeFile(folder / "rfkill", report);
    platform::RfkillRadio radio(folder / "rfkill");
    ASSERT_TRUE(radio.setMode(BluetoothRadio::kOn));
    const std::string written = readFile(folder / "rfkill").substr(report.size());
    ASSERT_EQ(written.size(), static_cast<size_t>(RFKILL_EVENT_SIZE_V1));
    rfkill_event change{};
    std::memcpy(&change, written.data(), written.size());
    EXPECT_EQ(change.type, RFKILL_TYPE_BLUETOOTH);
    EXPECT_EQ(change.op, RFKILL_OP_CHANGE_ALL);
    EXPECT_EQ(change.soft, 0);
    EXPECT_FALSE(radio.setMode(7)) << "only on and off";
}

TEST(RfkillRadio, MissingSwitchIsNotAvailable) {
    platform::RfkillRadio radio("/nonexistent/rfkill");
    EXPECT_FALSE(radio.available());
    EXPECT_EQ(radio.mode(), BluetoothRadio::kUnknown);
    EXPECT_FALSE(radio.setMode(BluetoothRadio::kOn));
}

}  // namespace
}  // namespace wendra::test
