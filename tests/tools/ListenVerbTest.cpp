// wendra-tool listen end to end: a receiver log played by `wendra-tool simulate --pty`
// is read through the real port and reader thread and printed as `nmea` prints the same
// log; and a port that cannot be read is reported in one line.

#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/TestPaths.h"

namespace wendra::test {
namespace {

constexpr int kFirstLineMilliseconds = 5000;

// `wendra-tool simulate --pty ...` in the background; killed when done.
class PtyReceiver {
public:
    explicit PtyReceiver(const std::vector<std::string>& args) {
        std::vector<std::string> all{toolPath().string(), "simulate", "--pty"};
        all.insert(all.end(), args.begin(), args.end());
        const StartedChild receiver = startForFirstLine(all, kFirstLineMilliseconds);
        pid_ = receiver.pid;
        path_ = receiver.firstLine;
    }
    ~PtyReceiver() { stopChild(pid_); }
    PtyReceiver(const PtyReceiver&) = delete;
    PtyReceiver& operator=(const PtyReceiver&) = delete;

    const std::string& path() const { return path_; }

private:
    pid_t pid_ = -1;
    std::string path_;
};

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

// The fix lines of `nmea` for the log (its last line is the summary).
std::vector<std::string> nmeaFixes(const std::string& log) {
    const ToolResult decoded = runTool({"nmea", log});
    EXPECT_EQ(decoded.status, 0) << decoded.err;
    std::vector<std::string> lines = linesOf(decoded.out);
    if (!lines.empty()) lines.pop_back();
    return lines;
}

TEST(ListenVerb, PrintsTheSameFixesAsNmeaForTheSameLog) {
    const std::string log = (sharedData() / "nmea" / "foretrex-201.log").string();
    const std::vector<std::string> expected = nmeaFixes(log);
    ASSERT_GT(expected.size(), 10u);

    PtyReceiver receiver({"--speed", "20", log});
    ASSERT_EQ(receiver.path().rfind("/dev/pts/", 0), 0u) << receiver.path();
    const ToolResult heard =
        runTool({"listen", "--port", receiver.path(), "--rate", "115200", "--seconds", "3"});
    ASSERT_EQ(heard.status, 0) << heard.err;
    EXPECT_NE(heard.err.find("listen: reading COM9: at 115200 baud"), std::string::npos)
        << heard.err;
    std::vector<std::string> lines = linesOf(heard.out);
    ASSERT_GE(lines.size(), expected.size() + 1) << heard.out;
    EXPECT_EQ(lines.back().rfind("{\"sentences\":", 0), 0u) << "the summary closes the output";
    lines.resize(expected.size());  // the log starts over after its end
    EXPECT_EQ(lines, expected);
}

TEST(ListenVerb, ComSlotFromTheDataFolderReachesTheDevice) {
    const std::string log = (sharedData() / "nmea" / "garmin48.log").string();
    const std::vector<std::string> expected = nmeaFixes(log);
    ASSERT_FALSE(expected.empty());
    PtyReceiver receiver({"--speed", "50", log});
    TempDir home;
    writeFile(home / "ComSlots.txt", "ComSlot|4|" + receiver.path() + "|replay|1|\n");
    const ToolResult heard = runTool({"listen", "--port", "COM4", "--home", home.path().string(),
                                      "--rate", "57600", "--seconds", "2"});
    ASSERT_EQ(heard.status, 0) << heard.err;
    const std::vector<std::string> lines = linesOf(heard.out);
    ASSERT_GT(lines.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + expected.size()), expected);
}

TEST(ListenVerb, RefusesWhatItCannotReadInOneLine) {
    TempDir home;
    writeFile(home / "ComSlots.txt", "ComSlot|5|/dev/unplugged-receiver|gone|1|\n");
    struct Case {
        const char* legend;
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {"no port", {"listen"}, "listen: no --port"},
        {"COM10 does not exist", {"listen", "--port", "COM10"}, "malformed --port: \"COM10\""},
        {"a rate off the table", {"listen", "--port", "COM1", "--rate", "1234"}, "--rate must be"},
        {"no time", {"listen", "--port", "COM1", "--seconds", "0"}, "--seconds must be"},
        {"unplugged",
         {"listen", "--port", "COM5", "--home", home.path().string(), "--seconds", "1"},
         "cannot read COM5: Serial Error: Port Not found!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        const ToolResult result = runTool(c.args);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    }
}

}  // namespace
}  // namespace wendra::test
