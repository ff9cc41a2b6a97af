#pragma once
// The program's port names on Linux: COM slots from the slot table in the data folder
// (refreshed from the devices present, saved when it changes) and GPD ports as gpsd
// endpoints. Overrides last for the run and are not saved: the replay terminal on a
// COM slot, a gpsd on another port. Use from one thread.

#include <array>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/ComSlotTable.h"
#include "platform/SerialPorts.h"
#include "platform/linux/SerialDiscovery.h"

namespace wendra::platform {

class LinuxSerialPorts final : public SerialPorts {
public:
    static constexpr int kGpdBase = 10;  // port ids 10-19 are GPD0:-GPD9:

    // Loads the slot table kept in the folder (an empty folder path keeps none).
    explicit LinuxSerialPorts(std::filesystem::path dataFolder, DiscoveryRoots roots = {});

    SerialOpenResult open(std::string_view name, int rate, SerialAccess access) override;
    std::vector<PortDescription> describe() override;
    std::optional<PortSearchResult> search() override;

    // Looks at the devices present and gives new ones their slots.
    void refresh();

    void overrideSlot(int slot, std::string devicePath, std::string name);
    void overrideGpsd(int digit, GpsdEndpoint endpoint);

    const ComSlotTable& table() const { return table_; }

private:
    std::optional<SeenDevice> slotDevice(int slot) const;
    GpsdEndpoint gpsdEndpoint(int digit) const;

    std::filesystem::path file_;
    DiscoveryRoots roots_;
    ComSlotTable table_;
    std::array<std::optional<SeenDevice>, ComSlotTable::kSlots> slotOverrides_;
    std::array<std::optional<GpsdEndpoint>, ComSlotTable::kSlots> gpsdOverrides_;
};

// Reads "COM3:" as port id 3 and "GPD2:" as 12; nothing for any other name.
std::optional<int> portIdOfName(std::string_view name);

}  // namespace wendra::platform
