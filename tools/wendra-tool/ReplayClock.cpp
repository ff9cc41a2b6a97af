#include "ReplayClock.h"

#include <chrono>

namespace wendra::tool {

namespace {

constexpr int64_t kMsPerDay = 86400000;
constexpr int64_t kHalfDayMs = kMsPerDay / 2;

bool allDigits(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

int twoDigits(std::string_view text, size_t at) {
    return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

// "hhmmss" or "hhmmss.sss".
std::optional<int64_t> timeOfDay(std::string_view field) {
    if (field.size() < 6 || !allDigits(field.substr(0, 6))) return std::nullopt;
    const int h = twoDigits(field, 0);
    const int m = twoDigits(field, 2);
    const int s = twoDigits(field, 4);
    if (h > 23 || m > 59 || s > 60) return std::nullopt;
    int64_t ms = 0;
    if (field.size() > 7 && field[6] == '.') {
        const std::string_view fraction = field.substr(7, 3);
        if (!allDigits(fraction)) return std::nullopt;
        for (size_t i = 0; i < 3; ++i) ms = ms * 10 + (i < fraction.size() ? fraction[i] - '0' : 0);
    }
    return ((h * 60 + m) * 60 + s) * int64_t{1000} + ms;
}

// "ddmmyy"; years from 80 on are the 1900s, as receivers of that time meant them.
std::optional<int64_t> dayOf(std::string_view field) {
    if (field.size() != 6 || !allDigits(field)) return std::nullopt;
    const int yy = twoDigits(field, 4);
    const std::chrono::year_month_day date{
        std::chrono::year(yy >= 80 ? 1900 + yy : 2000 + yy),
        std::chrono::month(static_cast<unsigned>(twoDigits(field, 2))),
        std::chrono::day(static_cast<unsigned>(twoDigits(field, 0)))};
    if (!date.ok()) return std::nullopt;
    return std::chrono::sys_days(date).time_since_epoch().count();
}

std::string_view field(std::string_view sentence, size_t index) {
    size_t start = 0;
    for (size_t i = 0; i < index; ++i) {
        const size_t comma = sentence.find(',', start);
        if (comma == std::string_view::npos) return {};
        start = comma + 1;
    }
    const size_t end = sentence.find_first_of(",*", start);
    return sentence.substr(start,
                           end == std::string_view::npos ? std::string_view::npos : end - start);
}

platform::CivilTime civilOf(int64_t ms) {
    using namespace std::chrono;
    const sys_time<milliseconds> instant{milliseconds(ms)};
    const sys_days day = floor<days>(instant);
    const year_month_day date(day);
    const hh_mm_ss time(instant - day);
    return {static_cast<int>(date.year()),
            static_cast<int>(unsigned(date.month())),
            static_cast<int>(unsigned(date.day())),
            static_cast<int>(time.hours().count()),
            static_cast<int>(time.minutes().count()),
            static_cast<int>(time.seconds().count()),
            static_cast<int>(time.subseconds().count())};
}

}  // namespace

ReplayClock::ReplayClock(int32_t utcOffsetSeconds) : offsetSeconds_(utcOffsetSeconds) {
    using namespace std::chrono;
    utcMs_ = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    day_ = utcMs_ / kMsPerDay;
    timeOfDayMs_ = utcMs_ % kMsPerDay;
}

ReplayClock::Stamp ReplayClock::stampOf(std::string_view line) {
    const size_t dollar = line.find('$');
    if (dollar == std::string_view::npos) return {};
    const std::string_view sentence = line.substr(dollar);
    const std::string_view address = field(sentence, 0);
    if (address.size() != 6) return {};
    const std::string_view type = address.substr(3);
    Stamp stamp;
    if (type == "GGA" || type == "RMC") stamp.timeOfDayMs = timeOfDay(field(sentence, 1));
    if (type == "RMC") stamp.dayNumber = dayOf(field(sentence, 9));
    return stamp;
}

bool ReplayClock::start(ReplaySource& log) {
    std::optional<int64_t> firstDay;
    std::optional<int64_t> firstTime;
    while (!(firstDay && firstTime)) {
        const std::optional<std::string> line = log.nextLine();
        if (!line) break;
        const Stamp stamp = stampOf(*line);
        if (!firstDay) firstDay = stamp.dayNumber;
        if (!firstTime) firstTime = stamp.timeOfDayMs;
    }
    log.rewind();
    if (!firstTime) return false;
    if (firstDay) day_ = *firstDay;
    timeOfDayMs_ = *firstTime;
    utcMs_ = day_ * kMsPerDay + timeOfDayMs_;
    return true;
}

void ReplayClock::follow(std::string_view line) {
    take(stampOf(line));
}

void ReplayClock::take(const Stamp& stamp) {
    if (stamp.dayNumber) {
        day_ = *stamp.dayNumber;
    } else if (stamp.timeOfDayMs && *stamp.timeOfDayMs < timeOfDayMs_ - kHalfDayMs) {
        ++day_;  // past midnight, before the next RMC says so
    }
    if (stamp.timeOfDayMs) timeOfDayMs_ = *stamp.timeOfDayMs;
    utcMs_ = day_ * kMsPerDay + timeOfDayMs_;
}

platform::CivilTime ReplayClock::localNow() const {
    return civilOf(utcMs_ + int64_t{offsetSeconds_} * 1000);
}

platform::CivilTime ReplayClock::utcNow() const {
    return civilOf(utcMs_);
}

}  // namespace wendra::tool
