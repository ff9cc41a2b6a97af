#pragma once
// A receiver for system tests: a log played into a pseudo-terminal that COM9 reaches,
// and the real serial port and reader thread collecting every chunk they read.

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <string>
#include <thread>

#include "GpsFakes.h"
#include "gps/ReplayPlayer.h"
#include "gps/SerialPort.h"
#include "platform/linux/LinuxSerialPorts.h"
#include "platform/linux/PseudoTerminal.h"
#include "support/TestPaths.h"
#include "support/WaitUntil.h"

namespace wendra::test {

class CollectedChunks {
public:
    void add(std::string_view chunk) {
        std::lock_guard lock(mutex_);
        bytes_.append(chunk);
        ++count_;
    }
    std::string bytes() const {
        std::lock_guard lock(mutex_);
        return bytes_;
    }
    size_t count() const {
        std::lock_guard lock(mutex_);
        return count_;
    }
    // Waits until `done(bytes)` or the time is up; true when done.
    template <typename Done>
    bool waitFor(Done done, std::chrono::seconds limit) const {
        return waitUntil([&] { return done(bytes()); }, limit);
    }

private:
    mutable std::mutex mutex_;
    std::string bytes_;
    size_t count_ = 0;
};

struct ReceiverPty {
    static constexpr int kSlot = 9;

    ReceiverPty(std::string log, double speed, bool loop = false)
        : player(std::make_unique<platform::PseudoTerminal>(),
                 std::make_unique<TextReplay>(std::move(log)), ReplayPlayer::Options{speed, loop}) {
        std::string error;
        started = player.start(error);
        EXPECT_TRUE(started) << error;
        ports.overrideSlot(kSlot, player.path(), "replay");
    }

    // The port on COM9 at the rate, reading into `chunks`.
    SerialPort::Parts parts(CollectedChunks& chunks) {
        return SerialPort::Parts{ports,
                                 radio,
                                 shell,
                                 folder.path(),
                                 [&chunks](std::string_view c) { chunks.add(c); },
                                 times.times()};
    }

    TempDir folder;
    ReplayPlayer player;
    bool started = false;
    platform::LinuxSerialPorts ports{""};
    FakeRadio radio;
    FakeShell shell;
    FakeTimes times;
};

}  // namespace wendra::test
