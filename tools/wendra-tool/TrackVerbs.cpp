// wendra-tool track: converts a track file between its text and binary forms through
// the program's own loader and writer, and dumps the readable records a file holds.

#include <cstdio>
#include <string>
#include <vector>

#include "TrackHome.h"
#include "Verbs.h"
#include "platform/MessageBox.h"
#include "track/TrackFileReader.h"
#include "track/TrackRecords.h"
#include "track/TrackUnits.h"

namespace wendra::tool {

namespace {

// Converted files go through the main layer, as the program's own loading does: a text
// file gets its smoothed values there, which the binary form then carries. It may hold
// the largest number of points the program allows, so that a file is not thinned.
constexpr int kLargestLayerIndex = static_cast<int>(kPointCountTable.size()) - 1;

enum class Form { Same, Text, Binary };

// The boxes of the track files become the verb's one line of failure.
class QuietBoxes final : public platform::MessageBoxHost {
public:
    platform::Answer show(const platform::Message& message) override {
        return platform::defaultAnswer(message.buttons);
    }
};

struct ConvertRequest {
    Form form = Form::Same;
    std::string in;
    std::string out;
};

ConvertRequest parseConvert(const Args& args) {
    ConvertRequest request;
    std::vector<std::string> paths;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--text") {
            request.form = Form::Text;
        } else if (args[i] == "--binary") {
            request.form = Form::Binary;
        } else if (args[i].size() > 1 && args[i][0] == '-') {
            fail("track convert: unknown option \"" + args[i] + "\"");
        } else {
            paths.push_back(args[i]);
        }
    }
    if (paths.size() != 2) fail("track convert: give IN and OUT");
    request.in = paths[0];
    request.out = paths[1];
    return request;
}

int convert(const Args& args) {
    const ConvertRequest request = parseConvert(args);
    QuietBoxes quiet;
    const platform::ScopedMessageBoxHost useQuiet(quiet);
    Track track;
    track.settings.maxPointsIndex = kLargestLayerIndex;
    FileBusy busy;
    FixJournal noJournal("");
    TrackFiles files(track, TrackFolders{}, busy, noJournal);
    const LayerLoad load = files.loadLayer(Track::kMainLayer, request.in);
    // OUT is touched only once IN proved to be a track file.
    if (!load.opened) fail("cannot read \"" + request.in + "\": " + load.failure);
    if (load.added == 0 && load.skipped > 0)
        fail("\"" + request.in + "\": no readable track point");
    // Without a choice the file changes form.
    const bool binary = request.form == Form::Same ? !load.binary : request.form == Form::Binary;
    if (!files.writeLayer(Track::kMainLayer, request.out, binary))
        fail("cannot write \"" + request.out + "\"");
    std::printf("{\"records\":%d,\"skipped\":%ld,\"points\":%d}\n", load.added, load.skipped,
                track.main().count());
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
    TrackFileReader reader;
    if (!reader.open(args[1])) fail("cannot read \"" + args[1] + "\": " + reader.failure());
    std::string out;
    while (const std::optional<PointRecord> record = reader.next()) {
        out += dumpLine(*record);
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
