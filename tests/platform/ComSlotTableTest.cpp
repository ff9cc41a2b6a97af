// The COM slot table: a device keeps its slot across runs and absences, new devices
// take free slots, a full table reuses the slot of the device seen longest ago, and
// the file survives any bytes.

#include "platform/ComSlotTable.h"

#include <gtest/gtest.h>

#include "support/TestPaths.h"

namespace wendra::test {
namespace {

using platform::ComSlotTable;
using platform::GpsdEndpoint;
using platform::SeenDevice;

const SeenDevice kUblox{"/dev/serial/by-id/usb-u-blox_AG_GNSS-if00", "u-blox GNSS (ttyACM0)"};
const SeenDevice kProlific{"/dev/serial/by-id/usb-Prolific-if00-port0", "USB-Serial (ttyUSB0)"};
const SeenDevice kRfcomm{"/dev/rfcomm0", "Bluetooth (rfcomm0)"};

std::optional<int> slotIn(const ComSlotTable& table, const SeenDevice& device) {
    return table.slotOf(device.path);
}

TEST(ComSlotTable, DevicesKeepTheirSlotsAcrossRunsAndAbsences) {
    TempDir folder;
    const auto file = folder / "ComSlots.txt";
    {
        ComSlotTable first;
        EXPECT_TRUE(first.update({kUblox, kProlific}, 100));
        EXPECT_TRUE(first.save(file));
    }
    ComSlotTable second;
    ASSERT_TRUE(second.load(file));
    EXPECT_EQ(slotIn(second, kUblox), 0);
    EXPECT_EQ(slotIn(second, kProlific), 1);
    // The u-blox is unplugged; a Bluetooth receiver appears: it must not take slot 0.
    second.update({kProlific, kRfcomm}, 101);
    EXPECT_EQ(slotIn(second, kRfcomm), 2);
    ASSERT_TRUE(second.save(file));

    ComSlotTable third;
    ASSERT_TRUE(third.load(file));
    EXPECT_TRUE(third.update({kUblox}, 101)) << "back after a day away";
    EXPECT_EQ(slotIn(third, kUblox), 0);
    EXPECT_FALSE(third.update({kUblox, kRfcomm}, 101)) << "nothing new on the same day";
    EXPECT_EQ(third.slot(0)->name, "u-blox GNSS (ttyACM0)");
}

TEST(ComSlotTable, FullTableReusesTheSlotOfTheDeviceSeenLongestAgo) {
    ComSlotTable table;
    std::vector<SeenDevice> devices;
    for (int n = 0; n < ComSlotTable::kSlots; ++n) {
        const SeenDevice d{"/dev/ttyUSB" + std::to_string(n), "adapter"};
        table.update({d}, 200 + (n == 4 ? -100 : n));  // ttyUSB4 was seen longest ago
        devices.push_back(d);
    }
    const SeenDevice newcomer{"/dev/ttyACM7", "new"};
    table.update({newcomer}, 300);
    EXPECT_EQ(slotIn(table, newcomer), 4);
    EXPECT_FALSE(slotIn(table, devices[4]));

    // With every slot held by a device present now, a newcomer gets none.
    std::vector<SeenDevice> present(devices.begin(), devices.end());
    present[4] = newcomer;
    present.push_back({"/dev/ttyACM8", "one too many"});
    table.update(present, 301);
    EXPECT_FALSE(table.slotOf("/dev/ttyACM8"));
}

TEST(ComSlotTable, PathsThatCannotBeStoredGetNoSlotAndNamesAreCleaned) {
    ComSlotTable table;
    table.update({{"/dev/odd|name", "x"}, {"relative/path", "y"}, {"/dev/ttyUSB0", "a|b\tc"}}, 1);
    EXPECT_FALSE(table.slotOf("/dev/odd|name"));
    EXPECT_FALSE(table.slotOf("relative/path"));
    ASSERT_EQ(table.slotOf("/dev/ttyUSB0"), 0);
    EXPECT_EQ(table.slot(0)->name, "a b c");
}

TEST(ComSlotTable, GpdPortsDefaultToLocalGpsdAndCanBeMoved) {
    ComSlotTable table;
    EXPECT_EQ(table.gpsd(0), (GpsdEndpoint{"127.0.0.1", 2947}));
    EXPECT_EQ(table.gpsd(9), (GpsdEndpoint{"127.0.0.1", 2956}));
    table.setGpsd(1, {"boat.local", 2947});
    ComSlotTable copy;
    copy.parse(table.text());
    EXPECT_EQ(copy.gpsd(1), (GpsdEndpoint{"boat.local", 2947}));
    EXPECT_EQ(copy.text(), table.text());
}

TEST(ComSlotTable, LinesThatDoNotReadBackAreDropped) {
    struct Case {
        const char* legend;
        const char* line;
    };
    const Case cases[] = {
        {"slot out of range", "ComSlot|10|/dev/ttyUSB0|x|1|\n"},
        {"negative slot", "ComSlot|-1|/dev/ttyUSB0|x|1|\n"},
        {"slot not a number", "ComSlot|one|/dev/ttyUSB0|x|1|\n"},
        {"missing last bar", "ComSlot|1|/dev/ttyUSB0|x|1\n"},
        {"a field too few", "ComSlot|1|/dev/ttyUSB0|1|\n"},
        {"relative path", "ComSlot|1|ttyUSB0|x|1|\n"},
        {"day not a number", "ComSlot|1|/dev/ttyUSB0|x|yesterday|\n"},
        {"port zero", "GpsdPort|0|127.0.0.1|0|\n"},
        {"port too large", "GpsdPort|0|127.0.0.1|70000|\n"},
        {"empty host", "GpsdPort|0||2947|\n"},
        {"unknown kind", "Serial6|0|0|0|4098|\n"},
        {"binary garbage", "\xff\xfe|\x01|\n"},
    };
    const std::string defaults = ComSlotTable().text();
    for (const Case& c : cases) {
        ComSlotTable table;
        table.parse(c.line);
        EXPECT_EQ(table.text(), defaults) << c.legend;
    }
}

TEST(ComSlotTable, FirstLineForASlotOrDeviceWins) {
    ComSlotTable table;
    table.parse(
        "ComSlot|1|/dev/ttyUSB0|first|5|\r\n"
        "ComSlot|1|/dev/ttyUSB1|same slot|5|\n"
        "ComSlot|2|/dev/ttyUSB0|same device|5|\n");
    EXPECT_EQ(table.slotOf("/dev/ttyUSB0"), 1);
    EXPECT_EQ(table.slot(1)->name, "first");
    EXPECT_FALSE(table.slotOf("/dev/ttyUSB1"));
    EXPECT_EQ(table.slot(2), nullptr);
}

TEST(ComSlotTable, MissingFileGivesTheDefaults) {
    TempDir folder;
    ComSlotTable table;
    table.update({kUblox}, 1);
    EXPECT_FALSE(table.load(folder / "none.txt"));
    EXPECT_EQ(table.slot(0), nullptr);
}

}  // namespace
}  // namespace wendra::test
