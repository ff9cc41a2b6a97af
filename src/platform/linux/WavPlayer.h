#pragma once
// Plays sound files through a PCM sink on a thread of its own: libsndfile reads
// the file (so anything it knows plays, not only .wav) in chunks of 50 ms, so a stop
// request is seen within one chunk whatever the file's length.

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/PcmSink.h"
#include "platform/SoundPlayer.h"

namespace wendra::platform {

class WavPlayer final : public SoundPlayer {
public:
    using SinkFactory = std::function<std::unique_ptr<PcmSink>()>;

    explicit WavPlayer(SinkFactory makeSink);
    ~WavPlayer() override;

    bool play(const std::filesystem::path& file) override;
    void stop() override;

    // True while a sound is being fed to its sink.
    bool playing() const { return playing_.load(std::memory_order_acquire); }

private:
    SinkFactory makeSink_;
    std::mutex mutex_;  // one play or stop at a time
    std::thread thread_;
    std::atomic<bool> stopRequest_{false};
    std::atomic<bool> playing_{false};
};

// The ALSA device for sound output ("default" unless $WENDRA_SOUND_DEVICE names one).
std::unique_ptr<PcmSink> makeAlsaSink(const char* device = nullptr);

}  // namespace wendra::platform
