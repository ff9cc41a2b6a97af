// Sound output through ALSA. A machine with no sound card fails the open, and the
// player stays silent; ALSA's own complaints on stderr are silenced for that.

#include <alsa/asoundlib.h>

#include <cstdarg>
#include <cstdlib>
#include <mutex>
#include <string>

#include "platform/linux/AlsaQuiet.h"
#include "platform/linux/WavPlayer.h"

namespace wendra::platform {

namespace {

constexpr unsigned kLatencyMicroseconds = 200000;

void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

class AlsaSink final : public PcmSink {
public:
    explicit AlsaSink(std::string device) : device_(std::move(device)) {}
    ~AlsaSink() override {
        if (pcm_) snd_pcm_close(pcm_);
    }

    bool open(const PcmFormat& format) override {
        quietAlsaErrors();
        // Opened without blocking, so a device held by another program fails at once.
        if (snd_pcm_open(&pcm_, device_.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) {
            pcm_ = nullptr;
            return false;
        }
        snd_pcm_nonblock(pcm_, 0);
        channels_ = format.channels;
        return snd_pcm_set_params(pcm_, SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED,
                                  static_cast<unsigned>(format.channels),
                                  static_cast<unsigned>(format.rate), 1, kLatencyMicroseconds) == 0;
    }

    bool write(std::span<const std::int16_t> samples) override {
        snd_pcm_uframes_t left = samples.size() / static_cast<std::size_t>(channels_);
        const std::int16_t* at = samples.data();
        while (left > 0) {
            snd_pcm_sframes_t written = snd_pcm_writei(pcm_, at, left);
            if (written < 0) written = snd_pcm_recover(pcm_, static_cast<int>(written), 1);
            if (written < 0) return false;
            left -= static_cast<snd_pcm_uframes_t>(written);
            at += static_cast<std::size_t>(written) * static_cast<std::size_t>(channels_);
        }
        return true;
    }

    void finish() override { snd_pcm_drain(pcm_); }
    void abort() override { snd_pcm_drop(pcm_); }

private:
    std::string device_;
    snd_pcm_t* pcm_ = nullptr;
    int channels_ = 1;
};

}  // namespace

void quietAlsaErrors() {
    static std::once_flag silenced;
    std::call_once(silenced, [] { snd_lib_error_set_handler(quietAlsa); });
}

std::unique_ptr<PcmSink> makeAlsaSink(const char* device) {
    const char* chosen = device ? device : std::getenv("WENDRA_SOUND_DEVICE");
    return std::make_unique<AlsaSink>(chosen && *chosen ? chosen : "default");
}

}  // namespace wendra::platform
