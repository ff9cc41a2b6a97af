#include "platform/FileDialogs.h"

#include <atomic>

namespace wendra::platform {

namespace {

class NoFileDialogs final : public FileDialogHost {
public:
    FileDialogResult run(const FileDialogRequest& /*request*/) override {
        return FileDialogResult{FileDialogStatus::Unavailable, {}};
    }
};

std::atomic<FileDialogHost*> installed{nullptr};

}  // namespace

FileDialogHost& fileDialogs() {
    static NoFileDialogs none;
    FileDialogHost* current = installed.load(std::memory_order_acquire);
    return current ? *current : none;
}

ScopedFileDialogHost::ScopedFileDialogHost(FileDialogHost& replacement)
    : previous_(installed.exchange(&replacement, std::memory_order_acq_rel)) {}

ScopedFileDialogHost::~ScopedFileDialogHost() {
    installed.store(previous_, std::memory_order_release);
}

}  // namespace wendra::platform
