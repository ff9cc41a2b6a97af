// Setting the device clock from the receiver's time and date strings, once each.

#include <algorithm>

#include "gps/NmeaFields.h"
#include "gps/NmeaParser.h"
#include "platform/Clock.h"
#include "records/DayNumber.h"

namespace wendra {

namespace {

constexpr size_t kClockDigits = 6;  // hhmmss or ddmmyy
constexpr int kMaxMillisecond = 999;

bool leadingDigits(std::string_view text, int values[3]) {
    if (text.size() < kClockDigits) return false;
    for (size_t i = 0; i < kClockDigits; ++i)
        if (text[i] < '0' || text[i] > '9') return false;
    for (int i = 0; i < 3; ++i) values[i] = (text[2 * i] - '0') * 10 + (text[2 * i + 1] - '0');
    return true;
}

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace

void NmeaParser::setDeviceTime() {
    int hms[3];
    if (!leadingDigits(receiverTime_, hms) || hms[0] > 23 || hms[1] > 59 || hms[2] > 59) return;
    platform::Clock& clock = platform::clock();
    platform::CivilTime utc = clock.utcNow();
    utc.hour = hms[0];
    utc.minute = hms[1];
    utc.second = hms[2];
    utc.millisecond = 0;
    const std::string_view rest = std::string_view(receiverTime_).substr(kClockDigits);
    if (!rest.empty() && rest[0] == '.') {
        const double fraction = nmea::toDouble(rest);
        utc.millisecond = std::clamp(nmea::roundToInt(fraction * 1000.0), 0, kMaxMillisecond);
    }
    clock.setUtc(utc);
    // Tried once: a clock the program may not set is not asked again every second.
    flags_ |= ParserFlags::kClockTimeSet;
    now_ = currentDayNumber();
}

void NmeaParser::setDeviceDate() {
    int dmy[3];
    if (receiverDate_.size() != kClockDigits || !leadingDigits(receiverDate_, dmy)) return;
    platform::Clock& clock = platform::clock();
    platform::CivilTime utc = clock.utcNow();
    const int year = utc.year / 100 * 100 + dmy[2];
    if (dmy[1] < 1 || dmy[1] > 12 || dmy[0] < 1 || dmy[0] > daysInMonth(year, dmy[1])) return;
    utc.year = year;
    utc.month = dmy[1];
    utc.day = dmy[0];
    clock.setUtc(utc);
    flags_ |= ParserFlags::kClockDateSet;
    now_ = currentDayNumber();
}

}  // namespace wendra
