#pragma once
// What the program's port names mean on this machine: each serial device seen keeps the
// COM slot (0-9) it first got, across runs, and each GPD port names where a GPS service
// listens. Kept as "ComSlots.txt" in the data folder; loading takes any bytes and drops
// the lines that do not read back. Knows nothing of the devices themselves.

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wendra::platform {

// A serial device present now: the path that reaches it and the name to show.
struct SeenDevice {
    std::string path;
    std::string name;
};

struct GpsdEndpoint {
    std::string host;
    int port = 0;

    bool operator==(const GpsdEndpoint&) const = default;
};

class ComSlotTable {
public:
    static constexpr int kSlots = 10;
    static constexpr std::string_view kFileName = "ComSlots.txt";
    // GPDn listens on 127.0.0.1 at kGpsdPort + n unless the file says otherwise.
    static constexpr int kGpsdPort = 2947;

    struct Slot {
        std::string path;
        std::string name;
        long long lastSeenDay = 0;  // days since 1970, to pick a slot to reuse
    };

    ComSlotTable();

    // Replaces the table with the file's; false (and the defaults) when it is missing.
    bool load(const std::filesystem::path& file);
    // Written beside the file and renamed over it; false when that failed.
    bool save(const std::filesystem::path& file) const;
    std::string text() const;
    void parse(std::string_view text);

    // Gives every present device a slot: the one it had; else the lowest free one; else
    // the slot of the absent device seen longest ago. A device whose path cannot be
    // stored, or that finds every slot taken by present devices, gets none.
    // True when the table changed (and should be saved).
    bool update(const std::vector<SeenDevice>& present, long long today);

    // The slot's device, or null when the slot is free.
    const Slot* slot(int n) const;
    std::optional<int> slotOf(std::string_view path) const;

    const GpsdEndpoint& gpsd(int digit) const;
    void setGpsd(int digit, GpsdEndpoint endpoint);

private:
    std::optional<int> slotToReuse(const std::vector<SeenDevice>& present) const;

    std::array<std::optional<Slot>, kSlots> slots_;
    std::array<GpsdEndpoint, kSlots> gpsd_;
};

}  // namespace wendra::platform
