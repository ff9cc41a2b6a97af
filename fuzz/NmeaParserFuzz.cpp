// Feeds arbitrary bytes to the NMEA parser in pieces whose size, and the flags word,
// the input chooses; then checks the promises the parser's readers rely on.
// The clock is a private one: a fuzzer must never set the machine's clock.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "gps/NmeaParser.h"
#include "platform/Clock.h"

namespace {

class FuzzClock final : public wendra::platform::Clock {
public:
    wendra::platform::CivilTime now{2024, 5, 17, 12, 0, 0, 0};
    wendra::platform::CivilTime localNow() const override { return now; }
    wendra::platform::CivilTime utcNow() const override { return now; }
    int32_t utcOffsetSeconds() const override { return 0; }
    bool setUtc(const wendra::platform::CivilTime& utc) override {
        now = utc;
        return true;
    }
};

void check(bool promise) {
    if (!promise) __builtin_trap();
}

void checkState(const wendra::NmeaParser& parser, size_t newlines) {
    check(parser.sentenceCount() >= 0 && static_cast<size_t>(parser.sentenceCount()) <= newlines);
    for (const wendra::SatelliteInView& s : parser.satellites())
        check(s.signal >= -45 && s.signal <= 45);
    check(parser.receiverTime().size() <= wendra::NmeaParser::kReceiverStringMax);
    check(parser.receiverDate().size() <= wendra::NmeaParser::kReceiverStringMax);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    FuzzClock clock;
    wendra::platform::ScopedClock useClock(clock);
    wendra::NmeaParser parser;
    parser.setFlags(data[0] | (data[1] & 0x03) << 8);
    const size_t chunk = data[1] >> 2;  // 0: all at once
    std::string_view rest(reinterpret_cast<const char*>(data) + 2, size - 2);
    parser.loadSettings(rest);

    size_t newlines = 0;
    for (char c : rest) newlines += c == '\n';
    while (!rest.empty()) {
        const std::string_view piece = rest.substr(0, chunk ? chunk : rest.size());
        rest.remove_prefix(piece.size());
        parser.parse(piece);
        clock.now.second = (clock.now.second + 7) % 60;
    }
    checkState(parser, newlines);
    return 0;
}
