#include "track/FileBusy.h"

#include "platform/Sync.h"

namespace wendra {

namespace {
// The hand-over itself may store the track (the long-gap rule): it must not wait for
// itself.
thread_local int recordingOnThisThread = 0;
}  // namespace

FileBusy::Scope::Scope(FileBusy& state) : state_(state) {
    state_.depth_.fetch_add(1);
    const int own = recordingOnThisThread;
    platform::waitFor([this, own] { return state_.recording_.load() <= own; }, u".FileBusy");
}

FileBusy::Scope::~Scope() {
    state_.depth_.fetch_sub(1);
}

FileBusy::Recording::Recording(FileBusy& state) : state_(state) {
    state_.recording_.fetch_add(1);
    admitted_ = state_.depth_.load() == 0;
    if (admitted_) {
        ++recordingOnThisThread;
    } else {
        state_.recording_.fetch_sub(1);
    }
}

FileBusy::Recording::~Recording() {
    if (!admitted_) return;
    --recordingOnThisThread;
    state_.recording_.fetch_sub(1);
}

}  // namespace wendra
