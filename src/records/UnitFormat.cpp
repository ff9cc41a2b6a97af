#include "records/UnitFormat.h"

#include <cmath>
#include <cstdio>

#include "records/DayNumber.h"
#include "records/RecordWriter.h"
#include "records/WidePrintf.h"

namespace wendra {

namespace {

constexpr float kKmToMiles = 0.62137f;
constexpr float kKmToNauticalMiles = 0.53997f;
constexpr float kMetresToFeet = 3.28083f;
constexpr double kMetresToFeetExact = 3.28083;  // the altitude keeps double precision
constexpr double kOneDecimalBelow = 9.95;
constexpr double kHoursPerDay = 24.0;
constexpr int64_t kLargestBytes = 1023;
constexpr int64_t kLargestKilobytes = 1048575;
constexpr size_t kByteSizeDigits = 4;
// Beyond this many days a duration is the no-value marker or garbage; it also keeps
// the hour count well inside an int.
constexpr double kLongestDuration = 999999.0;

struct SpeedUnit {
    const char* speed;
    const char* pace;
    float factor;
};

constexpr SpeedUnit kSpeedUnits[kUnitSystemCount] = {
    {"km/h", "/km", 1.0f},
    {"mi/h", "/mi", kKmToMiles},
    {"nd", "/nd", kKmToNauticalMiles},
    {"km/h", "/km", 1.0f},
};

bool isSystem(int unitSystem) {
    return unitSystem >= 0 && unitSystem < kUnitSystemCount;
}

// Infinities and NaN count as "no value" too.
bool hasValue(float value) {
    return value < kNoValue && std::isfinite(value);
}

void appendByMagnitude(std::u16string& out, float value, const char* unit, bool forceOneDecimal) {
    if (forceOneDecimal || std::fabs(value) < kOneDecimalBelow)
        appendPrintf(out, "%0.1f%s", value, unit);
    else
        appendPrintf(out, "%0.0f%s", value, unit);
}

void appendMetricDistance(std::u16string& out, float km) {
    if (km < 1.0f)
        appendPrintf(out, "%0.0fm", km * 1000.0f);
    else if (km < 10.0f)
        appendPrintf(out, "%0.2fkm", km);
    else if (km < 100.0f)
        appendPrintf(out, "%0.1fkm", km);
    else
        appendPrintf(out, "%0.0fkm", km);
}

void appendLargeUnit(std::u16string& out, float value, const char* unit) {
    const char* format = value < 1.0f     ? "%0.3f%s"
                         : value < 10.0f  ? "%0.2f%s"
                         : value < 100.0f ? "%0.1f%s"
                                          : "%0.0f%s";
    appendPrintf(out, format, value, unit);
}

void appendStatuteDistance(std::u16string& out, float km, int unitChoice) {
    const float miles = km * kKmToMiles;
    if (unitChoice == 1 || (unitChoice != -1 && miles < 0.1f))
        appendPrintf(out, "%0.0fft", (miles / kKmToMiles) * kMetresToFeet * 1000.0f);
    else
        appendLargeUnit(out, miles, "mi");
}

void appendNauticalDistance(std::u16string& out, float km, int unitChoice) {
    const float nauticalMiles = km * kKmToNauticalMiles;
    if (unitChoice == -1 || (unitChoice != 1 && nauticalMiles >= 0.1f))
        appendLargeUnit(out, nauticalMiles, "mn");
    else
        appendPrintf(out, "%0.0fm", (nauticalMiles / kKmToNauticalMiles) * 1000.0f);
}

// Hours, minutes and seconds of a non-negative number of days, seconds rounded and
// carried so that 59.6 s never shows as 60.
struct ClockParts {
    int hours;
    int minutes;
    int seconds;
};

ClockParts splitDays(double days) {
    const double totalHours = days * kHoursPerDay;
    ClockParts clock{static_cast<int>(totalHours), 0, 0};
    const double minutesLeft = (totalHours - clock.hours) * 60.0;
    clock.minutes = static_cast<int>(minutesLeft);
    const double secondsLeft = (minutesLeft - clock.minutes) * 60.0;
    clock.seconds = static_cast<int>(secondsLeft);
    if (secondsLeft - clock.seconds > 0.5) ++clock.seconds;
    if (clock.seconds > 59) {
        clock.seconds -= 60;
        ++clock.minutes;
    }
    if (clock.minutes > 59) {
        clock.minutes -= 60;
        ++clock.hours;
    }
    return clock;
}

void appendClock(std::u16string& out, const ClockParts& clock, bool shortForm) {
    if (shortForm) {
        if (clock.hours > 0)
            appendPrintf(out, "%0d:%02dmn", clock.hours, clock.minutes);
        else if (clock.minutes > 0)
            appendPrintf(out, "%0dmn", clock.minutes);
        else
            appendPrintf(out, "<1mn");
    } else if (clock.hours > 0) {
        appendPrintf(out, "%0d:%02d:%02ds", clock.hours, clock.minutes, clock.seconds);
    } else if (clock.minutes > 0) {
        appendPrintf(out, "%0d'%02ds", clock.minutes, clock.seconds);
    } else {
        appendPrintf(out, "%0ds", clock.seconds);
    }
}

}  // namespace

void appendSpeed(std::u16string& out, float kmh, int unitSystem, bool forceOneDecimal) {
    if (!hasValue(kmh) || !isSystem(unitSystem)) return;
    const SpeedUnit& unit = kSpeedUnits[unitSystem];
    appendByMagnitude(out, kmh * unit.factor, unit.speed, forceOneDecimal);
}

void appendPace(std::u16string& out, float kmh, int unitSystem) {
    if (!hasValue(kmh) || kmh == 0.0f || !isSystem(unitSystem)) return;
    const SpeedUnit& unit = kSpeedUnits[unitSystem];
    const float speed = kmh * unit.factor;
    if (speed == 0.0f) return;  // a denormal speed that the factor took to zero
    const double days = (1.0 / kHoursPerDay) / speed;
    if (!(std::fabs(days) < kLongestDuration)) return;
    appendDuration(out, days, kDurationElapsed, false);
    appendPrintf(out, "%s", unit.pace);
}

void appendDistance(std::u16string& out, float km, int unitSystem, int unitChoice) {
    if (km == kNoValue || !std::isfinite(km)) return;
    switch (unitSystem) {
        case 0:
        case 3:
            appendMetricDistance(out, km);
            break;
        case 1:
            appendStatuteDistance(out, km, unitChoice);
            break;
        case 2:
            appendNauticalDistance(out, km, unitChoice);
            break;
        default:
            break;
    }
}

void appendAltitude(std::u16string& out, float metres, int unitSystem) {
    if (!hasValue(metres) || !isSystem(unitSystem)) return;
    if (unitSystem == 0)
        appendPrintf(out, "%0.0fm", static_cast<double>(metres));
    else
        appendPrintf(out, "%0.0fft", metres * kMetresToFeetExact);
}

void appendClimbSpeed(std::u16string& out, float metresPerMinute, int unitSystem) {
    if (!hasValue(metresPerMinute) || !isSystem(unitSystem)) return;
    if (unitSystem == 0)
        appendByMagnitude(out, metresPerMinute, "m/mn", false);
    else
        appendByMagnitude(out, metresPerMinute * kMetresToFeet, "ft/mn", false);
}

void appendNumber(std::u16string& out, float value, bool forceOneDecimal) {
    if (hasValue(value)) appendByMagnitude(out, value, "", forceOneDecimal);
}

void appendPercentage(std::u16string& out, float percent, bool forceOneDecimal) {
    if (hasValue(percent)) appendByMagnitude(out, percent, "%", forceOneDecimal);
}

void appendSignalLevel(std::u16string& out, float decibels) {
    if (hasValue(decibels)) appendPrintf(out, "%0.1fdB", static_cast<double>(decibels));
}

void appendByteSize(std::u16string& out, int64_t bytes) {
    if (bytes <= kLargestBytes) {
        appendPrintf(out, "%lld b", static_cast<long long>(bytes));
        return;
    }
    const bool megabytes = bytes > kLargestKilobytes;
    const double scaled = static_cast<double>(bytes) / 1024.0 / (megabytes ? 1024.0 : 1.0);
    std::string digits = formatRecord("%0.03f", scaled);
    if (digits.size() > kByteSizeDigits) digits.resize(kByteSizeDigits);
    if (digits.size() == kByteSizeDigits && digits.back() == '.') digits.pop_back();
    appendPrintf(out, "%s%s", digits.c_str(), megabytes ? " Mb" : " Kb");
}

void appendDuration(std::u16string& out, double days, int mode, bool shortForm) {
    if (!(std::fabs(days) < kLongestDuration)) return;
    const bool clockTime = mode == kClockTimeWithDay || mode == kClockTimeOnly;
    int dayOffset = 0;
    if (clockTime) {
        if (days == 0.0) return;
        // floor, not truncation: a Day number before the origin still has its time of
        // day counted forward from midnight.
        const double day = std::floor(days);
        if (mode == kClockTimeWithDay) {
            const double today = std::floor(currentDayNumber());
            if (std::fabs(day - today) < kLongestDuration)
                dayOffset = static_cast<int>(day - today);
        }
        days -= day;
    }
    if (days < 0.0) {
        out.push_back(u'-');
        days = -days;
    }
    appendClock(out, splitDays(days), shortForm);
    if (dayOffset < 0) appendPrintf(out, " j%d", dayOffset);
    if (dayOffset > 0) appendPrintf(out, " j+%d", dayOffset);
}

// The twins that start from an empty text.
void formatSpeed(std::u16string& out, float kmh, int unitSystem, bool forceOneDecimal) {
    out.clear();
    appendSpeed(out, kmh, unitSystem, forceOneDecimal);
}

void formatPace(std::u16string& out, float kmh, int unitSystem) {
    out.clear();
    appendPace(out, kmh, unitSystem);
}

void formatDistance(std::u16string& out, float km, int unitSystem, int unitChoice) {
    out.clear();
    appendDistance(out, km, unitSystem, unitChoice);
}

void formatAltitude(std::u16string& out, float metres, int unitSystem) {
    out.clear();
    appendAltitude(out, metres, unitSystem);
}

void formatClimbSpeed(std::u16string& out, float metresPerMinute, int unitSystem) {
    out.clear();
    appendClimbSpeed(out, metresPerMinute, unitSystem);
}

void formatNumber(std::u16string& out, float value, bool forceOneDecimal) {
    out.clear();
    appendNumber(out, value, forceOneDecimal);
}

void formatPercentage(std::u16string& out, float percent, bool forceOneDecimal) {
    out.clear();
    appendPercentage(out, percent, forceOneDecimal);
}

void formatSignalLevel(std::u16string& out, float decibels) {
    out.clear();
    appendSignalLevel(out, decibels);
}

void formatByteSize(std::u16string& out, int64_t bytes) {
    out.clear();
    appendByteSize(out, bytes);
}

void formatDuration(std::u16string& out, double days, int mode, bool shortForm) {
    out.clear();
    appendDuration(out, days, mode, shortForm);
}

}  // namespace wendra
