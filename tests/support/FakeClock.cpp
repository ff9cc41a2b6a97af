#include "support/FakeClock.h"

#include <ctime>

namespace wendra::test {

namespace {

long long toEpochMs(const platform::CivilTime& t) {
    std::tm tm{};
    tm.tm_year = t.year - 1900;
    tm.tm_mon = t.month - 1;
    tm.tm_mday = t.day;
    tm.tm_hour = t.hour;
    tm.tm_min = t.minute;
    tm.tm_sec = t.second;
    return static_cast<long long>(timegm(&tm)) * 1000 + t.millisecond;
}

platform::CivilTime fromEpochMs(long long ms) {
    long long seconds = ms / 1000;
    long long rest = ms % 1000;
    if (rest < 0) {
        rest += 1000;
        --seconds;
    }
    const std::time_t s = static_cast<std::time_t>(seconds);
    std::tm tm{};
    gmtime_r(&s, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
            tm.tm_min,         tm.tm_sec,     static_cast<int>(rest)};
}

}  // namespace

platform::CivilTime FakeClock::utcNow() const {
    return fromEpochMs(toEpochMs(local) - static_cast<long long>(offsetSeconds) * 1000);
}

bool FakeClock::setUtc(const platform::CivilTime& utc) {
    settings.push_back(utc);
    if (!allowSetting) return false;
    local = fromEpochMs(toEpochMs(utc) + static_cast<long long>(offsetSeconds) * 1000);
    return true;
}

void FakeClock::advanceMilliseconds(long long ms) { local = fromEpochMs(toEpochMs(local) + ms); }

}  // namespace wendra::test
