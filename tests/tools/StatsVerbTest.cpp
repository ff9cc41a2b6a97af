// The stats verb end to end: a track file written by hand (a walk north, 100 m and
// 54 s a step, level), loaded as the program loads it, measured and printed.

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "support/TestPaths.h"

namespace wendra::test {
namespace {

constexpr double kHalfTurnMetres = 20037508.342789244;

// Four Trc5 lines: 45N 7E going north, 6 decimals of a day hold 54 s exactly.
std::string walkFile() {
    std::string text;
    for (int i = 0; i < 4; ++i) {
        char line[160];
        std::snprintf(line, sizeof line,
                      "RIRUvo|Trace|Trc5|%.12f|%.12f|6.00|500.00|0|40.0|1|0|0|%0.6f|0|\n",
                      7.0 / 180.0, 0.25 + 100.0 * i / kHalfTurnMetres, 8000.0 + 0.000625 * i);
        text += line;
    }
    return text;
}

std::vector<std::string> lines(const std::string& out) {
    std::vector<std::string> result;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

struct StatsRun {
    const char* legend;
    std::vector<std::string> options;
    // Rows 8 (total time), 11 (length), 14 (average speed), 46 (points).
    const char* total;
    const char* length;
    const char* speed;
    const char* points;
};

const StatsRun kRuns[] = {
    {"whole track", {}, "2'42s", "300m", "6.7km/h", "4/45000"},
    {"Anglo-Saxon units", {"--units", "1"}, "2'42s", "0.186mi", "4.1mi/h", "4/45000"},
    {"two points", {"--from", "1", "--to", "2"}, "54s", "100m", "6.7km/h", "2/45000"},
    {"ends swapped", {"--from", "2", "--to", "1"}, "54s", "100m", "6.7km/h", "2/45000"},
    {"from a point to the end", {"--from", "1"}, "1'48s", "200m", "6.7km/h", "3/45000"},
};

TEST(StatsVerb, PrintsTheRowsOfATrackFile) {
    TempDir dir;
    writeFile(dir / "walk.wdt", walkFile());
    for (const StatsRun& run : kRuns) {
        SCOPED_TRACE(run.legend);
        std::vector<std::string> args{"stats"};
        args.insert(args.end(), run.options.begin(), run.options.end());
        args.push_back((dir / "walk.wdt").string());
        const ToolResult result = runTool(args);
        ASSERT_EQ(result.status, 0) << result.err;
        const std::vector<std::string> rows = lines(result.out);
        ASSERT_EQ(rows.size(), 90u);
        EXPECT_EQ(rows[0], "First point\t");
        EXPECT_EQ(rows[8], std::string("-Total:\t") + run.total);
        EXPECT_EQ(rows[11], std::string("Lenght:\t") + run.length);
        EXPECT_EQ(rows[14], std::string("-Average:\t") + run.speed);
        EXPECT_EQ(rows[46], std::string("-Nb points:\t") + run.points);
        EXPECT_EQ(rows[85], "--Nb of tuiles:\t");
        // No receiver: no current values.
        EXPECT_EQ(rows[13], "-Current:\t");
    }
}

TEST(StatsVerb, HomeReadsThePersistentMainLayer) {
    TempDir dir;
    writeFile(dir / "Wendra0.trc", walkFile());
    const ToolResult result = runTool({"stats", "--home", dir.path().string()});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(lines(result.out).at(11), "Lenght:\t300m");
}

TEST(StatsVerb, BadInputFailsWithOneLine) {
    TempDir dir;
    writeFile(dir / "walk.wdt", walkFile());
    writeFile(dir / "noise.wdt", "not a track\n\xff\x01\x02");
    const std::string walk = (dir / "walk.wdt").string();
    const std::vector<std::string> cases[] = {
        {"stats"},
        {"stats", "--units", "4", walk},
        {"stats", "--units", "x", walk},
        {"stats", "--to", "4", walk},
        {"stats", "--from", "-1", walk},
        {"stats", "--frm", "1", walk},
        {"stats", walk, walk},
        {"stats", "--home", dir.path().string(), walk},
        {"stats", (dir / "missing.wdt").string()},
        {"stats", "--home", (dir / "nowhere").string()},
        {"stats", (dir / "noise.wdt").string()},
    };
    for (const std::vector<std::string>& args : cases) {
        SCOPED_TRACE(args.back());
        const ToolResult result = runTool(args);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.out, "");
        ASSERT_FALSE(result.err.empty());
        EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
    }
}

}  // namespace
}  // namespace wendra::test
