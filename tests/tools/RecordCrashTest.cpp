// A recording killed for real (SIGKILL) at random moments: every fix it reported is in
// the journal, and the restored track is the one an uninterrupted run over the same
// fixes records. A save killed half-way leaves the previous file whole.

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <sstream>
#include <thread>

#include "gps/Fix.h"
#include "support/TestPaths.h"
#include "track/FixJournal.h"

namespace wendra::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Kills the child after `delay`; false when it had already ended by itself.
bool killAfter(pid_t child, std::chrono::milliseconds delay) {
    std::this_thread::sleep_for(delay);
    const bool running = waitpid(child, nullptr, WNOHANG) == 0;
    if (running) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    return running;
}

// Waits until the child has printed a whole line (a sanitizer build on a busy machine
// may take a second to start), so that every kill lands while it is recording.
bool waitForFirstLine(const fs::path& out, std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        std::error_code missing;
        const auto size = fs::file_size(out, missing);
        if (!missing && size > 0 && readFile(out).find('\n') != std::string::npos) return true;
        std::this_thread::sleep_for(10ms);
    }
    return false;
}

std::vector<std::string> wholeLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;  // a line cut by the kill is left out
}

double numberAfter(const std::string& json, const std::string& key) {
    const size_t at = json.find("\"" + key + "\":");
    return at == std::string::npos ? -1.0 : std::stod(json.substr(at + key.size() + 3));
}

// The fields a track file keeps of a point, smoothed values aside (recovery smooths
// once at the end, recording smooths as it goes).
std::vector<std::string> pointsOf(const std::string& trackFile) {
    const ToolResult dump = runTool({"track", "dump", trackFile});
    EXPECT_EQ(dump.status, 0) << dump.err;
    std::vector<std::string> points;
    for (const std::string& line : wholeLines(dump.out))
        points.push_back(line.substr(0, line.find(",\"smoothAltitude\"")));
    return points;
}

class RecordCrashTest : public ::testing::Test {
protected:
    TempDir dir;
};

TEST_F(RecordCrashTest, AKilledRecordingLosesNoJournaledFixAndRestoresTheSameTrack) {
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> delayMs(0, 2200);
    const std::string log = (fs::path(WENDRA_SOURCE_DIR) / "data" / "demo.nmea").string();
    for (int run = 0; run < 5; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        const fs::path home = dir / ("killed" + std::to_string(run));
        const fs::path printed = dir / ("printed" + std::to_string(run));
        const pid_t child = spawnTool(
            {"record", "--home", home.string(), "--speed", "20", "--print-fixes", log}, printed);
        ASSERT_TRUE(waitForFirstLine(printed, 60s));
        ASSERT_TRUE(killAfter(child, std::chrono::milliseconds(delayMs(random))));

        const std::vector<Fix> journaled =
            FixJournal((home / "journal" / FixJournal::kFileName).string()).readAll();
        const std::vector<std::string> lines = wholeLines(readFile(printed));
        ASSERT_GT(lines.size(), 0u);
        ASSERT_GE(journaled.size(), lines.size());
        for (size_t i = 0; i < lines.size(); ++i) {
            SCOPED_TRACE(lines[i]);
            const Fix& fix = journaled[i];
            EXPECT_EQ(numberAfter(lines[i], "lat"), fix.latitude);
            EXPECT_EQ(numberAfter(lines[i], "lon"), fix.longitude);
            EXPECT_EQ(static_cast<float>(numberAfter(lines[i], "alt")), fix.altitude);
            EXPECT_EQ(numberAfter(lines[i], "time"), fix.time);
        }

        const fs::path journalCopy = dir / ("journal" + std::to_string(run));
        fs::copy_file(home / "journal" / FixJournal::kFileName, journalCopy);
        const ToolResult restore = runTool({"restore", "--home", home.string(), "--answer", "yes"});
        ASSERT_EQ(restore.status, 0) << restore.err;
        EXPECT_EQ(FixJournal((home / "journal" / FixJournal::kFileName).string()).recordCount(),
                  0u);
        const fs::path reference = dir / ("reference" + std::to_string(run));
        const ToolResult uninterrupted =
            runTool({"record", "--home", reference.string(), "--journal", journalCopy.string()});
        ASSERT_EQ(uninterrupted.status, 0) << uninterrupted.err;
        const std::vector<std::string> restored = pointsOf((home / "Wendra0.trc").string());
        EXPECT_GT(restored.size(), 0u);
        EXPECT_EQ(restored, pointsOf((reference / "Wendra0.trc").string()));
    }
}

// A big track converted over a file that already holds one, killed at random moments:
// the file is always either the old one or the whole new one.
TEST_F(RecordCrashTest, ASaveKilledHalfWayLeavesTheOldFileWhole) {
    std::string big;
    char line[160];
    for (int i = 0; i < 40000; ++i) {
        std::snprintf(line, sizeof line,
                      "RIRUvo|Trace|Trc5|%.12f|0.260000000000|4.00|500.00|0|40.0|1|0|0|%.6f|0|\n",
                      0.04 + i * 1e-7, 9000.0 + i / 86400.0);
        big += line;
    }
    const fs::path source = dir / "big.wdt";
    writeFile(source, big);
    const fs::path target = dir / "Wendra1.trc";
    const std::string old = readFile(testData() / "track" / "points-v1.trc");

    const auto started = std::chrono::steady_clock::now();
    writeFile(target, old);
    ASSERT_EQ(runTool({"track", "convert", "--binary", source.string(), target.string()}).status,
              0);
    const auto full = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - started);
    const std::string converted = readFile(target);

    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_int_distribution<long long> delayMs(0, full.count());
    int cut = 0;
    for (int run = 0; run < 8; ++run) {
        writeFile(target, old);
        const pid_t child = spawnTool(
            {"track", "convert", "--binary", source.string(), target.string()}, dir / "out");
        if (killAfter(child, std::chrono::milliseconds(delayMs(random)))) ++cut;
        const std::string now = readFile(target);
        EXPECT_TRUE(now == old || now == converted)
            << "run " << run << ": " << now.size() << " bytes";
    }
    EXPECT_GT(cut, 0);
}

}  // namespace
}  // namespace wendra::test
