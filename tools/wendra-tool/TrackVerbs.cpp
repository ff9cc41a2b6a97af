// wendra-tool track: converts a track file between its text and binary forms through
// the program's own loader and writer, and dumps the records a file holds.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "TrackHome.h"
#include "Verbs.h"
#include "records/BinaryRecord.h"
#include "records/RecordFile.h"
#include "track/TrackRecords.h"
#include "track/TrackUnits.h"

namespace wendra::tool {

namespace {

// Converted files go through a display layer: no smoothing, and thinned only past
// the largest layer the program allows.
constexpr int kConvertLayer = 1;
constexpr int kLargestLayerIndex = static_cast<int>(kPointCountTable.size()) - 1;

enum class Form { Same, Text, Binary };

bool isBinaryFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) fail("cannot read \"" + path + "\": " + std::strerror(errno));
    const int first = in.get();
    return first == kBinaryFileMarker;
}

int convert(const Args& args) {
    Form form = Form::Same;
    std::vector<std::string> paths;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--text") {
            form = Form::Text;
        } else if (args[i] == "--binary") {
            form = Form::Binary;
        } else if (args[i].size() > 1 && args[i][0] == '-') {
            fail("track convert: unknown option \"" + args[i] + "\"");
        } else {
            paths.push_back(args[i]);
        }
    }
    if (paths.size() != 2) fail("track convert: give IN and OUT");
    // Without a choice the file changes form.
    const bool binary = form == Form::Same ? !isBinaryFile(paths[0]) : form == Form::Binary;
    Track track;
    track.settings.maxLayerPointsIndex = kLargestLayerIndex;
    FileBusy busy;
    FixJournal noJournal("");
    TrackFiles files(track, TrackFolders{}, busy, noJournal);
    const int loaded = files.loadLayer(kConvertLayer, paths[0]);
    if (!files.writeLayer(kConvertLayer, paths[1], binary))
        fail("cannot write \"" + paths[1] + "\"");
    std::printf("{\"records\":%d,\"points\":%d}\n", loaded, track.layer(kConvertLayer).count());
    return std::fflush(stdout) == 0 ? 0 : 1;
}

std::string dumpLine(const PointRecord& record) {
    const PointValues& v = record.values;
    std::string line =
        "{\"kind\":" + jsonString(record.kind) + ",\"lon\":" + jsonNumber(v.lon) +
        ",\"lat\":" + jsonNumber(v.lat) + ",\"speed\":" + jsonNumber(v.speed) +
        ",\"altitude\":" + jsonNumber(v.altitude) + ",\"heading\":" + std::to_string(v.heading) +
        ",\"signal\":" + jsonNumber(v.signal) + ",\"weight\":" + std::to_string(v.weight) +
        ",\"flags\":" + std::to_string(v.flags) + ",\"colour\":" + std::to_string(v.colour) +
        ",\"time\":" + jsonNumber(v.time) + ",\"timeZone\":" +
        (v.timeZone == kNoValue ? std::string("null") : std::to_string(v.timeZone));
    if (record.hasSmoothed) {
        line += ",\"smoothAltitude\":" + jsonNumber(record.smoothAltitude) +
                ",\"smoothSpeed\":" + jsonNumber(record.smoothSpeed) +
                ",\"smoothSignal\":" + jsonNumber(record.smoothSignal);
    }
    if (record.hasClimbSpeed) line += ",\"climbSpeed\":" + jsonNumber(record.climbSpeed);
    return line + "}\n";
}

int dump(const Args& args) {
    if (args.size() != 2) fail("track dump: give one FILE");
    RecordFile file;
    if (!file.open(args[1], RecordFileMode::Read))
        fail("cannot read \"" + args[1] + "\": " + std::strerror(errno));
    std::string line;
    std::vector<uint8_t> payload;
    std::string out;
    for (;;) {
        const bool more = file.isBinary() ? readBinaryRecord(file, payload)
                                          : file.readLine(line, kShortLineCapacity) != 0;
        if (!more) break;
        const std::optional<PointRecord> record =
            file.isBinary() ? decodeBinaryPointRecord(payload) : decodeTextPointRecord(line);
        if (record) out += dumpLine(*record);
        if (out.size() > (1u << 16)) {
            std::fwrite(out.data(), 1, out.size(), stdout);
            out.clear();
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

int runTrack(const Args& args) {
    if (!args.empty() && args[0] == "convert") return convert(args);
    if (!args.empty() && args[0] == "dump") return dump(args);
    fail("track: give convert [--text|--binary] IN OUT, or dump FILE");
}

}  // namespace wendra::tool
