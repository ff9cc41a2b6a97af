#pragma once
// The application state that the fix hand-over reads and writes, shared between the
// GPS reader thread and the window thread (hence atomics). The shell will own it.

#include <atomic>

namespace wendra {

// How the current position is shown on the map.
enum class PositionMark {
    NotShown,  // no position since the GPS was switched on (again)
    NoFix,     // the receiver speaks but has no fix
    Shown,
};

struct HandOverState {
    static constexpr int kReconnectAllowance = 3;

    std::atomic<PositionMark> position{PositionMark::NotShown};
    // Day numbers of the last valid fix and of the last sentence from a receiver, for
    // the no-fix and no-signal checks.
    std::atomic<double> lastFixTime{0.0};
    std::atomic<double> lastSignalTime{0.0};
    // Reconnections still allowed after the signal was lost.
    std::atomic<int> reconnectAllowance{kReconnectAllowance};
    // The user drags the map: the view redraws quickly by itself, no repaint requests.
    std::atomic<bool> quickDraw{false};
    // The journal held fixes at start-up: the Automatic delete rule stays off this run.
    std::atomic<bool> recoveryPending{false};
};

}  // namespace wendra
