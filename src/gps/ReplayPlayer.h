#pragma once
// Plays a receiver log into a terminal at its recorded pace, for the demo and the
// tests: the program opens the terminal as a serial port (COM slot 9). Play begins when
// a reader has opened the terminal and set it up, pauses while nobody has it open (the
// log's clock stops too), and starts over at the end of the log unless told to stop.

#include <atomic>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "gps/ReplayPacer.h"
#include "platform/ReplayTerminal.h"

namespace wendra {

class ReplaySource {
public:
    virtual ~ReplaySource() = default;
    // The next line with its newline (the last one may lack it); nothing at the end.
    virtual std::optional<std::string> nextLine() = 0;
    virtual void rewind() = 0;
};

// A log held in memory, cut at its newlines.
class TextReplay final : public ReplaySource {
public:
    explicit TextReplay(std::string text) : text_(std::move(text)) {}
    std::optional<std::string> nextLine() override;
    void rewind() override { at_ = 0; }

private:
    std::string text_;
    std::size_t at_ = 0;
};

class ReplayPlayer {
public:
    // Slower than this a walk would take years to play; faster, the pacing is gone.
    static constexpr double kMinSpeed = 0.01;
    static constexpr double kMaxSpeed = 10000.0;
    // The refusal of a speed outside the range, for the command lines.
    static constexpr const char* kSpeedRange = "from 0.01 to 10000";
    static bool speedAllowed(double speed) { return speed >= kMinSpeed && speed <= kMaxSpeed; }

    struct Options {
        double speed = 1.0;  // kMinSpeed to kMaxSpeed
        bool loop = true;    // else the terminal stays open, silent, after the log
    };

    // The terminal is the machine's, handed in by the program's main.
    ReplayPlayer(std::unique_ptr<platform::ReplayTerminal> terminal,
                 std::unique_ptr<ReplaySource> source, Options options);
    ~ReplayPlayer();
    ReplayPlayer(const ReplayPlayer&) = delete;
    ReplayPlayer& operator=(const ReplayPlayer&) = delete;

    // Opens the terminal and starts playing in a thread of its own.
    bool start(std::string& error);
    void stop();
    // The terminal to open ("/dev/pts/N"), once started.
    const std::string& path() const { return terminal_->path(); }

    std::size_t bytesPlayed() const { return bytesPlayed_.load(); }
    int passesDone() const { return passesDone_.load(); }

private:
    struct Play;
    void run();
    bool readerReady(Play& play);
    bool fetch(Play& play);
    void deliver(Play& play);

    std::unique_ptr<ReplaySource> source_;
    Options options_;
    ReplayPacer pacer_;
    std::unique_ptr<platform::ReplayTerminal> terminal_;
    std::thread thread_;
    std::atomic<bool> stopRequest_{false};
    std::atomic<std::size_t> bytesPlayed_{0};
    std::atomic<int> passesDone_{0};
};

}  // namespace wendra
