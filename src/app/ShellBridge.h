#pragma once
// How the GPS reader thread reaches the window: status texts, repaints, the reconnect
// request, the current position and answered settings are left in mailboxes here and
// announced with a posted message; the window thread takes them. Window-thread calls
// (wait cursor, banners) act at once.

#include <atomic>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>

#include "app/ScreenBanner.h"
#include "gps/Fix.h"
#include "gps/GpsShell.h"
#include "gps/SerialSettings.h"
#include "track/HandOverListener.h"
#include "track/HandOverState.h"

namespace wendra::platform {
class Window;
}

namespace wendra {

class NmeaParser;
struct Configuration;

// What the reader changed of the saved settings: by the user's answers, the port options
// and receiver rate; by the parser itself, its flags and the altitude correction. The
// window folds them into the configuration.
struct ReaderSettings {
    std::int32_t serialOptions = 0;
    int receiverRateIndex = 0;
    std::int32_t parserFlags = 0;
    float correction = 0.0f;
};

class ShellBridge final : public GpsShell, public HandOverListener {
public:
    // `handOver` is where the position's mark lives; the reader's switch-off resets it.
    ShellBridge(std::filesystem::path programFolder, const NmeaParser& readerParser,
                HandOverState& handOver);
    // The port's settings, which the reader changes: the port is built after the bridge
    // it reports to, so they come once it exists, before its reader first runs. Until
    // then the settings passed on are the defaults.
    void readFrom(const SerialSettings& readerSerial) { readerSerial_ = &readerSerial; }

    // Null until the window exists and again once it closes: posts then go nowhere.
    void attach(platform::Window* window) { window_.store(window, std::memory_order_release); }

    // Window thread.
    void setWaitCursor(bool busy) override;
    void showBanner(std::u16string_view text) override;
    void hideBanner() override;
    void setNoFixSound(std::u16string name);

    // Reader thread.
    void showStatus(std::u16string_view text) override;
    void requestRepaint() override;
    std::u16string noFixSound() override;
    void playSound(std::u16string_view name) override;
    void requestReconnect() override;
    void positionNotShown() override;
    void positionUpdated(const Fix& fix) override;
    void settingsChanged() override;
    // After each chunk: the parser's own changes to its settings go the same way as
    // the answered questions.
    void afterChunk();

    // Window thread: what the mailboxes hold.
    std::optional<std::u16string> takeStatusText();
    std::optional<ReaderSettings> takeSettings();
    // Takes the mailbox into the configuration; false when it was empty. The answered
    // question bits of the port options, the receiver rate, the parser's settings bits
    // and the correction; the parser's state bits and the user's port switches stay as
    // the window has them.
    bool mergeSettings(Configuration& config);
    std::optional<Fix> position() const;
    // The repaint message was handled: the next request posts again.
    void repaintTaken() { repaintPosted_.store(false, std::memory_order_release); }

private:
    void post(std::uint32_t code);

    std::filesystem::path programFolder_;
    const SerialSettings defaultSerial_;
    const SerialSettings* readerSerial_ = &defaultSerial_;
    const NmeaParser& readerParser_;
    HandOverState& handOver_;
    std::uint32_t sentRevision_ = 0;  // reader thread only
    ScreenBanner screen_;
    std::atomic<platform::Window*> window_{nullptr};
    std::atomic<bool> repaintPosted_{false};

    mutable std::mutex mutex_;  // guards what follows
    std::u16string noFixSound_;
    std::optional<std::u16string> statusText_;
    std::optional<ReaderSettings> settings_;
    std::optional<Fix> position_;
};

}  // namespace wendra
