#include "platform/DialogHost.h"

#include <atomic>
#include <cstdio>
#include <string>

namespace wendra::platform {

namespace {

// Without a window nobody can answer a dialog: say so and cancel it.
class NoDialogHost final : public DialogHost {
public:
    int run(const DialogTemplate& dialog, DialogProcedure& /*procedure*/) override {
        std::string title;
        for (char16_t unit : dialog.title)
            title.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
        std::fprintf(stderr, "[%s] dialog not shown: no window\n", title.c_str());
        return kIdCancel;
    }
};

std::atomic<DialogHost*> installed{nullptr};

}  // namespace

DialogHost& dialogs() {
    static NoDialogHost none;
    DialogHost* current = installed.load(std::memory_order_acquire);
    return current ? *current : none;
}

ScopedDialogHost::ScopedDialogHost(DialogHost& replacement)
    : previous_(installed.exchange(&replacement, std::memory_order_acq_rel)) {}

ScopedDialogHost::~ScopedDialogHost() {
    installed.store(previous_, std::memory_order_release);
}

}  // namespace wendra::platform
