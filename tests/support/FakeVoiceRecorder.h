#pragma once
// A voice recorder for tests of what drives it: no thread and no device. A recording
// starts only in a folder that exists and writes its file when stopped, as the real one
// puts the memo in place; finishOnItsOwn() is the microphone pulled out mid-memo. While
// it lives it is the program's recorder.

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "platform/VoiceRecorder.h"
#include "support/TestPaths.h"

namespace wendra::test {

class FakeVoiceRecorder final : public platform::VoiceRecorder {
public:
    explicit FakeVoiceRecorder(bool available = true) : available_(available), scope_(*this) {}

    bool available() override { return available_; }
    bool record(const std::filesystem::path& file) override {
        stop();
        std::error_code error;
        if (!available_ || !std::filesystem::is_directory(file.parent_path(), error)) return false;
        recording_ = file;
        started_.push_back(file);
        return true;
    }
    void stop() override {
        if (recording_.empty()) return;
        writeFile(recording_, "RIFF memo");
        recording_.clear();
    }
    State state() const override { return recording_.empty() ? State::Idle : State::Recording; }

    void finishOnItsOwn() { stop(); }
    const std::vector<std::filesystem::path>& started() const { return started_; }

private:
    bool available_;
    std::filesystem::path recording_;
    std::vector<std::filesystem::path> started_;
    platform::ScopedVoiceRecorder scope_;
};

}  // namespace wendra::test
