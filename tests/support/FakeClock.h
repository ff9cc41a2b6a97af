#pragma once
// A clock that tests set by hand; it records every attempt to set it.

#include <vector>

#include "platform/Clock.h"

namespace wendra::test {

class FakeClock final : public platform::Clock {
public:
    platform::CivilTime local{2024, 5, 17, 12, 0, 0, 0};
    int32_t offsetSeconds = 0;
    bool allowSetting = true;
    std::vector<platform::CivilTime> settings;

    platform::CivilTime localNow() const override { return local; }
    platform::CivilTime utcNow() const override;
    int32_t utcOffsetSeconds() const override { return offsetSeconds; }
    bool setUtc(const platform::CivilTime& utc) override;

    // Moves the local time forward (or back) by whole milliseconds.
    void advanceMilliseconds(long long ms);
};

}  // namespace wendra::test
