#include "platform/linux/WavPlayer.h"

#include <sndfile.h>

#include <algorithm>
#include <vector>

namespace wendra::platform {

namespace {

constexpr int kChunksPerSecond = 20;  // 50 ms: how soon a stop is noticed
constexpr int kMaxChannels = 8;
constexpr int kMinRate = 1000;
constexpr int kMaxRate = 384000;

struct SoundFile {
    SNDFILE* handle = nullptr;
    SF_INFO info{};

    SoundFile() = default;
    SoundFile(const SoundFile&) = delete;
    SoundFile& operator=(const SoundFile&) = delete;
    ~SoundFile() {
        if (handle) sf_close(handle);
    }
};

void feed(SoundFile& file, PcmSink& sink, const std::atomic<bool>& stopRequest) {
    const PcmFormat format{file.info.samplerate, file.info.channels};
    if (!sink.open(format)) return;  // no device: silence
    const sf_count_t framesPerChunk = std::max(1, format.rate / kChunksPerSecond);
    std::vector<std::int16_t> chunk(static_cast<std::size_t>(framesPerChunk) *
                                    static_cast<std::size_t>(format.channels));
    while (!stopRequest.load(std::memory_order_acquire)) {
        const sf_count_t frames = sf_readf_short(file.handle, chunk.data(), framesPerChunk);
        if (frames <= 0) {
            sink.finish();
            return;
        }
        const std::size_t samples = static_cast<std::size_t>(frames) * format.channels;
        if (!sink.write(std::span<const std::int16_t>(chunk.data(), samples))) return;
    }
    sink.abort();
}

}  // namespace

WavPlayer::WavPlayer(SinkFactory makeSink) : makeSink_(std::move(makeSink)) {}

WavPlayer::~WavPlayer() {
    stop();
}

bool WavPlayer::play(const std::filesystem::path& file) {
    auto sound = std::make_unique<SoundFile>();
    sound->handle = sf_open(file.c_str(), SFM_READ, &sound->info);
    if (!sound->handle || sound->info.channels < 1 || sound->info.channels > kMaxChannels ||
        sound->info.samplerate < kMinRate || sound->info.samplerate > kMaxRate)
        return false;
    std::lock_guard lock(mutex_);
    stopRequest_.store(true, std::memory_order_release);
    if (thread_.joinable()) thread_.join();
    stopRequest_.store(false, std::memory_order_release);
    playing_.store(true, std::memory_order_release);
    thread_ = std::thread([this, sound = std::move(sound)]() mutable {
        if (auto sink = makeSink_()) feed(*sound, *sink, stopRequest_);
        sound.reset();
        playing_.store(false, std::memory_order_release);
    });
    return true;
}

void WavPlayer::stop() {
    std::lock_guard lock(mutex_);
    stopRequest_.store(true, std::memory_order_release);
    if (thread_.joinable()) thread_.join();
}

}  // namespace wendra::platform
