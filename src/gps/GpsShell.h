#pragma once
// What the GPS connection asks of the window: the wait cursor and banners while a port
// opens or closes (window thread), and from the reader thread the status texts, alert
// sounds, repaints and the reconnect request, which the shell passes to its window.

#include <string>
#include <string_view>

namespace wendra {

class GpsShell {
public:
    virtual ~GpsShell() = default;

    // Called on the window thread while opening and closing.
    virtual void setWaitCursor(bool busy) = 0;
    virtual void showBanner(std::u16string_view text) = 0;
    virtual void hideBanner() = 0;

    // Called on the GPS reader thread.
    virtual void showStatus(std::u16string_view text) = 0;
    virtual void requestRepaint() = 0;
    // The "Alert no fix" sound's name, empty when none is chosen.
    virtual std::u16string noFixSound() = 0;
    // Plays "<program folder>/<name>.wav" without waiting for it.
    virtual void playSound(std::u16string_view name) = 0;
    // Posts the reconnect request (message 40001): the window reopens the GPS with a
    // single attempt.
    virtual void requestReconnect() = 0;
    // The GPS is switched off: the map shows no current position.
    virtual void positionNotShown() = 0;
};

}  // namespace wendra
