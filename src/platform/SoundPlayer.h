#pragma once
// Playing the program's .wav files (alerts, "pop.wav", voice memos) without waiting
// for them. A new sound stops the one playing. A machine without a sound device
// plays nothing and is not an error; a file that cannot be read is.

#include <filesystem>

namespace wendra::platform {

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Starts the sound and returns at once; false when the file is not a sound.
    virtual bool play(const std::filesystem::path& file) = 0;
    // Stops the sound playing, if any, and waits until it has stopped.
    virtual void stop() = 0;
};

// The player in use: the one the program's main installed with a ScopedSoundPlayer;
// silence until then, as on a machine without a sound device.
SoundPlayer& soundPlayer();

class ScopedSoundPlayer {
public:
    explicit ScopedSoundPlayer(SoundPlayer& replacement);
    ~ScopedSoundPlayer();
    ScopedSoundPlayer(const ScopedSoundPlayer&) = delete;
    ScopedSoundPlayer& operator=(const ScopedSoundPlayer&) = delete;

private:
    SoundPlayer* previous_;
};

inline bool playSound(const std::filesystem::path& file) {
    return soundPlayer().play(file);
}

}  // namespace wendra::platform
