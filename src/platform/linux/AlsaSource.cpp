// Sound input through ALSA. A machine with no capture device fails the open, and the
// recorder says it is not available. Reads wait for the device in slices of 250 ms, so
// a stalled device never holds the recorder's stop.

#include <alsa/asoundlib.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "platform/linux/AlsaQuiet.h"
#include "platform/linux/WavRecorder.h"

namespace wendra::platform {

namespace {

constexpr unsigned kLatencyMicroseconds = 500000;
constexpr int kWaitMilliseconds = 250;

class AlsaSource final : public PcmSource {
public:
    explicit AlsaSource(std::string device) : device_(std::move(device)) {}
    ~AlsaSource() override { close(); }

    bool open(const PcmFormat& format) override {
        quietAlsaErrors();
        close();
        // Opened without blocking, so a device held by another program fails at once.
        if (snd_pcm_open(&pcm_, device_.c_str(), SND_PCM_STREAM_CAPTURE, SND_PCM_NONBLOCK) < 0) {
            pcm_ = nullptr;
            return false;
        }
        channels_ = format.channels;
        const bool ready =
            snd_pcm_set_params(pcm_, SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED,
                               static_cast<unsigned>(format.channels),
                               static_cast<unsigned>(format.rate), 1, kLatencyMicroseconds) == 0 &&
            snd_pcm_start(pcm_) == 0;
        if (!ready) close();
        return ready;
    }

    long read(std::span<std::int16_t> samples) override {
        if (!pcm_) return -1;
        const int waited = snd_pcm_wait(pcm_, kWaitMilliseconds);
        if (waited < 0) return recover(waited);
        if (waited == 0) return 0;
        const snd_pcm_sframes_t got = snd_pcm_readi(
            pcm_, samples.data(), samples.size() / static_cast<std::size_t>(channels_));
        if (got == -EAGAIN) return 0;
        if (got < 0) return recover(static_cast<int>(got));
        return static_cast<long>(got);
    }

private:
    // An overrun (the thread was late) loses a moment of sound, not the memo.
    long recover(int error) {
        if (snd_pcm_recover(pcm_, error, 1) < 0) return -1;
        // A resumed stream may be running already; a prepared one waits for its start.
        if (snd_pcm_state(pcm_) != SND_PCM_STATE_RUNNING && snd_pcm_start(pcm_) < 0) return -1;
        return 0;
    }

    void close() {
        if (pcm_) snd_pcm_close(pcm_);
        pcm_ = nullptr;
    }

    std::string device_;
    snd_pcm_t* pcm_ = nullptr;
    int channels_ = 1;
};

}  // namespace

std::unique_ptr<PcmSource> makeAlsaSource(const char* device) {
    const char* chosen = device ? device : std::getenv("WENDRA_CAPTURE_DEVICE");
    return std::make_unique<AlsaSource>(chosen && *chosen ? chosen : "default");
}

}  // namespace wendra::platform
