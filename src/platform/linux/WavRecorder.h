#pragma once
// Records voice memos as mono 16-bit .wav files on a thread of its own: it reads the
// capture source in chunks of 100 ms and libsndfile writes them into a temporary file
// beside the memo, which is renamed over the memo only when the recording ends with
// frames in it. A kill mid-memo leaves at worst that temporary file, never half a memo
// under the memo's name. Stopping waits for one chunk at most.

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/PcmSource.h"
#include "platform/VoiceRecorder.h"

namespace wendra::platform {

class WavRecorder final : public VoiceRecorder {
public:
    using SourceFactory = std::function<std::unique_ptr<PcmSource>()>;
    // The rates tried, best first; the source's device may refuse one.
    static constexpr int kRates[] = {16000, 8000};

    explicit WavRecorder(SourceFactory makeSource);
    ~WavRecorder() override;

    bool available() override;
    bool record(const std::filesystem::path& file) override;
    void stop() override;
    State state() const override;

    // Whether the last recording that ended put its memo in place; for the caller's logs
    // and the tests.
    bool lastStored() const { return lastStored_.load(std::memory_order_acquire); }

private:
    std::unique_ptr<PcmSource> openSource(PcmFormat& format);

    SourceFactory makeSource_;
    std::mutex mutex_;  // one record or stop at a time
    std::thread thread_;
    std::atomic<bool> stopRequest_{false};
    std::atomic<bool> recording_{false};
    std::atomic<bool> lastStored_{false};
};

// The ALSA device for sound input ("default" unless $WENDRA_CAPTURE_DEVICE names one).
std::unique_ptr<PcmSource> makeAlsaSource(const char* device = nullptr);

}  // namespace wendra::platform
