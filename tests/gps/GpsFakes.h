#pragma once
// Stand-ins for what the GPS connection uses of the machine and the window: ports that
// answer from a script, a radio, a ticker whose sleeps only move its own time, and a
// shell that records what it was asked. Safe to use from the reader thread.

#include <algorithm>
#include <atomic>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "gps/GpsShell.h"
#include "gps/SerialPort.h"
#include "platform/BluetoothRadio.h"
#include "platform/SerialPorts.h"
#include "platform/Ticker.h"

namespace wendra::test {

class FakeTicker final : public platform::Ticker {
public:
    Time now() const override { return Time(std::chrono::milliseconds(ms.load())); }
    void sleep(std::chrono::milliseconds duration) override { ms += duration.count(); }
    std::atomic<long long> ms{1000000};
};

// Hands out the chunks of `script` one per read, then nothing; records the sizes asked.
class FakeDevice final : public platform::SerialDevice {
public:
    struct Shared {
        std::mutex mutex;
        std::deque<long> counts;  // what each read returns; -1 fails, others fill with 'x'
        std::vector<std::size_t> asked;
        std::string written;
    };
    explicit FakeDevice(Shared& shared) : shared_(shared) {}
    long read(char* into, std::size_t size) override {
        std::lock_guard lock(shared_.mutex);
        shared_.asked.push_back(size);
        if (shared_.counts.empty()) return 0;
        const long count = shared_.counts.front();
        shared_.counts.pop_front();
        for (long i = 0; i < count && static_cast<std::size_t>(i) < size; ++i) into[i] = 'x';
        return count;
    }
    long write(const char* from, std::size_t size) override {
        std::lock_guard lock(shared_.mutex);
        shared_.written.append(from, size);
        return static_cast<long>(size);
    }
    void purge() override {}

private:
    Shared& shared_;
};

class FakePorts final : public platform::SerialPorts {
public:
    struct Opening {
        std::string name;
        int rate;
        platform::SerialAccess access;
    };
    platform::SerialOpenResult open(std::string_view name, int rate,
                                    platform::SerialAccess access) override {
        openings.push_back({std::string(name), rate, access});
        if (failWith != platform::SerialOpenError::None) return {nullptr, failWith};
        return {std::make_unique<FakeDevice>(device), platform::SerialOpenError::None};
    }
    std::vector<platform::PortDescription> describe() override { return described; }
    std::optional<platform::PortSearchResult> search() override { return found; }

    platform::SerialOpenError failWith = platform::SerialOpenError::None;
    std::vector<Opening> openings;
    std::vector<platform::PortDescription> described;
    std::optional<platform::PortSearchResult> found;
    FakeDevice::Shared device;
};

class FakeRadio final : public platform::BluetoothRadio {
public:
    bool available() override { return isAvailable; }
    int mode() override { return current; }
    bool setMode(int mode) override {
        changes.push_back(mode);
        current = mode;
        return true;
    }
    bool isAvailable = true;
    int current = kOff;
    std::vector<int> changes;
};

class FakeShell final : public GpsShell {
public:
    void setWaitCursor(bool busy) override { note(busy ? "cursor:wait" : "cursor:normal"); }
    void showBanner(std::u16string_view text) override { note("banner:" + ascii(text)); }
    void hideBanner() override { note("banner:hide"); }
    void showStatus(std::u16string_view text) override { note("status:" + ascii(text)); }
    void requestRepaint() override { note("repaint"); }
    std::u16string noFixSound() override {
        std::lock_guard lock(mutex_);
        return sound;
    }
    void playSound(std::u16string_view name) override { note("sound:" + ascii(name)); }
    void requestReconnect() override {
        ++reconnects;
        note("reconnect");
    }
    void positionNotShown() override { ++notShown; }

    std::vector<std::string> calls() const {
        std::lock_guard lock(mutex_);
        return calls_;
    }
    void clear() {
        std::lock_guard lock(mutex_);
        calls_.clear();
    }
    bool saw(const std::string& call) const {
        const std::vector<std::string> all = calls();
        return std::find(all.begin(), all.end(), call) != all.end();
    }

    std::u16string sound;
    std::atomic<int> reconnects{0};
    std::atomic<int> notShown{0};

private:
    static std::string ascii(std::u16string_view text) {
        return std::string(text.begin(), text.end());
    }
    void note(std::string call) {
        std::lock_guard lock(mutex_);
        calls_.push_back(std::move(call));
    }
    mutable std::mutex mutex_;
    std::vector<std::string> calls_;
};

// The hand-over's times, as the shell would keep them.
struct FakeTimes {
    std::atomic<double> lastFix{0.0};
    std::atomic<double> lastSignal{0.0};
    std::atomic<int> allowance{3};
    SignalTimes times() { return SignalTimes{lastFix, lastSignal, allowance}; }
};

}  // namespace wendra::test
