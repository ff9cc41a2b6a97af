// NMEA decoding throughput: the real receiver logs concatenated to over 50 MB, fed to
// the parser in pieces of several sizes, each new fix taken as the reader thread does.
// Prints MB/s (10^6 bytes per second) as the counter "MB/s".

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "gps/NmeaParser.h"

namespace {

using namespace wendra;

constexpr size_t kLogBytes = 50u * 1000 * 1000;

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The receiver output of every log with GPS positions, without the capture notes.
std::string receiverOutput() {
    const std::filesystem::path folder = std::filesystem::path(WENDRA_SHARED_DATA) / "nmea";
    std::istringstream index(readFile(folder / "INDEX.tsv"));
    std::string row, out;
    std::getline(index, row);
    while (std::getline(index, row)) {
        const std::string file = row.substr(0, row.find('\t'));
        if (row.substr(row.rfind('\t') + 1) != "yes") continue;
        std::istringstream log(readFile(folder / file));
        for (std::string line; std::getline(log, line);)
            if (!line.empty() && line[0] != '#') out += line + "\n";
    }
    return out;
}

const std::string& bigLog() {
    static const std::string log = [] {
        const std::string once = receiverOutput();
        std::string all;
        if (once.empty()) return all;
        all.reserve(kLogBytes + once.size());
        while (all.size() < kLogBytes) all += once;
        return all;
    }();
    return log;
}

void feed(benchmark::State& state, const std::string& log,
          const std::vector<std::string_view>& pieces) {
    size_t fixes = 0;
    for (auto _ : state) {
        NmeaParser parser;
        for (std::string_view piece : pieces) {
            parser.parse(piece);
            if (parser.flags() & ParserFlags::kNewFix) {
                ++fixes;
                parser.setFlags(parser.flags() & ~ParserFlags::kNewFix);
            }
        }
        benchmark::DoNotOptimize(parser.fix());
    }
    const double bytes = static_cast<double>(log.size()) * static_cast<double>(state.iterations());
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
    state.counters["MB/s"] = benchmark::Counter(bytes / 1e6, benchmark::Counter::kIsRate);
    state.counters["fixes"] = static_cast<double>(fixes / state.iterations());
    state.counters["log MB"] = static_cast<double>(log.size()) / 1e6;
}

void BM_NmeaParseChunks(benchmark::State& state) {
    const std::string& log = bigLog();
    if (log.empty()) return state.SkipWithError("no receiver logs in WENDRA_SHARED_DATA");
    const size_t size = static_cast<size_t>(state.range(0));
    std::vector<std::string_view> pieces;
    for (size_t at = 0; at < log.size(); at += size)
        pieces.push_back(std::string_view(log).substr(at, size));
    feed(state, log, pieces);
}
BENCHMARK(BM_NmeaParseChunks)
    ->Arg(64)
    ->Arg(512)
    ->Arg(4096)
    ->Arg(65536)
    ->Unit(benchmark::kMillisecond);

void BM_NmeaParseLines(benchmark::State& state) {
    const std::string& log = bigLog();
    if (log.empty()) return state.SkipWithError("no receiver logs in WENDRA_SHARED_DATA");
    std::vector<std::string_view> pieces;
    for (size_t at = 0; at < log.size();) {
        const size_t end = log.find('\n', at);
        const size_t next = end == std::string::npos ? log.size() : end + 1;
        pieces.push_back(std::string_view(log).substr(at, next - at));
        at = next;
    }
    feed(state, log, pieces);
}
BENCHMARK(BM_NmeaParseLines)->Unit(benchmark::kMillisecond);

}  // namespace
