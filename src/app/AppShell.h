#pragma once
// What the main window offers the parts it wires together: repaints, the status text,
// modal dialogs, saving the changed files and closing. Window thread only; every call
// does nothing once the window's state is gone.

#include <string>

namespace wendra::platform {
struct DialogTemplate;
class DialogProcedure;
}  // namespace wendra::platform

namespace wendra {

class AppShell {
public:
    virtual ~AppShell() = default;

    virtual void requestRepaint() = 0;
    // Shown on the map until the status-clear timer fires.
    virtual void showStatusText(std::u16string text) = 0;
    virtual void saveChangedFiles(bool force) = 0;
    // Centres the map on a position (half-turn units) and stops following the GPS there.
    virtual void showOnMap(double latitude, double longitude) = 0;
    // Runs the dialog with the modal flag set; the dialog's result.
    virtual int runModalDialog(const platform::DialogTemplate& dialog,
                               platform::DialogProcedure& procedure) = 0;
    // Asks the window to close as its close button does. The close comes later from the
    // message loop, never inside this call: the caller's parts outlive it.
    virtual void closeWindow() = 0;
};

}  // namespace wendra
