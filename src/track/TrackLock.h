#pragma once
// The track lock: a bit of the application's lock word taken with the sync protocol
// under ".TraceSetWait." + the operation's label, which is kept as the owner label
// while held. Not re-entrant: an operation that holds it calls the *Held variants.

#include <atomic>
#include <string_view>

#include "platform/Sync.h"

namespace wendra {

class TrackLock {
public:
    static constexpr std::u16string_view kLabelPrefix = u".TraceSetWait.";

    explicit TrackLock(platform::LockWord& word) : word_(word) {}

    // label: the operation's label (".Add.1", ".Pack", ...), a string with static
    // storage, since it is kept as the owner label while the lock is held.
    void acquire(const char16_t* label);
    // Also what the GPS close does after stopping a reader that may have held it.
    void release();
    bool held() const { return word_.test(platform::LockWord::kTrackLock); }
    // The label of the holder, empty when free.
    std::u16string_view ownerLabel() const;

    platform::LockWord& word() { return word_; }

    // Holds the lock for a scope.
    class Hold {
    public:
        Hold(TrackLock& lock, const char16_t* label) : lock_(lock) { lock_.acquire(label); }
        ~Hold() { lock_.release(); }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        TrackLock& lock_;
    };

private:
    platform::LockWord& word_;
    std::atomic<const char16_t*> owner_{nullptr};
};

}  // namespace wendra
