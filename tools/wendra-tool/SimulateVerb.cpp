// wendra-tool simulate: writes the simulated receiver log, cycle by cycle, to a
// file or to standard output, and on request a calibrated map of the walk's ground.

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

#include "DemoMap.h"
#include "Verbs.h"
#include "platform/ReplacingFile.h"
#include "simulator/NmeaSimulator.h"

namespace wendra::tool {

namespace {

using sim::UtcSeconds;

constexpr std::string_view kInstantPattern = "dddd-dd-ddTdd:dd:ddZ";

int digitsAt(std::string_view text, size_t at, size_t count) {
    int value = 0;
    for (size_t i = at; i < at + count; ++i) value = value * 10 + (text[i] - '0');
    return value;
}

std::optional<UtcSeconds> parseInstant(std::string_view text) {
    if (text.size() != kInstantPattern.size()) return std::nullopt;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool digit = std::isdigit(static_cast<unsigned char>(text[i])) != 0;
        if (kInstantPattern[i] == 'd' ? !digit : text[i] != kInstantPattern[i]) return std::nullopt;
    }
    const std::chrono::year_month_day date{std::chrono::year{digitsAt(text, 0, 4)},
                                           std::chrono::month{unsigned(digitsAt(text, 5, 2))},
                                           std::chrono::day{unsigned(digitsAt(text, 8, 2))}};
    const int hours = digitsAt(text, 11, 2), minutes = digitsAt(text, 14, 2),
              seconds = digitsAt(text, 17, 2);
    if (!date.ok() || hours > 23 || minutes > 59 || seconds > 59) return std::nullopt;
    return std::chrono::sys_days{date} + std::chrono::hours{hours} + std::chrono::minutes{minutes} +
           std::chrono::seconds{seconds};
}

struct Request {
    sim::SimulationOptions options;
    std::string out;
    std::string map;  // FILE.jpg, with FILE.map beside it
};

bool endsWithJpg(const std::string& name) {
    if (name.size() <= 4) return false;
    std::string extension = name.substr(name.size() - 4);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".jpg";
}

Request parseRequest(const Args& args) {
    Request request;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--seconds") {
            const long long seconds = parseInteger(optionValue(args, i), "--seconds");
            if (seconds < 1 || seconds > sim::kMaxSeconds)
                fail("--seconds must be between 1 and " + std::to_string(sim::kMaxSeconds));
            request.options.seconds = static_cast<int>(seconds);
        } else if (option == "--seed") {
            const long long seed = parseInteger(optionValue(args, i), "--seed");
            if (seed < 0) fail("--seed must not be negative");
            request.options.seed = static_cast<std::uint64_t>(seed);
        } else if (option == "--start") {
            const std::string& text = optionValue(args, i);
            const std::optional<UtcSeconds> start = parseInstant(text);
            if (!start) fail("malformed --start: \"" + text + "\" (expected YYYY-MM-DDTHH:MM:SSZ)");
            request.options.start = *start;
        } else if (option == "--out") {
            request.out = optionValue(args, i);
            if (request.out.empty()) fail("--out needs a file name");
        } else if (option == "--map") {
            request.map = optionValue(args, i);
            if (!endsWithJpg(request.map)) fail("--map needs a file name ending in .jpg");
        } else {
            fail("unknown option \"" + option + "\" for simulate");
        }
    }
    if (const std::string problem = sim::checkOptions(request.options); !problem.empty())
        fail(problem);
    return request;
}

// Each cycle as it comes, through `write`; false as soon as one is refused.
template <typename Write>
bool writeCycles(const sim::SimulationOptions& options, Write write) {
    sim::NmeaSimulator simulator(options);
    while (const std::optional<sim::ReceiverCycle> cycle = simulator.next()) {
        if (!write(cycle->sentences)) return false;
    }
    return true;
}

// A failed run never leaves a truncated log where a good one was.
void writeFile(const Request& request) {
    platform::ReplacingFile file;
    if (!file.open(request.out))
        fail("cannot write \"" + request.out + "\": " + std::strerror(errno));
    const bool written = writeCycles(request.options, [&file](const std::string& text) {
        return file.write(text.data(), text.size());
    });
    if (!written || !file.commit())
        fail("cannot write \"" + request.out + "\": " + std::strerror(errno));
}

bool writeToStandardOutput(const sim::SimulationOptions& options) {
    return writeCycles(options, [](const std::string& text) {
        return std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    });
}

}  // namespace

int runSimulate(const Args& args) {
    if (std::find(args.begin(), args.end(), "--pty") != args.end()) return runSimulatePty(args);
    const Request request = parseRequest(args);
    if (!request.map.empty()) writeDemoMap(request.options, request.map);
    if (!request.out.empty()) {
        writeFile(request);
    } else if (!writeToStandardOutput(request.options)) {
        fail("cannot write the log to standard output");
    }
    return 0;
}

}  // namespace wendra::tool
