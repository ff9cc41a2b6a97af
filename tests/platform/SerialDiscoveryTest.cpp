// Finding serial devices in a made-up /dev and /sys: stable by-id links first, plain
// USB and Bluetooth ttys not reached by one, ttyS ports only when they answer; names
// from the USB device above the tty. And the COM slots they get, kept in the data folder.

#include "platform/linux/SerialDiscovery.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/linux/LinuxSerialPorts.h"
#include "support/TestPaths.h"

namespace wendra::test {
namespace {

namespace fs = std::filesystem;

// dev/ and sys/ under a scratch folder, filled the way Linux fills them.
class FakeMachine {
public:
    FakeMachine() {
        fs::create_directories(dev() / "serial" / "by-id");
        fs::create_directories(sys() / "class" / "tty");
    }
    fs::path dev() const { return folder_ / "dev"; }
    fs::path sys() const { return folder_ / "sys"; }

    void tty(const std::string& name) { writeFile(dev() / name, ""); }
    void byId(const std::string& link, const std::string& tty) {
        fs::create_symlink("../../" + tty, dev() / "serial" / "by-id" / link);
    }
    // A USB device with a product (and maker) whose interface holds the tty.
    void usbTty(const std::string& tty, const std::string& maker, const std::string& product) {
        const fs::path device = sys() / "devices" / ("usb-" + tty);
        const fs::path interface = device / "1-1:1.0";
        fs::create_directories(interface / tty);
        writeFile(device / "product", product + "\n");
        if (!maker.empty()) writeFile(device / "manufacturer", maker + "\n");
        fs::create_directories(sys() / "class" / "tty" / tty);
        fs::create_directory_symlink(interface, sys() / "class" / "tty" / tty / "device");
    }
    void driverTty(const std::string& tty, const std::string& driver) {
        const fs::path device = sys() / "devices" / "platform" / tty;
        fs::create_directories(device);
        fs::create_directories(sys() / "bus" / driver);
        fs::create_directory_symlink(sys() / "bus" / driver, device / "driver");
        fs::create_directories(sys() / "class" / "tty" / tty);
        fs::create_directory_symlink(device, sys() / "class" / "tty" / tty / "device");
    }
    platform::DiscoveryRoots roots() const {
        return {dev(), sys(), [](const fs::path& p) { return p.filename() == "ttyS1"; }};
    }

private:
    TempDir folder_;
};

TEST(SerialDiscovery, FindsTheReceiversAndNamesThem) {
    FakeMachine machine;
    for (const char* t : {"ttyUSB0", "ttyACM0", "rfcomm0", "ttyS0", "ttyS1", "tty1", "null"})
        machine.tty(t);
    machine.byId("usb-u-blox_AG_GNSS_receiver-if00", "ttyACM0");
    machine.usbTty("ttyACM0", "u-blox AG - www.u-blox.com", "u-blox 7 - GPS/GNSS Receiver");
    machine.usbTty("ttyUSB0", "Prolific Technology Inc.", "USB-Serial Controller");
    machine.driverTty("ttyS1", "serial8250");

    const std::vector<platform::SeenDevice> found = discoverSerialDevices(machine.roots());
    const std::string dev = machine.dev().string();
    const std::vector<std::pair<std::string, std::string>> expected = {
        {dev + "/serial/by-id/usb-u-blox_AG_GNSS_receiver-if00",
         "u-blox AG - www.u-blox.com u-blox 7 - GPS/GNSS Receiver (ttyACM0)"},
        {dev + "/rfcomm0", "Bluetooth (rfcomm0)"},
        {dev + "/ttyUSB0", "Prolific Technology Inc. USB-Serial Controller (ttyUSB0)"},
        {dev + "/ttyS1", "serial8250 (ttyS1)"},
    };
    ASSERT_EQ(found.size(), expected.size());
    for (size_t i = 0; i < found.size(); ++i) {
        EXPECT_EQ(found[i].path, expected[i].first);
        EXPECT_EQ(found[i].name, expected[i].second);
    }
}

TEST(SerialDiscovery, ProductThatNamesItsMakerIsNotRepeated) {
    FakeMachine machine;
    machine.usbTty("ttyUSB3", "FTDI", "FTDI FT232R USB UART");
    EXPECT_EQ(platform::serialDeviceName(machine.sys(), "ttyUSB3"),
              "FTDI FT232R USB UART (ttyUSB3)");
    EXPECT_EQ(platform::serialDeviceName(machine.sys(), "ttyUSB9"), "ttyUSB9") << "no sysfs entry";
}

TEST(LinuxSerialPorts, SlotsAreGivenOnceAndKeptInTheDataFolder) {
    FakeMachine machine;
    TempDir data;
    machine.tty("ttyUSB0");
    machine.tty("ttyACM0");
    {
        platform::LinuxSerialPorts ports(data.path(), machine.roots());
        const std::vector<platform::PortDescription> list = ports.describe();
        ASSERT_GE(list.size(), 2u);
        EXPECT_EQ(list[0].portId, 0);
        EXPECT_EQ(list[0].text, "ttyACM0");
        EXPECT_EQ(list[1].portId, 1);
        EXPECT_EQ(list[1].text, "ttyUSB0");
        EXPECT_EQ(list[2].portId, 10);
        EXPECT_EQ(list[2].text, "gpsd 127.0.0.1:2947");
    }
    ASSERT_TRUE(fs::exists(data / "ComSlots.txt"));
    fs::remove(machine.dev() / "ttyACM0");
    machine.tty("ttyUSB1");
    platform::LinuxSerialPorts again(data.path(), machine.roots());
    again.refresh();
    EXPECT_EQ(again.table().slotOf((machine.dev() / "ttyUSB0").string()), 1);
    EXPECT_EQ(again.table().slotOf((machine.dev() / "ttyUSB1").string()), 2);
    EXPECT_EQ(again.table().slotOf((machine.dev() / "ttyACM0").string()), 0) << "kept while away";
}

TEST(LinuxSerialPorts, OpeningAnEmptySlotOrAnUnknownNameIsNotFound) {
    FakeMachine machine;
    platform::LinuxSerialPorts ports("", machine.roots());
    for (const char* name : {"COM4:", "COM4", "LPT1:", "COM10:", ""}) {
        const platform::SerialOpenResult r = ports.open(name, 4800, platform::SerialAccess::Read);
        EXPECT_EQ(r.error, platform::SerialOpenError::NotFound) << name;
    }
}

TEST(LinuxSerialPorts, PortNamesReadAsPortIds) {
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"COM0:", 0},
        {"COM9:", 9},
        {"GPD0:", 10},
        {"GPD7:", 17},
        {"COM1", std::nullopt},
        {"COMX:", std::nullopt},
        {"com1:", std::nullopt},
    };
    for (const auto& [name, id] : cases) EXPECT_EQ(platform::portIdOfName(name), id) << name;
}

}  // namespace
}  // namespace wendra::test
