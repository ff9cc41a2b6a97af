#include "track/TrackLock.h"

#include <string>

namespace wendra {

void TrackLock::acquire(const char16_t* label) {
    constexpr std::uint32_t bit = platform::LockWord::kTrackLock;
    if (!word_.tryLock(bit)) {
        // The full label is built only when the lock is contended.
        std::u16string waitLabel(kLabelPrefix);
        waitLabel += label;
        platform::waitFor([this] { return word_.tryLock(bit); }, waitLabel);
    }
    owner_.store(label, std::memory_order_relaxed);
}

void TrackLock::release() {
    owner_.store(nullptr, std::memory_order_relaxed);
    word_.unlock(platform::LockWord::kTrackLock);
}

std::u16string_view TrackLock::ownerLabel() const {
    const char16_t* label = owner_.load(std::memory_order_relaxed);
    return label ? std::u16string_view(label) : std::u16string_view();
}

}  // namespace wendra
