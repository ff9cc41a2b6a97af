#pragma once
// A sound player for tests: it plays nothing and keeps the files asked for, in order.
// While it lives it is the program's player. Safe to ask from any thread.

#include <filesystem>
#include <mutex>
#include <vector>

#include "platform/SoundPlayer.h"

namespace wendra::test {

class RecordingPlayer final : public platform::SoundPlayer {
public:
    RecordingPlayer() : scope_(*this) {}
    bool play(const std::filesystem::path& file) override {
        std::lock_guard lock(mutex_);
        played_.push_back(file);
        return true;
    }
    void stop() override {}
    std::vector<std::filesystem::path> played() const {
        std::lock_guard lock(mutex_);
        return played_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::filesystem::path> played_;
    platform::ScopedSoundPlayer scope_;
};

}  // namespace wendra::test
