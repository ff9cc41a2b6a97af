#include "NmeaJson.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "Args.h"
#include "records/Text.h"

namespace wendra::tool {

namespace {

// Shortest text that reads back as the same float; JSON has no infinity.
std::string number(float value) {
    if (!std::isfinite(value)) return "null";
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string degrees(double value) {
    if (!std::isfinite(value)) return "null";
    char text[400];
    std::snprintf(text, sizeof text, "%.9f", value);
    return text;
}

}  // namespace

std::string fixJson(const NmeaParser& parser) {
    const Fix& fix = parser.fix();
    return "{\"time\":" + jsonString(toUtf8(widen(parser.receiverTime()))) +
           ",\"lat\":" + degrees(fix.latitude) + ",\"lon\":" + degrees(fix.longitude) +
           ",\"alt\":" + number(fix.altitude) + ",\"speed\":" + number(fix.speed) +
           ",\"course\":" + std::to_string(fix.course) + ",\"signal\":" + number(fix.signal) +
           ",\"flags\":" + std::to_string(parser.flags()) + "}\n";
}

std::string summaryJson(const NmeaParser& parser) {
    std::string line = "{\"sentences\":" + std::to_string(parser.sentenceCount()) +
                       ",\"inView\":" + std::to_string(parser.satellitesInView()) +
                       ",\"dop\":" + number(parser.dilution()) + ",\"satellites\":[";
    bool first = true;
    for (const SatelliteInView& s : parser.satellites()) {
        if (s.prn == 0) continue;  // an empty slot
        if (!first) line += ',';
        first = false;
        line += "{\"prn\":" + std::to_string(s.prn) + ",\"signal\":" + std::to_string(s.signal) +
                ",\"elevation\":" + std::to_string(s.elevation) +
                ",\"azimuth\":" + std::to_string(s.azimuth) + "}";
    }
    return line + "]}\n";
}

}  // namespace wendra::tool
