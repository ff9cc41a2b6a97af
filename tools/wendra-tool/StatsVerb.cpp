// wendra-tool stats: loads a track file into the main layer, as the program's "Load"
// does, and prints the 90 statistics rows as "label<TAB>value" lines in UTF-8. There
// is no receiver, so the current-fix rows stay empty. The main layer may hold the
// largest number of points, so that a file is measured as it is, not thinned.

#include <cstdio>
#include <optional>
#include <string>

#include "Verbs.h"
#include "records/Text.h"
#include "track/FileBusy.h"
#include "track/FixJournal.h"
#include "track/Track.h"
#include "track/TrackFiles.h"
#include "track/TrackFolders.h"
#include "track/TrackPoint.h"
#include "track/TrackStatistics.h"

namespace wendra::tool {

namespace {

constexpr int kLargestPointTable = static_cast<int>(kPointCountTable.size()) - 1;
constexpr int kMaxUnitSystem = 3;

struct StatsOptions {
    int unitSystem = 0;
    std::optional<long long> from;
    std::optional<long long> to;
    std::string path;
    std::string home;  // the data folder of --home, else empty
};

StatsOptions parseOptions(const Args& args) {
    StatsOptions options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--units") {
            const long long n = parseInteger(optionValue(args, i), "--units");
            if (n < 0 || n > kMaxUnitSystem) fail("malformed --units: \"" + args[i] + "\" (0..3)");
            options.unitSystem = static_cast<int>(n);
        } else if (arg == "--from" || arg == "--to") {
            const long long n = parseInteger(optionValue(args, i), arg);
            if (n < 0) fail("malformed " + arg + ": \"" + args[i] + "\" (a point index)");
            (arg == "--from" ? options.from : options.to) = n;
        } else if (arg == "--home") {
            options.home = optionValue(args, i);
            if (options.home.empty()) fail("stats: --home needs a folder");
        } else if (arg.size() > 1 && arg[0] == '-') {
            fail("stats: unknown option \"" + arg + "\"");
        } else if (!options.path.empty()) {
            fail("stats: more than one input (\"" + options.path + "\", \"" + arg + "\")");
        } else {
            options.path = arg;
        }
    }
    if (!options.home.empty() && !options.path.empty())
        fail("stats: give a FILE or --home DIR, not both");
    if (!options.home.empty()) options.path = TrackFolders::inDataFolder(options.home).layerFile(0);
    if (options.path.empty()) fail("stats: no input (give a track FILE or --home DIR)");
    return options;
}

void loadMainLayer(Track& track, const std::string& path) {
    const TrackFolders folders = TrackFolders::inDataFolder(".");
    FileBusy busy;
    // Loading never writes the journal; it is only part of the files' setting.
    FixJournal journal(folders.journalFile());
    TrackFiles files(track, folders, busy, journal);
    const LayerLoad load = files.loadLayer(Track::kMainLayer, path);
    if (!load.opened) fail("cannot read \"" + path + "\": " + load.failure);
    if (load.added == 0) fail("stats: no track point in \"" + path + "\"");
}

// The point at `index` along the main layer, or a failure naming the option.
TrackPoint* pointAt(Track& track, long long index, const char* option) {
    const int count = track.main().count();
    if (index >= count)
        fail(std::string("stats: ") + option + " " + std::to_string(index) +
             " is past the last point (index " + std::to_string(count - 1) + ")");
    TrackPoint* point = track.main().first();
    for (long long i = 0; i < index; ++i) point = point->next;
    return point;
}

}  // namespace

int runStats(const Args& args) {
    const StatsOptions options = parseOptions(args);
    Track track;
    track.settings.maxPointsIndex = kLargestPointTable;
    loadMainLayer(track, options.path);
    TrackStatistics stats;
    const StatisticsFormat format{options.unitSystem, 0};
    if (options.from || options.to) {
        StatisticsRange range = TrackStatistics::selectRange(track);
        if (options.from) range.from = pointAt(track, *options.from, "--from");
        if (options.to) range.to = pointAt(track, *options.to, "--to");
        // As with the screen's selection, the earlier point starts the range.
        if (range.to->index < range.from->index) std::swap(range.from, range.to);
        stats.compute(track, range.from, range.to, format);
    } else {
        stats.computeSelection(track, format);
    }
    std::string out;
    for (int i = 0; i < TrackStatistics::kRowCount; ++i) {
        const StatisticsRow& row = stats.row(i);
        out += toUtf8(row.label);
        out += '\t';
        out += toUtf8(row.value);
        out += '\n';
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

}  // namespace wendra::tool
