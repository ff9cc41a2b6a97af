#pragma once
// What the fix hand-over asks of the shell: repaints, the new current position, word
// that the settings changed, and status texts. Called on the GPS reader thread; the
// shell posts to its window thread. Tests fake it.

#include <string_view>

#include "gps/Fix.h"

namespace wendra {

class HandOverListener {
public:
    virtual ~HandOverListener() = default;

    virtual void requestRepaint() = 0;
    // The current position update: the map view takes the new fix.
    virtual void positionUpdated(const Fix& fix) = 0;
    // A question answered changed the port options or the parser flags, which are
    // saved with the configuration.
    virtual void settingsChanged() = 0;
    // The fix was appended to the journal (before it is recorded).
    virtual void fixJournaled(const Fix&) {}
    // A status text for the map view (a shell without one has the trace log only).
    virtual void showStatus(std::u16string_view /*text*/) {}
};

}  // namespace wendra
