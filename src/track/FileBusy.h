#pragma once
// The application's "a track file is being read or written" state. While it is set the
// fix hand-over drops the receiver's chunks, so that no point is added to a layer that
// is being read or written. Setting it waits for a hand-over already changing the
// track to finish. Scopes nest; any thread may test it.

#include <atomic>

namespace wendra {

class FileBusy {
public:
    bool busy() const { return depth_.load() > 0; }

    // Held while a file is read or written.
    class Scope {
    public:
        explicit Scope(FileBusy& state);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        FileBusy& state_;
    };

    // Held by the hand-over while it journals and records a fix; admitted() is false
    // when a file is busy, and the fix must then be dropped.
    class Recording {
    public:
        explicit Recording(FileBusy& state);
        ~Recording();
        Recording(const Recording&) = delete;
        Recording& operator=(const Recording&) = delete;
        bool admitted() const { return admitted_; }

    private:
        FileBusy& state_;
        bool admitted_;
    };

private:
    // Both sides announce themselves before looking at the other (sequentially
    // consistent), so that either the file waits or the hand-over sees it busy.
    std::atomic<int> depth_{0};
    std::atomic<int> recording_{0};
};

}  // namespace wendra
