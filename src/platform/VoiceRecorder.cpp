#include "platform/VoiceRecorder.h"

#include <atomic>

namespace wendra::platform {

namespace {

class NoRecorder final : public VoiceRecorder {
public:
    bool available() override { return false; }
    bool record(const std::filesystem::path&) override { return false; }
    void stop() override {}
    State state() const override { return State::Idle; }
};

std::atomic<VoiceRecorder*> installed{nullptr};

}  // namespace

VoiceRecorder& voiceRecorder() {
    static NoRecorder none;
    VoiceRecorder* current = installed.load(std::memory_order_acquire);
    return current ? *current : none;
}

ScopedVoiceRecorder::ScopedVoiceRecorder(VoiceRecorder& replacement)
    : previous_(installed.exchange(&replacement, std::memory_order_acq_rel)) {}

ScopedVoiceRecorder::~ScopedVoiceRecorder() {
    installed.store(previous_, std::memory_order_release);
}

}  // namespace wendra::platform
