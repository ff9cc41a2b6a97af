#include "platform/linux/WavRecorder.h"

#include <sndfile.h>

#include <algorithm>
#include <vector>

#include "platform/ReplacingFile.h"

namespace wendra::platform {

namespace {

constexpr int kChunksPerSecond = 10;  // 100 ms: how soon a stop is noticed
constexpr int kChannels = 1;

// One memo being recorded: the open source, and the .wav that goes in place at the end.
struct Take {
    std::unique_ptr<PcmSource> source;
    PcmFormat format;
    ReplacingFile file;
    SNDFILE* sound = nullptr;

    Take() = default;
    Take(const Take&) = delete;
    Take& operator=(const Take&) = delete;
    ~Take() {
        if (sound) sf_close(sound);
    }

    bool start(const std::filesystem::path& memo) {
        if (!file.open(memo.string())) return false;
        SF_INFO info{};
        info.samplerate = format.rate;
        info.channels = format.channels;
        info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
        // The descriptor stays the file's: it is synced and renamed after the header.
        sound = sf_open_fd(file.fd(), SFM_WRITE, &info, SF_FALSE);
        return sound != nullptr;
    }

    // Until asked to stop or the device fails; true when frames were kept and the memo
    // is in place.
    bool run(const std::atomic<bool>& stopRequest) {
        const long framesPerChunk = std::max(1, format.rate / kChunksPerSecond);
        std::vector<std::int16_t> chunk(static_cast<std::size_t>(framesPerChunk * format.channels));
        sf_count_t kept = 0;
        bool failed = false;
        while (!failed && !stopRequest.load(std::memory_order_acquire)) {
            const long frames = source->read(chunk);
            if (frames < 0) break;  // unplugged: what came so far is the memo
            const long taken = std::min(frames, framesPerChunk);
            failed = taken > 0 && sf_writef_short(sound, chunk.data(), taken) != taken;
            kept += failed ? 0 : taken;
        }
        source.reset();  // the device is free as soon as the last chunk is in
        failed = sf_close(sound) != 0 || failed;
        sound = nullptr;
        // An empty or broken take keeps the memo that was there.
        if (failed || kept == 0 || !file.commit()) {
            file.abandon();
            return false;
        }
        return true;
    }
};

}  // namespace

WavRecorder::WavRecorder(SourceFactory makeSource) : makeSource_(std::move(makeSource)) {}

WavRecorder::~WavRecorder() {
    stop();
}

std::unique_ptr<PcmSource> WavRecorder::openSource(PcmFormat& format) {
    for (const int rate : kRates) {
        auto source = makeSource_();
        if (!source) return nullptr;
        format = PcmFormat{rate, kChannels};
        if (source->open(format)) return source;
    }
    return nullptr;
}

bool WavRecorder::available() {
    if (state() == State::Recording) return true;
    PcmFormat format;
    return openSource(format) != nullptr;
}

bool WavRecorder::record(const std::filesystem::path& file) {
    std::lock_guard lock(mutex_);
    stopRequest_.store(true, std::memory_order_release);
    if (thread_.joinable()) thread_.join();
    auto take = std::make_unique<Take>();
    take->source = openSource(take->format);
    if (!take->source || !take->start(file)) return false;
    stopRequest_.store(false, std::memory_order_release);
    recording_.store(true, std::memory_order_release);
    thread_ = std::thread([this, take = std::move(take)] {
        const bool stored = take->run(stopRequest_);
        lastStored_.store(stored, std::memory_order_release);
        recording_.store(false, std::memory_order_release);
    });
    return true;
}

void WavRecorder::stop() {
    std::lock_guard lock(mutex_);
    stopRequest_.store(true, std::memory_order_release);
    if (thread_.joinable()) thread_.join();
}

VoiceRecorder::State WavRecorder::state() const {
    return recording_.load(std::memory_order_acquire) ? State::Recording : State::Idle;
}

}  // namespace wendra::platform
