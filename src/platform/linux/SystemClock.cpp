// The Linux wall clock: clock_gettime for reading, localtime_r for the zone,
// clock_settime for setting (needs CAP_SYS_TIME; without it nothing changes).

#include <ctime>

#include "platform/Clock.h"

namespace wendra::platform {

namespace {

CivilTime fromTm(const std::tm& tm, long nanoseconds) {
    return CivilTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
                     tm.tm_min,         tm.tm_sec,     static_cast<int>(nanoseconds / 1000000)};
}

class SystemClock final : public Clock {
public:
    CivilTime localNow() const override {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        std::tm tm{};
        localtime_r(&now.tv_sec, &tm);
        return fromTm(tm, now.tv_nsec);
    }

    CivilTime utcNow() const override {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        std::tm tm{};
        gmtime_r(&now.tv_sec, &tm);
        return fromTm(tm, now.tv_nsec);
    }

    int32_t utcOffsetSeconds() const override {
        std::time_t now = std::time(nullptr);
        std::tm tm{};
        localtime_r(&now, &tm);
        return static_cast<int32_t>(tm.tm_gmtoff);
    }

    bool setUtc(const CivilTime& utc) override {
        std::tm tm{};
        tm.tm_year = utc.year - 1900;
        tm.tm_mon = utc.month - 1;
        tm.tm_mday = utc.day;
        tm.tm_hour = utc.hour;
        tm.tm_min = utc.minute;
        tm.tm_sec = utc.second;
        const std::time_t seconds = timegm(&tm);
        if (seconds == static_cast<std::time_t>(-1)) return false;
        const timespec target{seconds, static_cast<long>(utc.millisecond) * 1000000L};
        return clock_settime(CLOCK_REALTIME, &target) == 0;
    }
};

}  // namespace

Clock& systemClock() {
    static SystemClock instance;
    return instance;
}

}  // namespace wendra::platform
