#include "gps/ReplayPacer.h"

#include <algorithm>
#include <cctype>

namespace wendra {

namespace {

constexpr double kDaySeconds = 86400.0;
constexpr size_t kAddressBytes = 6;  // "$GPRMC"
constexpr size_t kTimeDigits = 6;    // hhmmss
constexpr size_t kMaxFractionDigits = 6;

bool digitsAt(std::string_view text, size_t from, size_t count) {
    if (text.size() < from + count) return false;
    for (size_t i = from; i < from + count; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    }
    return true;
}

int twoDigits(std::string_view text, size_t at) {
    return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

}  // namespace

std::optional<double> ReplayPacer::receiverSeconds(std::string_view line) {
    const size_t dollar = line.find('$');
    if (dollar == std::string_view::npos) return std::nullopt;
    line.remove_prefix(dollar);
    if (line.size() < kAddressBytes + 1 || line[kAddressBytes] != ',') return std::nullopt;
    const std::string_view kind = line.substr(3, 3);
    if (kind != "RMC" && kind != "GGA") return std::nullopt;
    const std::string_view time = line.substr(kAddressBytes + 1);
    if (!digitsAt(time, 0, kTimeDigits)) return std::nullopt;
    const int hours = twoDigits(time, 0), minutes = twoDigits(time, 2),
              seconds = twoDigits(time, 4);
    if (hours > 23 || minutes > 59 || seconds > 60) return std::nullopt;
    double value = hours * 3600.0 + minutes * 60.0 + seconds;
    if (time.size() > kTimeDigits && time[kTimeDigits] == '.') {
        double scale = 0.1;
        for (size_t i = kTimeDigits + 1; i < time.size() && i <= kTimeDigits + kMaxFractionDigits &&
                                         std::isdigit(static_cast<unsigned char>(time[i]));
             ++i, scale /= 10.0)
            value += (time[i] - '0') * scale;
    }
    return value;
}

double ReplayPacer::due(std::string_view line) {
    const std::optional<double> seconds = receiverSeconds(line);
    if (!seconds) return due_;
    if (previous_) {
        double step = *seconds - *previous_;
        if (step < -kDaySeconds / 2) step += kDaySeconds;  // past midnight
        if (step > 0.0) due_ += std::min(step, kMaxStepSeconds) / speed_;
    }
    previous_ = seconds;
    return due_;
}

}  // namespace wendra
