#include <gtest/gtest.h>
#include <sndfile.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/linux/WavPlayer.h"
#include "support/TestPaths.h"
#include "support/WaitUntil.h"

namespace wendra::test {
namespace {

using namespace std::chrono_literals;

constexpr int kRate = 8000;

// A mono 16-bit sine of the given length.
void writeWav(const std::filesystem::path& file, int frames, int channels = 1) {
    SF_INFO info{};
    info.samplerate = kRate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* out = sf_open(file.c_str(), SFM_WRITE, &info);
    ASSERT_NE(out, nullptr);
    std::vector<short> samples(static_cast<std::size_t>(frames) * channels);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<short>(8000 * std::sin(static_cast<double>(i) * 0.3));
    sf_writef_short(out, samples.data(), frames);
    sf_close(out);
}

// Keeps what it is given; write() takes about as long as real playback would
// when `realTime` is set.
class RecordingSink final : public platform::PcmSink {
public:
    struct Log {
        std::mutex mutex;
        platform::PcmFormat format;
        std::vector<std::int16_t> samples;
        bool finished = false;
        bool aborted = false;
    };
    RecordingSink(Log& log, bool realTime) : log_(log), realTime_(realTime) {}

    bool open(const platform::PcmFormat& format) override {
        std::lock_guard lock(log_.mutex);
        log_.format = format;
        return true;
    }
    bool write(std::span<const std::int16_t> samples) override {
        {
            std::lock_guard lock(log_.mutex);
            log_.samples.insert(log_.samples.end(), samples.begin(), samples.end());
        }
        if (realTime_)
            std::this_thread::sleep_for(std::chrono::milliseconds(samples.size() * 1000 / kRate));
        return true;
    }
    void finish() override { log_.finished = true; }
    void abort() override { log_.aborted = true; }

private:
    Log& log_;
    bool realTime_;
};

bool done(const platform::WavPlayer& player) {
    return waitUntil([&] { return !player.playing(); });
}

size_t samplesTaken(RecordingSink::Log& log) {
    std::lock_guard lock(log.mutex);
    return log.samples.size();
}

TEST(WavPlayer, FeedsEveryFrameOfTheFileToTheSink) {
    TempDir folder;
    writeWav(folder / "pop.wav", 12345, 2);
    RecordingSink::Log log;
    platform::WavPlayer player([&] { return std::make_unique<RecordingSink>(log, false); });
    ASSERT_TRUE(player.play(folder / "pop.wav"));
    ASSERT_TRUE(done(player));
    EXPECT_EQ(log.format.rate, kRate);
    EXPECT_EQ(log.format.channels, 2);
    EXPECT_EQ(log.samples.size(), 2u * 12345u);
    EXPECT_TRUE(log.finished);
    EXPECT_FALSE(log.aborted);
}

TEST(WavPlayer, RefusesWhatIsNotASound) {
    TempDir folder;
    writeFile(folder / "text.wav", "RIFF this is not really a wave file at all");
    writeFile(folder / "empty.wav", "");
    RecordingSink::Log log;
    platform::WavPlayer player([&] { return std::make_unique<RecordingSink>(log, false); });
    EXPECT_FALSE(player.play(folder / "missing.wav"));
    EXPECT_FALSE(player.play(folder / "text.wav"));
    EXPECT_FALSE(player.play(folder / "empty.wav"));
    EXPECT_FALSE(player.play(folder.path()));
    EXPECT_TRUE(log.samples.empty());
}

TEST(WavPlayer, ANewSoundStopsTheOnePlayingWithinAChunk) {
    TempDir folder;
    writeWav(folder / "long.wav", kRate * 30);  // 30 s
    writeWav(folder / "short.wav", 100);
    RecordingSink::Log log;
    platform::WavPlayer player([&] { return std::make_unique<RecordingSink>(log, true); });
    ASSERT_TRUE(player.play(folder / "long.wav"));
    ASSERT_TRUE(waitUntil([&] { return samplesTaken(log) > 0; })) << "the long one plays";
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(player.play(folder / "short.wav"));
    if (kTimesAreMeasurable) {
        EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
    }
    EXPECT_TRUE(log.aborted);
    ASSERT_TRUE(done(player));
    EXPECT_LT(log.samples.size(), static_cast<std::size_t>(kRate) * 5);
}

TEST(WavPlayer, WithoutASoundDeviceItIsSilentAndSucceeds) {
    TempDir folder;
    writeWav(folder / "alert.wav", kRate / 2);
    platform::WavPlayer player([] { return platform::makeAlsaSink("wendra_no_such_device"); });
    EXPECT_TRUE(player.play(folder / "alert.wav"));
    EXPECT_TRUE(done(player));
    player.stop();
}

}  // namespace
}  // namespace wendra::test
