#pragma once
// The 32 software timers of the program: which window gets which timer id when. A due
// tick of 0 marks a free entry, -1 a cancelled one; the stamp is the tick of the last
// firing or cancellation, so a freed entry is reused oldest first. Not thread-safe:
// TimerService guards it.

#include <array>
#include <cstdint>
#include <optional>

namespace wendra::platform {
class Window;
}

namespace wendra {

class TimerTable {
public:
    static constexpr int kEntries = 32;
    static constexpr std::int64_t kFree = 0;
    static constexpr std::int64_t kCancelled = -1;

    struct Entry {
        platform::Window* window = nullptr;
        int id = 0;
        std::int64_t due = kFree;
        std::int64_t stamp = 0;
    };
    struct Firing {
        platform::Window* window;
        int id;
    };

    // Ticks are milliseconds of a monotonic clock, always above 0.
    void clear() { entries_ = {}; }
    // Re-arms the window's timer when it has one; otherwise takes the free entry with
    // the oldest stamp. False when all 32 are busy (the timer is then not armed).
    bool set(platform::Window* window, int id, std::int64_t now, int milliseconds);
    void cancel(platform::Window* window, int id, std::int64_t now);
    // Cancels the window's armed timer that sits first in the table.
    void cancelFirst(platform::Window* window, std::int64_t now);
    // True when the timer was cancelled (and not armed again) since it last fired: its
    // message, if one is still on its way, is to be ignored.
    bool wasCancelled(const platform::Window* window, int id) const;
    // The earliest armed timer due at `now`, marked fired; nothing when none is due.
    std::optional<Firing> takeDue(std::int64_t now);
    // The earliest due tick of an armed timer.
    std::optional<std::int64_t> nextDue() const;

    const Entry& entry(int index) const { return entries_[static_cast<std::size_t>(index)]; }

private:
    static bool armed(const Entry& entry) { return entry.due > 0; }
    Entry* find(const platform::Window* window, int id);

    std::array<Entry, kEntries> entries_{};
};

}  // namespace wendra
