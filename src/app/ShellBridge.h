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

// What the reader's questions changed: the port options and receiver rate, the parser
// flags. The window folds them into the configuration.
struct ReaderSettings {
    std::int32_t serialOptions = 0;
    int receiverRateIndex = 0;
    std::int32_t parserFlags = 0;
};

class ShellBridge final : public GpsShell, public HandOverListener {
public:
    // `handOver` is where the position's mark lives; the reader's switch-off resets it.
    ShellBridge(std::filesystem::path programFolder, const SerialSettings& readerSerial,
                const NmeaParser& readerParser, HandOverState& handOver);

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

    // Window thread: what the mailboxes hold.
    std::optional<std::u16string> takeStatusText();
    std::optional<ReaderSettings> takeSettings();
    std::optional<Fix> position() const;
    // The repaint message was handled: the next request posts again.
    void repaintTaken() { repaintPosted_.store(false, std::memory_order_release); }

private:
    void post(std::uint32_t code);

    std::filesystem::path programFolder_;
    const SerialSettings& readerSerial_;
    const NmeaParser& readerParser_;
    HandOverState& handOver_;
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
