#pragma once
// The behaviour of one dialog, kept apart from any toolkit: it reacts to the
// dialog's opening, to commands and notifications from controls the user worked,
// to its timers and, for owner-drawn areas, to paint requests.

#include "platform/DialogControls.h"
#include "platform/DialogTemplate.h"
#include "platform/DrawingSurface.h"
#include "platform/Geometry.h"

namespace wendra::platform {

enum class NotifyCode {
    Changed,           // edit text typed
    SelectionChanged,  // list, combo or tree: the user picked another entry
    Expanding,         // tree: the user opens an item (fill it now)
    DoubleClicked,     // list or tree entry
    StylusDown,        // owner-drawn area, position inside it
    StylusMove,
    StylusUp,
};

struct Notification {
    NotifyCode code = NotifyCode::Changed;
    TreeItem item = kNoTreeItem;
    Point at{};
};

class DialogProcedure {
public:
    virtual ~DialogProcedure() = default;

    virtual void init(DialogControls& dialog) = 0;
    // A button, check box or radio was pressed; Enter and Escape come as kIdOk and
    // kIdCancel. Unless overridden, OK and Cancel end the dialog with their id.
    virtual void command(DialogControls& dialog, int id) {
        if (id == kIdOk || id == kIdCancel) dialog.end(id);
    }
    virtual void notify(DialogControls& /*dialog*/, int /*id*/, const Notification& /*what*/) {}
    virtual void timer(DialogControls& /*dialog*/, int /*timerId*/) {}
    // Draws owner-drawn control `id`; the surface is the control's size.
    virtual void paint(DialogControls& /*dialog*/, int /*id*/, DrawingSurface& /*surface*/) {}
};

}  // namespace wendra::platform
