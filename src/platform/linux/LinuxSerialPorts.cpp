#include "platform/linux/LinuxSerialPorts.h"

#include <chrono>

#include "platform/linux/GpsdDevice.h"
#include "platform/linux/TermiosDevice.h"

namespace wendra::platform {

namespace {

constexpr std::chrono::milliseconds kSearchWait{500};
constexpr long long kSecondsPerDay = 86400;

long long today() {
    using namespace std::chrono;
    return duration_cast<seconds>(system_clock::now().time_since_epoch()).count() / kSecondsPerDay;
}

}  // namespace

std::optional<int> portIdOfName(std::string_view name) {
    if (name.size() != 5 || name[4] != ':' || name[3] < '0' || name[3] > '9') return std::nullopt;
    const int digit = name[3] - '0';
    if (name.substr(0, 3) == "COM") return digit;
    if (name.substr(0, 3) == "GPD") return LinuxSerialPorts::kGpdBase + digit;
    return std::nullopt;
}

LinuxSerialPorts::LinuxSerialPorts(std::filesystem::path dataFolder, DiscoveryRoots roots)
    : roots_(std::move(roots)) {
    if (!dataFolder.empty()) {
        file_ = dataFolder / ComSlotTable::kFileName;
        table_.load(file_);
    }
}

void LinuxSerialPorts::refresh() {
    if (table_.update(discoverSerialDevices(roots_), today()) && !file_.empty()) table_.save(file_);
}

SerialOpenResult LinuxSerialPorts::open(std::string_view name, int rate, SerialAccess access) {
    const std::optional<int> id = portIdOfName(name);
    if (!id) return {nullptr, SerialOpenError::NotFound};
    if (*id >= kGpdBase) return openGpsdDevice(gpsdEndpoint(*id - kGpdBase));
    std::optional<SeenDevice> device = slotDevice(*id);
    if (!device) {
        // A device plugged in since the last look gets its slot now.
        refresh();
        device = slotDevice(*id);
    }
    if (!device) return {nullptr, SerialOpenError::NotFound};
    return openTermiosDevice(device->path, rate, access);
}

std::vector<PortDescription> LinuxSerialPorts::describe() {
    refresh();
    std::vector<PortDescription> list;
    for (int n = 0; n < ComSlotTable::kSlots; ++n) {
        if (const std::optional<SeenDevice> device = slotDevice(n))
            list.push_back({n, device->name});
    }
    for (int digit = 0; digit < ComSlotTable::kSlots; ++digit) {
        const GpsdEndpoint e = gpsdEndpoint(digit);
        list.push_back({kGpdBase + digit, "gpsd " + e.host + ":" + std::to_string(e.port)});
    }
    return list;
}

std::optional<PortSearchResult> LinuxSerialPorts::search() {
    for (int digit = 0; digit < ComSlotTable::kSlots; ++digit) {
        if (gpsdAnswers(gpsdEndpoint(digit), kSearchWait))
            return PortSearchResult{kGpdBase + digit, 0};
    }
    return std::nullopt;
}

void LinuxSerialPorts::overrideSlot(int slot, std::string devicePath, std::string name) {
    if (slot < 0 || slot >= ComSlotTable::kSlots) return;
    slotOverrides_[static_cast<size_t>(slot)] = SeenDevice{std::move(devicePath), std::move(name)};
}

void LinuxSerialPorts::overrideGpsd(int digit, GpsdEndpoint endpoint) {
    if (digit < 0 || digit >= ComSlotTable::kSlots) return;
    gpsdOverrides_[static_cast<size_t>(digit)] = std::move(endpoint);
}

std::optional<SeenDevice> LinuxSerialPorts::slotDevice(int slot) const {
    if (slot < 0 || slot >= ComSlotTable::kSlots) return std::nullopt;
    if (const auto& o = slotOverrides_[static_cast<size_t>(slot)]) return o;
    if (const ComSlotTable::Slot* s = table_.slot(slot)) return SeenDevice{s->path, s->name};
    return std::nullopt;
}

GpsdEndpoint LinuxSerialPorts::gpsdEndpoint(int digit) const {
    if (const auto& o = gpsdOverrides_[static_cast<size_t>(digit)]) return *o;
    return table_.gpsd(digit);
}

}  // namespace wendra::platform
