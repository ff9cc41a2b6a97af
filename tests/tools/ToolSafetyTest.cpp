// What wendra-tool must not do to the machine or to a running program: write a data
// folder that wendra holds, replace a device, FIFO or link named as its output, take a
// folder for a receiver log, or report output it could not write as success.

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <future>

#include "platform/linux/DataFolderLock.h"
#include "support/TestPaths.h"

namespace wendra::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

size_t lineCount(const std::string& text) {
    return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

struct Refusal {
    const char* legend;
    std::vector<std::string> args;
    const char* said;  // a part of the one line on stderr
};

void expectRefused(const Refusal& c, const ToolResult& result) {
    SCOPED_TRACE(c.legend);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(lineCount(result.err), 1u) << result.err;
    EXPECT_NE(result.err.find(c.said), std::string::npos) << result.err;
}

class ToolSafety : public ::testing::Test {
protected:
    ToolSafety() {
        const ToolResult made = runTool({"simulate", "--seconds", "20", "--out", log()});
        EXPECT_EQ(made.status, 0) << made.err;
    }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    std::string log() const { return path("walk.nmea"); }
    TempDir dir;
};

TEST_F(ToolSafety, LeavesADataFolderThatWendraHoldsAlone) {
    const std::string home = path("home");
    fs::create_directories(home);
    // Whoever holds the folder's lock is a running wendra to the tool.
    platform::DataFolderLock wendra(home);
    std::string error;
    ASSERT_EQ(wendra.claim(error), platform::DataFolderLock::Outcome::Held) << error;
    const char* inUse = "is in use by a running wendra";
    const Refusal cases[] = {
        {"record", {"record", "--home", home, log()}, inUse},
        {"restore", {"restore", "--home", home, "--answer", "yes"}, inUse},
        {"listen", {"listen", "--port", "/dev/null", "--seconds", "1", "--home", home}, inUse},
    };
    for (const Refusal& c : cases) expectRefused(c, runTool(c.args));
    EXPECT_EQ(std::distance(fs::directory_iterator(home), fs::directory_iterator()), 1)
        << "nothing but the lock file was written";
}

TEST_F(ToolSafety, RefusesLogsThatCannotPlayBeforeTouchingTheFolder) {
    const std::string home = path("home");
    writeFile(dir / "empty.nmea", "");
    const Refusal cases[] = {
        {"record from a folder", {"record", "--home", home, dir.path().string()}, "is a folder"},
        {"record from an empty file", {"record", "--home", home, path("empty.nmea")}, "is empty"},
        {"record at an endless speed",
         {"record", "--home", home, "--speed", "inf", log()},
         "from 0.01 to 10000"},
        {"play a folder", {"simulate", "--pty", dir.path().string()}, "is a folder"},
        {"play next to never",
         {"simulate", "--pty", "--speed", "1e-300", log()},
         "from 0.01 to 10000"},
        {"play at once", {"simulate", "--pty", "--speed", "inf", log()}, "from 0.01 to 10000"},
    };
    for (const Refusal& c : cases) expectRefused(c, runTool(c.args));
    EXPECT_FALSE(fs::exists(home)) << "no folder made, no lock left";
}

TEST_F(ToolSafety, SavesThroughALinkToItsTarget) {
    writeFile(dir / "target.nmea", "old\n");
    fs::create_symlink("target.nmea", dir / "link.nmea");
    const ToolResult result = runTool({"simulate", "--seconds", "3", "--out", path("link.nmea")});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(fs::is_symlink(dir / "link.nmea"));
    EXPECT_EQ(readFile(dir / "target.nmea").rfind("$GP", 0), 0u);
}

// The FIFO stands for any special file: /dev/null, a terminal, a device.
TEST_F(ToolSafety, WritesIntoAFifoInsteadOfReplacingIt) {
    const fs::path fifo = dir / "receiver";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    auto run = std::async(std::launch::async, [&] {
        return runTool({"simulate", "--seconds", "3", "--out", fifo.string()});
    });
    std::string heard;
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd waiting{reader, POLLIN, 0};
        ::poll(&waiting, 1, 100);
        char chunk[4096];
        const ssize_t n = ::read(reader, chunk, sizeof chunk);
        if (n > 0) heard.append(chunk, static_cast<size_t>(n));
        if (n <= 0 && run.wait_for(0s) == std::future_status::ready) break;
    }
    ::close(reader);
    const ToolResult result = run.get();
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(fs::is_fifo(fifo)) << "still the FIFO";
    EXPECT_EQ(heard.rfind("$GP", 0), 0u);
}

TEST_F(ToolSafety, OutputThatCannotBeWrittenIsAFailure) {
    writeFile(dir / "walk.wdt",
              "RIRUvo|Trace|Trc5|0.038888888889|0.250000000000|6.00|500.00|0|40.0|1|0|0|"
              "8000.000000|0|\n");
    const char* full = "cannot write standard output";
    const Refusal cases[] = {
        {"track dump", {"track", "dump", path("walk.wdt")}, full},
        {"stats", {"stats", path("walk.wdt")}, full},
        {"grid", {"grid", "utm", "48", "11"}, full},
        {"help", {"--help"}, full},
    };
    for (const Refusal& c : cases) expectRefused(c, runTool(c.args, {}, "/dev/full"));
}

}  // namespace
}  // namespace wendra::test
