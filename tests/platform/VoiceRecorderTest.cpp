// The .wav recorder fed by a scripted capture source (no sound card needed), its memo
// read back with libsndfile, and the ALSA source on a machine without the device.

#include <gtest/gtest.h>
#include <sndfile.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "platform/linux/WavRecorder.h"
#include "support/TestPaths.h"
#include "support/WaitUntil.h"

namespace wendra::test {
namespace {

using namespace std::chrono_literals;
using platform::VoiceRecorder;
using platform::WavRecorder;

constexpr long kFramesPerRead = 160;

// What every source made by one factory did, for the test thread to read.
struct SourceLog {
    std::atomic<int> rate{0};
    std::atomic<long> framesGiven{0};
};

// Gives a rising count as samples, so the file read back shows every frame in order.
struct SourceScript {
    bool device = true;       // false: ALSA with a device the machine does not have
    int highestRate = 48000;  // the device refuses rates above
    int readsBeforeUnplug = -1;
};

class ScriptedSource final : public platform::PcmSource {
public:
    ScriptedSource(const SourceScript& script, SourceLog& log) : script_(script), log_(log) {}

    bool open(const platform::PcmFormat& format) override {
        if (format.rate > script_.highestRate || format.channels != 1) return false;
        log_.rate = format.rate;
        return true;
    }
    long read(std::span<std::int16_t> samples) override {
        if (script_.readsBeforeUnplug >= 0 && reads_++ >= script_.readsBeforeUnplug) return -1;
        std::this_thread::sleep_for(1ms);
        const long frames = std::min(kFramesPerRead, static_cast<long>(samples.size()));
        for (long i = 0; i < frames; ++i) samples[static_cast<std::size_t>(i)] = next_++;
        log_.framesGiven += frames;
        return frames;
    }

private:
    SourceScript script_;
    SourceLog& log_;
    int reads_ = 0;
    std::int16_t next_ = 0;
};

WavRecorder::SourceFactory scripted(const SourceScript& script, SourceLog& log) {
    if (!script.device) return [] { return platform::makeAlsaSource("wendra_no_such_device"); };
    return [script, &log] { return std::make_unique<ScriptedSource>(script, log); };
}

struct Memo {
    bool opened = false;
    int rate = 0;
    int channels = 0;
    std::vector<short> samples;
};

Memo readMemo(const std::filesystem::path& file) {
    Memo memo;
    SF_INFO info{};
    SNDFILE* in = sf_open(file.c_str(), SFM_READ, &info);
    if (!in) return memo;
    memo.opened = true;
    memo.rate = info.samplerate;
    memo.channels = info.channels;
    memo.samples.resize(static_cast<std::size_t>(info.frames * info.channels));
    sf_readf_short(in, memo.samples.data(), info.frames);
    sf_close(in);
    return memo;
}

bool countsUp(const std::vector<short>& samples) {
    for (std::size_t i = 0; i < samples.size(); ++i)
        if (samples[i] != static_cast<short>(i)) return false;
    return true;
}

std::size_t filesIn(const std::filesystem::path& folder) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
    return count;
}

TEST(WavRecorder, KeepsEveryFrameTheDeviceGaveAtTheBestRateItTakes) {
    struct Case {
        const char* legend;
        SourceScript script;
        bool records;
        int rate;
    };
    const Case cases[] = {
        {"wide band", {}, true, 16000},
        {"a device that only takes 8 kHz", {.highestRate = 8000}, true, 8000},
        {"no capture device: not available, no file", {.device = false}, false, 0},
    };
    for (const Case& c : cases) {
        TempDir folder;
        SourceLog log;
        WavRecorder recorder(scripted(c.script, log));
        EXPECT_EQ(recorder.available(), c.records) << c.legend;
        ASSERT_EQ(recorder.record(folder / "00042.wav"), c.records) << c.legend;
        if (!c.records) {
            EXPECT_EQ(recorder.state(), VoiceRecorder::State::Idle);
            EXPECT_EQ(filesIn(folder.path()), 0u) << c.legend;
            continue;
        }
        EXPECT_EQ(recorder.state(), VoiceRecorder::State::Recording);
        ASSERT_TRUE(waitUntil([&] { return log.framesGiven >= 5 * kFramesPerRead; }));
        recorder.stop();
        EXPECT_EQ(recorder.state(), VoiceRecorder::State::Idle);
        EXPECT_TRUE(recorder.lastStored());
        const Memo memo = readMemo(folder / "00042.wav");
        ASSERT_TRUE(memo.opened) << c.legend;
        EXPECT_EQ(memo.rate, c.rate) << c.legend;
        EXPECT_EQ(memo.channels, 1);
        EXPECT_EQ(static_cast<long>(memo.samples.size()), log.framesGiven.load()) << c.legend;
        EXPECT_TRUE(countsUp(memo.samples)) << c.legend;
        EXPECT_EQ(filesIn(folder.path()), 1u) << "no temporary left: " << c.legend;
    }
}

// The old memo stays under its name until a new one is complete; a take that got nothing
// leaves it, one cut short by an unplugged device is kept as far as it went.
TEST(WavRecorder, AMemoIsReplacedOnlyByACompleteTake) {
    TempDir folder;
    const auto memo = folder / "00007.wav";
    SourceLog log;
    WavRecorder first(scripted({}, log));
    ASSERT_TRUE(first.record(memo));
    ASSERT_TRUE(waitUntil([&] { return log.framesGiven > 0; }));
    EXPECT_FALSE(std::filesystem::exists(memo)) << "the take is written beside it";
    EXPECT_EQ(filesIn(folder.path()), 1u);
    first.stop();
    const std::string good = readFile(memo);
    ASSERT_FALSE(good.empty());

    SourceLog deadLog;
    WavRecorder dead(scripted({.readsBeforeUnplug = 0}, deadLog));
    ASSERT_TRUE(dead.record(memo));
    ASSERT_TRUE(waitUntil([&] { return dead.state() == VoiceRecorder::State::Idle; }));
    EXPECT_FALSE(dead.lastStored());
    EXPECT_EQ(readFile(memo), good) << "nothing recorded, nothing replaced";
    EXPECT_EQ(filesIn(folder.path()), 1u);

    SourceLog cutLog;
    WavRecorder cut(scripted({.readsBeforeUnplug = 3}, cutLog));
    ASSERT_TRUE(cut.record(memo));
    ASSERT_TRUE(waitUntil([&] { return cut.state() == VoiceRecorder::State::Idle; }))
        << "ends by itself when the device goes";
    EXPECT_TRUE(cut.lastStored());
    const Memo kept = readMemo(memo);
    ASSERT_TRUE(kept.opened);
    EXPECT_EQ(kept.samples.size(), 3u * kFramesPerRead);
    EXPECT_TRUE(countsUp(kept.samples));
    EXPECT_EQ(filesIn(folder.path()), 1u);
}

}  // namespace
}  // namespace wendra::test
