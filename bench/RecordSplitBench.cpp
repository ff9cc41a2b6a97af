// Speed of the record codec: splitting point and track lines, and reading a track
// file of 45000 lines (text) or records (binary) as the loaders do.

#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "records/BinaryRecord.h"
#include "records/RecordFile.h"
#include "records/RecordSplitter.h"
#include "records/RecordWriter.h"

namespace {

using namespace wendra;

constexpr int kTrackPoints = 45000;

void BM_SplitPointRecord(benchmark::State& state) {
    const std::string line =
        "GPSCoord|5|Start|46.94798200|7.44744700|13|12|3|Now|0||4|Flag|1|8|a\\nb note|12345|0|"
        "0.0|\n";
    std::u16string name, group, alert, icon, comment;
    double lat = 0, lon = 0;
    int32_t flags = 0, colour = 0, number = 0, id = 0, course = 0;
    float speed = 0;
    for (auto _ : state) {
        std::string_view rest;
        if (!hasRecordPrefix(line, "GPSCoord", &rest)) state.SkipWithError("no prefix");
        const int result = splitRecord(rest, "wFFddwwwdxddf",
                                       {&name, &lat, &lon, &flags, &colour, &group, &alert, &icon,
                                        &number, &comment, &id, &course, &speed});
        benchmark::DoNotOptimize(result);
        benchmark::DoNotOptimize(lat);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SplitPointRecord);

std::string trackLine(int i) {
    return formatRecord("Trc5|%.12Lf|%.12Lf|%.2f|%.2f|%d|%.1f|%d|%d|%d|%0.6Lf|%d|\n",
                        0.0413597 + i * 1e-7L, 0.2608219 + i * 1e-7L, 12.5 + i % 7, 540.0 + i % 13,
                        i % 360, 31.0, 1, 0, 3, 1234.5L + i / 86400.0L, 2);
}

void BM_SplitTrackRecord(benchmark::State& state) {
    const std::string line = trackLine(1);
    double lon = 0, lat = 0, time = 0;
    float speed = 0, alt = 0, signal = 0;
    int32_t heading = 0, weight = 0, flags = 0, colour = 0, zone = 0;
    for (auto _ : state) {
        std::string_view rest;
        if (!hasRecordPrefix(line, "Trc5", &rest)) state.SkipWithError("no prefix");
        const int result = splitRecord(
            rest, "FFffdfdddFd",
            {&lon, &lat, &speed, &alt, &heading, &signal, &weight, &flags, &colour, &time, &zone});
        benchmark::DoNotOptimize(result);
        benchmark::DoNotOptimize(lon);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SplitTrackRecord);

// A scratch file that removes itself.
class ScratchFile {
public:
    ScratchFile() {
        std::string pattern = (std::filesystem::temp_directory_path() / "wendra-bench-XXXXXX");
        if (mkdtemp(pattern.data())) dir_ = pattern;
    }
    ~ScratchFile() {
        std::error_code ignored;
        if (!dir_.empty()) std::filesystem::remove_all(dir_, ignored);
    }
    std::string path() const { return (dir_ / "Wendra0.trc").string(); }

private:
    std::filesystem::path dir_;
};

void BM_ReadLineTrackFile(benchmark::State& state) {
    ScratchFile scratch;
    RecordFile out;
    bool ok = out.open(scratch.path(), RecordFileMode::WriteText);
    for (int i = 0; ok && i < kTrackPoints; ++i) ok = out.writeText("RIRUvo|Trace|" + trackLine(i));
    if (!out.close() || !ok) state.SkipWithError("cannot write the track file");
    std::string line;
    uint64_t bytes = 0;
    for (auto _ : state) {
        RecordFile file;
        file.open(scratch.path(), RecordFileMode::Read);
        int lines = 0;
        while (file.readLine(line, kShortLineCapacity)) ++lines;
        if (lines != kTrackPoints) state.SkipWithError("wrong line count");
        bytes += file.bytesConsumed();
    }
    state.SetItemsProcessed(state.iterations() * kTrackPoints);
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
BENCHMARK(BM_ReadLineTrackFile)->Unit(benchmark::kMillisecond);

void BM_ReadAndSplitTrackFile(benchmark::State& state) {
    ScratchFile scratch;
    RecordFile out;
    bool ok = out.open(scratch.path(), RecordFileMode::WriteText);
    for (int i = 0; ok && i < kTrackPoints; ++i) ok = out.writeText("RIRUvo|Trace|" + trackLine(i));
    if (!out.close() || !ok) state.SkipWithError("cannot write the track file");
    std::string line;
    double lon = 0, lat = 0, time = 0;
    float speed = 0, alt = 0, signal = 0;
    int32_t heading = 0, weight = 0, flags = 0, colour = 0, zone = 0;
    for (auto _ : state) {
        RecordFile file;
        file.open(scratch.path(), RecordFileMode::Read);
        int points = 0;
        std::string_view rest;
        while (file.readLine(line, kShortLineCapacity)) {
            if (!hasRecordPrefix(line, "RIRUvo|Trace|Trc5", &rest)) continue;
            points += splitRecord(rest, "FFffdfdddFd",
                                  {&lon, &lat, &speed, &alt, &heading, &signal, &weight, &flags,
                                   &colour, &time, &zone}) == 0;
        }
        benchmark::DoNotOptimize(lon);
        if (points != kTrackPoints) state.SkipWithError("wrong point count");
    }
    state.SetItemsProcessed(state.iterations() * kTrackPoints);
}
BENCHMARK(BM_ReadAndSplitTrackFile)->Unit(benchmark::kMillisecond);

void BM_ReadBinaryTrackFile(benchmark::State& state) {
    ScratchFile scratch;
    RecordFile out;
    BinaryRecordWriter writer;
    bool ok = out.open(scratch.path(), RecordFileMode::WriteBinary);
    for (int i = 0; ok && i < kTrackPoints; ++i) {
        writer.clear();
        writer.putByte(2);
        writer.putByte(1);
        ok = writer.pack("FFffdfdddFdffff", {i * 1e-7, 0.26, 12.5f, 540.0f, int32_t{270}, 31.0f,
                                             int32_t{1}, int32_t{0}, int32_t{3}, 1234.5, int32_t{2},
                                             540.0f, 12.5f, 31.0f, 0.0f}) &&
             writeBinaryRecord(out, writer);
    }
    if (!out.close() || !ok) state.SkipWithError("cannot write the track file");
    std::vector<uint8_t> payload;
    for (auto _ : state) {
        RecordFile file;
        file.open(scratch.path(), RecordFileMode::Read);
        int records = 0;
        double lon = 0;
        while (readBinaryRecord(file, payload)) {
            BinaryRecordReader reader(payload);
            uint8_t kind = 0, version = 0;
            if (reader.getByte(kind) && reader.getByte(version) && reader.getDouble(lon)) ++records;
        }
        benchmark::DoNotOptimize(lon);
        if (records != kTrackPoints) state.SkipWithError("wrong record count");
    }
    state.SetItemsProcessed(state.iterations() * kTrackPoints);
}
BENCHMARK(BM_ReadBinaryTrackFile)->Unit(benchmark::kMillisecond);

}  // namespace
