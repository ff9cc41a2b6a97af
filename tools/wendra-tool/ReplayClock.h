#pragma once
// A clock that follows a receiver log: the UTC time of day of its GGA and RMC
// sentences (any talker), on the date its RMC sentences give. Replaying a log with it
// gives each fix the time it had outdoors. It refuses to be set.

#include <cstdint>
#include <optional>
#include <string_view>

#include "gps/ReplayPlayer.h"
#include "platform/Clock.h"

namespace wendra::tool {

class ReplayClock final : public platform::Clock {
public:
    // The local time is UTC plus this offset (the machine's, by default).
    explicit ReplayClock(int32_t utcOffsetSeconds);

    // Takes the log's first date and time as the starting instant, and rewinds the log;
    // false when no sentence carries a time (the clock then stays at the machine's now).
    bool start(ReplaySource& log);
    // Moves to the time the line carries, if it carries one; a time of day earlier than
    // the last one by more than half a day, without a date, is taken as the next day.
    void follow(std::string_view line);
    // Milliseconds since 1970 (UTC) of the current instant.
    int64_t utcMilliseconds() const { return utcMs_; }

    platform::CivilTime localNow() const override;
    platform::CivilTime utcNow() const override;
    int32_t utcOffsetSeconds() const override { return offsetSeconds_; }
    bool setUtc(const platform::CivilTime&) override { return false; }

private:
    struct Stamp {
        std::optional<int64_t> timeOfDayMs;
        std::optional<int64_t> dayNumber;  // days since 1970-01-01
    };
    static Stamp stampOf(std::string_view line);
    void take(const Stamp& stamp);

    int32_t offsetSeconds_;
    int64_t day_ = 0;
    int64_t timeOfDayMs_ = 0;
    int64_t utcMs_ = 0;
};

}  // namespace wendra::tool
