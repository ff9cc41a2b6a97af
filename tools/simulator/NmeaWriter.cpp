#include "simulator/NmeaWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "records/ClassicNumbers.h"

namespace wendra::sim {

namespace {

constexpr double kKnotKmh = 1.852;
constexpr size_t kUsedSlots = 12;
constexpr size_t kSatellitesPerGsv = 4;
// Ten-thousandths of a minute: the four decimals SiRF receivers give.
constexpr long long kUnitsPerDegree = 60LL * 10000;

template <typename... Values>
std::string format(const char* pattern, Values... values) {
    const ClassicLocaleScope classic;  // sentences carry a '.' whatever the locale
    char buffer[96];
    const int length = std::snprintf(buffer, sizeof buffer, pattern, values...);
    return std::string(buffer, static_cast<size_t>(std::clamp(length, 0, 95)));
}

std::string timeField(UtcSeconds utc) {
    const auto day = std::chrono::floor<std::chrono::days>(utc);
    const std::chrono::hh_mm_ss clock{utc - day};
    return format("%02d%02d%02d.000", static_cast<int>(clock.hours().count()),
                  static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()));
}

std::string dateField(UtcSeconds utc) {
    const std::chrono::year_month_day date{std::chrono::floor<std::chrono::days>(utc)};
    return format("%02u%02u%02d", static_cast<unsigned>(date.day()),
                  static_cast<unsigned>(date.month()), static_cast<int>(date.year()) % 100);
}

// ddmm.mmmm,N or dddmm.mmmm,E: rounding in whole units keeps 59.99995' from
// printing as 60.0000'.
std::string coordinateFields(double degrees, int degreeDigits, char positive, char negative) {
    const long long units = std::llround(std::abs(degrees) * kUnitsPerDegree);
    const long long whole = units / kUnitsPerDegree, rest = units % kUnitsPerDegree;
    return format("%0*lld%02lld.%04lld,%c", degreeDigits, whole, rest / 10000, rest % 10000,
                  degrees < 0.0 ? negative : positive);
}

std::string gga(const ReceiverReport& r) {
    const std::string time = timeField(r.utc);
    if (!r.fix) return "GPGGA," + time + ",,,,,0,00,,,M,0.0,M,,0000";
    return "GPGGA," + time + "," + coordinateFields(r.latitude, 2, 'N', 'S') + "," +
           coordinateFields(r.longitude, 3, 'E', 'W') +
           format(",1,%02d,%.1f,%.1f,M,%.1f,M,,0000", static_cast<int>(r.used.size()),
                  r.dop.horizontal, r.altitude, r.geoidSeparation);
}

std::string gsa(const ReceiverReport& r) {
    std::string body = r.fix ? "GPGSA,A,3" : "GPGSA,A,1";
    for (size_t slot = 0; slot < kUsedSlots; ++slot) {
        body += ',';
        if (r.fix && slot < r.used.size()) body += format("%02d", r.used[slot]);
    }
    if (!r.fix) return body + ",,,";
    return body + format(",%.1f,%.1f,%.1f", r.dop.position, r.dop.horizontal, r.dop.vertical);
}

std::string gsvGroup(const ReceiverReport& r) {
    const size_t count = r.inView.size();
    const size_t messages =
        std::max<size_t>(1, (count + kSatellitesPerGsv - 1) / kSatellitesPerGsv);
    std::string group;
    for (size_t k = 0; k < messages; ++k) {
        std::string body = format("GPGSV,%zu,%zu,%02zu", messages, k + 1, count);
        const size_t end = std::min(count, (k + 1) * kSatellitesPerGsv);
        for (size_t i = k * kSatellitesPerGsv; i < end; ++i) {
            const SatelliteReport& sat = r.inView[i];
            body += format(",%02d,%02d,%03d,", sat.prn, sat.elevation, sat.azimuth);
            if (sat.snr > 0) body += format("%02d", sat.snr);
        }
        group += framedSentence(body);
    }
    return group;
}

std::string courseField(const ReceiverReport& r) {
    if (!r.course) return {};
    // Hundredths, so that 359.996 degrees is written as 0.00 rather than 360.00.
    const long long hundredths = std::llround(*r.course * 100.0) % 36000;
    return format("%lld.%02lld", hundredths / 100, hundredths % 100);
}

std::string rmc(const ReceiverReport& r) {
    const std::string time = timeField(r.utc), date = dateField(r.utc);
    if (!r.fix) return "GPRMC," + time + ",V,,,,,,," + date + ",,,N";
    return "GPRMC," + time + ",A," + coordinateFields(r.latitude, 2, 'N', 'S') + "," +
           coordinateFields(r.longitude, 3, 'E', 'W') + format(",%.2f,", r.speedKmh / kKnotKmh) +
           courseField(r) + "," + date + ",,,A";
}

std::string vtg(const ReceiverReport& r) {
    if (!r.fix) return "GPVTG,,T,,M,,N,,K,N";
    return "GPVTG," + courseField(r) +
           format(",T,,M,%.2f,N,%.1f,K,A", r.speedKmh / kKnotKmh, r.speedKmh);
}

}  // namespace

std::string framedSentence(std::string_view body) {
    unsigned char sum = 0;
    for (char c : body) sum ^= static_cast<unsigned char>(c);
    std::string sentence;
    sentence.reserve(body.size() + 6);
    sentence += '$';
    sentence += body;
    sentence += format("*%02X\r\n", static_cast<unsigned>(sum));
    return sentence;
}

std::string formatCycle(const ReceiverReport& report) {
    return framedSentence(gga(report)) + framedSentence(gsa(report)) + gsvGroup(report) +
           framedSentence(rmc(report)) + framedSentence(vtg(report));
}

}  // namespace wendra::sim
