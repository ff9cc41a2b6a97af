#pragma once
// The GPS reader thread: reads a chunk, hands it to the chunk sink (the fix hand-over),
// runs the no-fix and no-signal checks, and paces itself to at least ~110 ms a pass.
// A read waits at most 250 ms, so a stop request is seen within about that long.

#include <atomic>
#include <chrono>
#include <string_view>
#include <thread>

#include "gps/GpsShell.h"
#include "gps/SerialPort.h"
#include "gps/SignalWatch.h"

namespace wendra {

class GpsReader {
public:
    static constexpr std::chrono::milliseconds kMinPass{110};
    static constexpr std::chrono::milliseconds kQuickRead{100};  // quicker reads get a pause
    static constexpr std::chrono::milliseconds kStopWait{2000};
    static constexpr std::u16string_view kStartLabel = u".SerialOpen.1";

    GpsReader(SerialPort& port, ChunkSink sink, SignalWatch& watch, GpsShell& shell)
        : port_(port), sink_(std::move(sink)), watch_(watch), shell_(shell) {}
    ~GpsReader() { stop(); }
    GpsReader(const GpsReader&) = delete;
    GpsReader& operator=(const GpsReader&) = delete;

    // Creates the thread and waits, with the sync protocol, until it runs.
    void start();
    // Asks the thread to end and waits for it. One that takes longer than kStopWait is
    // noted in the trace log and still waited for: threads are never killed.
    void stop();
    bool running() const { return running_.load(std::memory_order_acquire); }

private:
    void run();
    void pass();

    SerialPort& port_;
    ChunkSink sink_;
    SignalWatch& watch_;
    GpsShell& shell_;
    bool deactivated_ = false;  // the switches as they were when the reader started
    bool autoReconnect_ = false;
    std::thread thread_;
    std::atomic<bool> running_{false};
    std::atomic<bool> stopRequest_{false};
};

}  // namespace wendra
