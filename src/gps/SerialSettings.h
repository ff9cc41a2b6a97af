#pragma once
// The receiver port's settings, saved as the Serial6 record: which port, the rate it
// is read at, the rate the receiver is set to, and the option bits. Loading clamps the
// receiver rate into the table, drops the transient bit, and keeps the default for a
// port id or reading rate index that names no port or rate; the options stay as read.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace wendra {

struct SerialOptions {
    static constexpr int32_t kLogPort = 0x0001;      // "Log port": chunks go to seriallog.txt
    static constexpr int32_t kDeactivated = 0x0002;  // "Deactivate the GPS"
    static constexpr int32_t kTransient = 0x0004;    // never meaningful on load
    // The question about the other satellite systems' positions has been answered.
    static constexpr int32_t kAllSystemsAsked = 0x0010;
    // The question about a receiver announcing another rate has been answered.
    static constexpr int32_t kRateAsked = 0x0020;
    static constexpr int32_t kVerifyCommands = 0x0040;
    static constexpr int32_t kActivateBluetooth = 0x0080;  // "Activate Bluetooth"
    static constexpr int32_t kAutoReconnect = 0x1000;      // "Automatic reconnection"
    static constexpr int32_t kDefault = kDeactivated | kAutoReconnect;
};

// Port rates, with 0 closing the table.
inline constexpr std::array<int32_t, 8> kSerialRates = {4800,  9600,  14400,  19200,
                                                        38400, 57600, 115200, 0};
constexpr int32_t kMaxReceiverRateIndex = 6;
// COM0:-COM9: and GPD0:-GPD9:.
constexpr int32_t kPortIds = 20;

struct SerialSettings {
    int32_t portId = 0;             // 0-9 COM0:-COM9:, 10-19 GPD0:-GPD9:
    int32_t readingRateIndex = 0;   // the rate the port is opened at for reading
    int32_t receiverRateIndex = 0;  // the rate the receiver itself is set to
    int32_t options = SerialOptions::kDefault;

    bool has(int32_t bits) const { return (options & bits) == bits; }
    // The rates of the two indices; 0 for an index outside the table.
    int32_t readingRate() const { return rateAt(readingRateIndex); }
    int32_t receiverRate() const { return rateAt(receiverRateIndex); }
    // The user chose another receiver rate: the rate question may be asked again.
    void changeReceiverRate(int32_t index);

    // "Serial6|port|reading|receiver|options|\n".
    std::string record() const;
    // Takes a Serial6 line; false (and nothing changed) for any other line.
    bool load(std::string_view line);

    static int32_t rateAt(int32_t index);
    // The index of the rate in the table, -1 when it is not there.
    static int32_t rateIndex(int32_t rate);
};

}  // namespace wendra
