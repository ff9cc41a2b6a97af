// wendra-tool nmea: runs a receiver log through the program's NMEA parser and prints
// each new fix, then the satellites, as JSON lines. The tool takes over the role of
// the fix hand-over: after printing a fix it clears the new-fix flag.

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "NmeaJson.h"
#include "Verbs.h"
#include "gps/NmeaParser.h"
#include "platform/Clock.h"
#include "records/Text.h"

namespace wendra::tool {

namespace {

struct NmeaOptions {
    size_t chunk = 0;  // 0: one line per call
    int32_t flags = ParserFlags::kInitial;
    float correction = NmeaParser::kDefaultCorrection;
    std::string path;
};

// Decoding a log must never move the machine's clock, whatever --flags asks: reads
// go to the system clock, settings are refused (the parser then gives up, as it does
// on a machine where it lacks the right).
class ReadOnlyClock final : public platform::Clock {
public:
    platform::CivilTime localNow() const override { return platform::systemClock().localNow(); }
    platform::CivilTime utcNow() const override { return platform::systemClock().utcNow(); }
    int32_t utcOffsetSeconds() const override { return platform::systemClock().utcOffsetSeconds(); }
    bool setUtc(const platform::CivilTime&) override { return false; }
};

NmeaOptions parseOptions(const Args& args) {
    NmeaOptions options;
    bool havePath = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--chunk") {
            const long long n = parseInteger(optionValue(args, i), "--chunk");
            if (n < 1) fail("malformed --chunk: \"" + args[i] + "\" (at least 1 byte)");
            options.chunk = static_cast<size_t>(n);
        } else if (arg == "--flags") {
            const long long n = parseInteger(optionValue(args, i), "--flags");
            if (n < std::numeric_limits<int32_t>::min() || n > 0xFFFFFFFFLL)
                fail("malformed --flags: \"" + args[i] + "\" (not a 32-bit word)");
            options.flags = static_cast<int32_t>(static_cast<uint32_t>(n));
        } else if (arg == "--correction") {
            const double m = parseReal(optionValue(args, i), "--correction");
            if (!std::isfinite(m) || std::fabs(m) > std::numeric_limits<float>::max())
                fail("malformed --correction: \"" + args[i] + "\"");
            options.correction = static_cast<float>(m);
        } else if (arg.size() > 1 && arg[0] == '-') {
            fail("nmea: unknown option \"" + arg + "\"");
        } else if (havePath) {
            fail("nmea: more than one input (\"" + options.path + "\", \"" + arg + "\")");
        } else {
            options.path = arg;
            havePath = true;
        }
    }
    if (!havePath) fail("nmea: no input (give a FILE, or - for standard input)");
    return options;
}

std::string readAll(std::FILE* in, const std::string& name) {
    std::string bytes;
    char buffer[1 << 16];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) bytes.append(buffer, n);
    if (std::ferror(in)) fail("cannot read \"" + name + "\": " + std::strerror(errno));
    return bytes;
}

std::string readInput(const std::string& path) {
    if (path == "-") return readAll(stdin, "standard input");
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (!in) fail("cannot read \"" + path + "\": " + std::strerror(errno));
    std::string bytes = readAll(in, path);
    std::fclose(in);
    return bytes;
}

// The next piece to feed: a line with its newline, or `chunk` bytes.
std::string_view nextPiece(std::string_view rest, size_t chunk) {
    if (chunk > 0) return rest.substr(0, chunk);
    const size_t newline = rest.find('\n');
    return rest.substr(0, newline == std::string_view::npos ? rest.size() : newline + 1);
}

}  // namespace

int runNmea(const Args& args) {
    const NmeaOptions options = parseOptions(args);
    const std::string input = readInput(options.path);

    ReadOnlyClock clock;
    platform::ScopedClock useClock(clock);
    NmeaParser parser;
    parser.setFlags(options.flags);
    parser.setCorrection(options.correction);

    std::string out;
    std::string_view rest = input;
    while (!rest.empty()) {
        const std::string_view piece = nextPiece(rest, options.chunk);
        rest.remove_prefix(piece.size());
        parser.parse(piece);
        if (parser.flags() & ParserFlags::kNewFix) {
            out += fixJson(parser);
            parser.setFlags(parser.flags() & ~ParserFlags::kNewFix);
        }
        if (out.size() > (1u << 16)) {
            std::fwrite(out.data(), 1, out.size(), stdout);
            out.clear();
        }
    }
    out += summaryJson(parser);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace wendra::tool
