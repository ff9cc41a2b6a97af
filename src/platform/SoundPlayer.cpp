#include "platform/SoundPlayer.h"

#include <atomic>

namespace wendra::platform {

namespace {

class SilentPlayer final : public SoundPlayer {
public:
    bool play(const std::filesystem::path&) override { return true; }
    void stop() override {}
};

std::atomic<SoundPlayer*> installed{nullptr};

}  // namespace

SoundPlayer& soundPlayer() {
    static SilentPlayer silence;
    SoundPlayer* current = installed.load(std::memory_order_acquire);
    return current ? *current : silence;
}

ScopedSoundPlayer::ScopedSoundPlayer(SoundPlayer& replacement)
    : previous_(installed.exchange(&replacement, std::memory_order_acq_rel)) {}

ScopedSoundPlayer::~ScopedSoundPlayer() {
    installed.store(previous_, std::memory_order_release);
}

}  // namespace wendra::platform
