#pragma once
// The pace of a receiver log: each line is due when the receiver's own clock (the time
// of day in RMC and GGA sentences of any talker) says, divided by the speed-up. Lines
// without a time follow the one before. A step back in time is a cut in the log and
// costs no wait; a silence longer than a minute (logs spliced together, a receiver
// switched off for a while) is played as a minute. Any bytes are safe to feed.

#include <optional>
#include <string_view>

namespace wendra {

class ReplayPacer {
public:
    static constexpr double kMaxStepSeconds = 60.0;

    explicit ReplayPacer(double speed) : speed_(speed) {}

    // Seconds after the start of play at which this line is due; lines are given in
    // log order.
    double due(std::string_view line);
    // A new pass over the log: the next timed line is due at once.
    void restart() { previous_.reset(); }

    // The time of day (seconds) of an RMC or GGA line, if it has a sound one.
    static std::optional<double> receiverSeconds(std::string_view line);

private:
    double speed_;
    double due_ = 0.0;
    std::optional<double> previous_;
};

}  // namespace wendra
