#pragma once
// Runs a dialog template modally with its procedure. The window installs a host
// that shows real dialogs, tests install one that plays the user's part; with
// neither, a dialog cannot be shown and run() returns kIdCancel at once.

#include "platform/DialogProcedure.h"
#include "platform/DialogTemplate.h"

namespace wendra::platform {

class DialogHost {
public:
    virtual ~DialogHost() = default;
    // Opens the dialog, calls the procedure's init and returns the value given to
    // end() once the procedure closes it.
    virtual int run(const DialogTemplate& dialog, DialogProcedure& procedure) = 0;
};

DialogHost& dialogs();

class ScopedDialogHost {
public:
    explicit ScopedDialogHost(DialogHost& replacement);
    ~ScopedDialogHost();
    ScopedDialogHost(const ScopedDialogHost&) = delete;
    ScopedDialogHost& operator=(const ScopedDialogHost&) = delete;

private:
    DialogHost* previous_;
};

inline int runDialog(const DialogTemplate& dialog, DialogProcedure& procedure) {
    return dialogs().run(dialog, procedure);
}

}  // namespace wendra::platform
