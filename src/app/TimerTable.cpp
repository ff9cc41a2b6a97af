#include "app/TimerTable.h"

namespace wendra {

TimerTable::Entry* TimerTable::find(const platform::Window* window, int id) {
    for (Entry& entry : entries_)
        if (entry.window == window && entry.id == id) return &entry;
    return nullptr;
}

bool TimerTable::set(platform::Window* window, int id, std::int64_t now, int milliseconds) {
    const std::int64_t due = now + (milliseconds > 0 ? milliseconds : 0);
    if (Entry* existing = find(window, id)) {
        existing->due = due > 0 ? due : 1;
        existing->stamp = -1;
        return true;
    }
    Entry* oldest = nullptr;
    for (Entry& entry : entries_) {
        if (armed(entry)) continue;
        if (!oldest || entry.stamp < oldest->stamp) oldest = &entry;
    }
    if (!oldest) return false;
    *oldest = Entry{window, id, due > 0 ? due : 1, -1};
    return true;
}

// A fired entry keeps its window and id until it is reused, so a cancellation that
// comes after the firing still marks the message on its way as stale.
void TimerTable::cancel(platform::Window* window, int id, std::int64_t now) {
    if (Entry* entry = find(window, id)) {
        entry->due = kCancelled;
        entry->stamp = now;
    }
}

void TimerTable::cancelFirst(platform::Window* window, std::int64_t now) {
    for (Entry& entry : entries_) {
        if (entry.window != window || !armed(entry)) continue;
        entry.due = kCancelled;
        entry.stamp = now;
        return;
    }
}

bool TimerTable::wasCancelled(const platform::Window* window, int id) const {
    for (const Entry& entry : entries_)
        if (entry.window == window && entry.id == id && entry.due == kCancelled) return true;
    return false;
}

std::optional<TimerTable::Firing> TimerTable::takeDue(std::int64_t now) {
    Entry* earliest = nullptr;
    for (Entry& entry : entries_) {
        if (!armed(entry) || entry.due > now) continue;
        if (!earliest || entry.due < earliest->due) earliest = &entry;
    }
    if (!earliest) return std::nullopt;
    earliest->due = kFree;
    earliest->stamp = now;
    return Firing{earliest->window, earliest->id};
}

std::optional<std::int64_t> TimerTable::nextDue() const {
    std::optional<std::int64_t> next;
    for (const Entry& entry : entries_)
        if (armed(entry) && (!next || entry.due < *next)) next = entry.due;
    return next;
}

}  // namespace wendra
