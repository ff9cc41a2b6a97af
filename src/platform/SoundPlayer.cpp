#include "platform/SoundPlayer.h"

#include <atomic>

#include "platform/linux/WavPlayer.h"

namespace wendra::platform {

namespace {

std::atomic<SoundPlayer*> installed{nullptr};

}  // namespace

SoundPlayer& soundPlayer() {
    static WavPlayer machine([] { return makeAlsaSink(); });
    SoundPlayer* current = installed.load(std::memory_order_acquire);
    return current ? *current : machine;
}

ScopedSoundPlayer::ScopedSoundPlayer(SoundPlayer& replacement)
    : previous_(installed.exchange(&replacement, std::memory_order_acq_rel)) {}

ScopedSoundPlayer::~ScopedSoundPlayer() {
    installed.store(previous_, std::memory_order_release);
}

}  // namespace wendra::platform
