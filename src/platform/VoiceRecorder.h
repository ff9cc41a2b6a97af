#pragma once
// Recording a voice memo into a given file: record, stop, and whether it is recording.
// A machine without a capture device says it is not available and records nothing;
// that is not an error. One recording at a time; the window thread drives it.

#include <filesystem>

namespace wendra::platform {

class VoiceRecorder {
public:
    enum class State { Idle, Recording };

    virtual ~VoiceRecorder() = default;
    // False when there is nothing to record from (asked each time: a headset may come).
    virtual bool available() = 0;
    // Starts recording into `file` and returns at once; false when it cannot start. The
    // file is replaced only when the recording ends with something in it.
    virtual bool record(const std::filesystem::path& file) = 0;
    // Ends the recording, if any, with the memo in its file when it returns.
    virtual void stop() = 0;
    // Idle again after stop(), or by itself when the device went away mid-memo.
    virtual State state() const = 0;
};

// The recorder in use: the one the program's main installed with a ScopedVoiceRecorder;
// until then one that is never available, as on a machine without a microphone.
VoiceRecorder& voiceRecorder();

class ScopedVoiceRecorder {
public:
    explicit ScopedVoiceRecorder(VoiceRecorder& replacement);
    ~ScopedVoiceRecorder();
    ScopedVoiceRecorder(const ScopedVoiceRecorder&) = delete;
    ScopedVoiceRecorder& operator=(const ScopedVoiceRecorder&) = delete;

private:
    VoiceRecorder* previous_;
};

}  // namespace wendra::platform
