#pragma once
// The receiver connection: the port and rates chosen (the Serial6 settings), opening
// with retries and the Bluetooth radio, chunk reads sized to the rate, and the reader
// thread that feeds the fix hand-over. The window thread opens, closes and sends
// commands; the reader thread reads; the port lock keeps commands and reads apart.

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "gps/GpsShell.h"
#include "gps/SerialSettings.h"
#include "gps/SignalWatch.h"
#include "platform/BluetoothRadio.h"
#include "platform/SerialPorts.h"
#include "platform/Sync.h"
#include "platform/Ticker.h"

namespace wendra {

class GpsReader;

// Where the reader hands each chunk: the fix hand-over. Called on the reader thread.
using ChunkSink = std::function<void(std::string_view chunk)>;

class SerialPort {
public:
    static constexpr std::size_t kBufferBytes = 4097;
    static constexpr int kMaxChunk = 4000;
    static constexpr int kGpdBase = 10;  // port ids 10-19 are GPD0:-GPD9:
    static constexpr std::string_view kNoPortMarker = "$NOPORT*18\n";
    static constexpr std::string_view kPortLogName = "seriallog.txt";

    enum class Attempts { Normal, Single };

    struct Parts {
        platform::SerialPorts& ports;
        platform::BluetoothRadio& radio;
        GpsShell& shell;
        std::filesystem::path programFolder;  // where the port log goes
        ChunkSink chunkSink;
        SignalTimes times;
        platform::Ticker* ticker = nullptr;  // the system's when null
    };

    explicit SerialPort(Parts parts);
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    SerialSettings& settings() { return settings_; }
    const SerialSettings& settings() const { return settings_; }

    // Starts the GPS: port log, close, open (with retries unless Single) and the reader.
    // Failing shows "Unable to read GPS!".
    bool start(Attempts attempts);
    // Stops the reader and closes the port.
    void close();
    // Opens or closes to match "Deactivate the GPS"; true when a reader runs or the GPS
    // is meant to be off.
    bool applyOnOff();

    // Opens for reading, retrying for a second (fifteen with "Activate Bluetooth").
    bool openWithRetries();
    // Opens at the reading rate, or the receiver rate for commands; with the GPS
    // deactivated succeeds without a port. On failure errorText() says why.
    bool openPort(platform::SerialAccess access);
    void closePort();
    // Reader thread: the next chunk, empty when nothing came, the no-port marker when
    // no port is open. Valid until the next call.
    std::string_view readChunk();

    bool readerRunning() const;
    std::u16string errorText() const { return errorText_; }
    bool bluetoothAvailable() { return radio_.available(); }

    // Receiver commands hold the port lock around their exchanges with the port.
    void lockPort();
    void unlockPort();
    // Writes to the open port; -1 when none is open or the write failed.
    long write(std::string_view bytes);

    // "COM3:" for 3, "GPD2:" for 12.
    static std::string portName(int portId);
    static int baseChunk(int rate);
    // The bytes to ask for: the base chunk, or what the rate brings in the time since
    // the previous read, plus a margin; never above kMaxChunk.
    static int chunkSize(int rate, std::optional<long long> msSinceLastRead);

private:
    void releaseDevice();
    void startPortLog();
    void powerBluetooth();

    SerialSettings settings_;
    platform::SerialPorts& ports_;
    platform::BluetoothRadio& radio_;
    GpsShell& shell_;
    std::filesystem::path programFolder_;
    platform::Ticker& ticker_;
    SignalWatch watch_;
    std::unique_ptr<GpsReader> reader_;

    std::unique_ptr<platform::SerialDevice> device_;
    int rate_ = 0;       // the line's rate
    int chunkRate_ = 0;  // the rate chunks are sized for
    int baseChunk_ = 0;
    std::optional<platform::Ticker::Time> lastRead_;
    std::array<char, kBufferBytes> receive_{};
    std::u16string errorText_;
    int savedBluetoothMode_ = platform::BluetoothRadio::kUnknown;
    bool radioSwitchedOn_ = false;
    platform::LockWord lock_;
};

}  // namespace wendra
