#pragma once
// The machine's wall clock: local and UTC time, and setting it from the receiver.
// The program reads time only through clock(), so tests can install a fake one.

#include <cstdint>

namespace wendra::platform {

// A calendar instant broken into fields; month 1-12, day 1-31, millisecond 0-999.
struct CivilTime {
    int year = 1601;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;

    bool operator==(const CivilTime&) const = default;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual CivilTime localNow() const = 0;
    virtual CivilTime utcNow() const = 0;
    // Seconds to add to UTC to get local time, now.
    virtual int32_t utcOffsetSeconds() const = 0;
    // Sets the machine's clock; false when the program lacks the right to do so,
    // in which case the clock is left alone.
    virtual bool setUtc(const CivilTime& utc) = 0;
};

// The clock in use: the system clock unless a ScopedClock replaced it.
Clock& clock();
Clock& systemClock();

// Installs another clock for the lifetime of this object (tests, replay).
class ScopedClock {
public:
    explicit ScopedClock(Clock& replacement);
    ~ScopedClock();
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;

private:
    Clock* previous_;
};

}  // namespace wendra::platform
