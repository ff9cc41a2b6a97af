// The wendra program as a user or a service manager runs it: a child process on Qt's
// offscreen platform, replaying the demo receiver, stopped by SIGTERM, killed by
// SIGKILL (also in the middle of a map load), started twice.

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "gps/ReplayPlayer.h"
#include "maps/JpegEncoder.h"
#include "maps/MapImageLoad.h"
#include "platform/Rgb16.h"
#include "platform/linux/DataFolderLock.h"
#include "platform/linux/PseudoTerminal.h"
#include "support/GpsdProcess.h"
#include "support/TestPaths.h"

namespace wendra {
namespace {

namespace fs = std::filesystem;
using std::chrono::seconds;

constexpr std::size_t kFixBytes = 40;

// Files the program has not written yet read as empty (test::readFile refuses them).
std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

long long fileSize(const fs::path& path) {
    std::error_code error;
    const auto size = fs::file_size(path, error);
    return error ? -1 : static_cast<long long>(size);
}

fs::path demoLog() {
    return test::testData().parent_path().parent_path() / "data" / "demo.nmea";
}

bool waitUntil(const std::function<bool()>& done, seconds limit = seconds(60)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// The program running in the background; its output goes to a file of the test.
class Program {
public:
    Program(const fs::path& home, std::vector<std::string> args) : output_(home / "out.txt") {
        args.insert(args.begin(), {WENDRA_PROGRAM_PATH, "--home", home.string()});
        pid_ = ::fork();
        if (pid_ == 0) {
            ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
            const int out = ::open(output_.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
            ::dup2(out, 1);
            ::dup2(out, 2);
            std::vector<char*> argv;
            for (std::string& arg : args) argv.push_back(arg.data());
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
    }
    ~Program() {
        if (pid_ > 0 && !exited_) {
            ::kill(pid_, SIGKILL);
            wait();
        }
    }

    void signal(int number) { ::kill(pid_, number); }
    // The exit status, or -1 when the program did not end in time.
    int wait(seconds limit = seconds(60)) {
        const auto end = std::chrono::steady_clock::now() + limit;
        int status = 0;
        while (::waitpid(pid_, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > end) return -1;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        exited_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    std::string output() const { return readFile(output_); }

private:
    fs::path output_;
    pid_t pid_ = -1;
    bool exited_ = false;
};

std::size_t journaledFixes(const fs::path& home) {
    const long long size = fileSize(home / "journal" / "WendraTrc.raw");
    return size > 0 ? static_cast<std::size_t>(size) / kFixBytes : 0;
}

int storedPoints(const fs::path& home) {
    const test::ToolResult dump = test::runTool({"track", "dump", (home / "Wendra0.trc").string()});
    if (dump.status != 0) return -1;
    int lines = 0;
    for (const char c : dump.out) lines += c == '\n';
    return lines;
}

std::string restoreAnswered() {
    return "Box [Confirmation] Wendra did not finish properly. Would you like to restore the "
           "previous track? -> Yes";
}

TEST(WendraProgram, StopsCleanlyOnSigtermAndGoesOnWithTheTrackNextTime) {
    test::TempDir home;
    {
        Program wendra(home.path(), {"--replay", demoLog().string(), "--speed", "50", "--assume",
                                     "yes", "--snapshots", "1"});
        ASSERT_TRUE(waitUntil([&] { return journaledFixes(home.path()) >= 30; }))
            << wendra.output();
        ASSERT_TRUE(waitUntil([&] { return fileSize(home / "snapshots/wendra.png") > 0; }));
        wendra.signal(SIGTERM);
        EXPECT_EQ(wendra.wait(), 0) << wendra.output();
        EXPECT_NE(wendra.output().find("Data folder: " + home.path().string()), std::string::npos);
    }
    EXPECT_EQ(journaledFixes(home.path()), 0u) << "everything went into the track file";
    const int points = storedPoints(home.path());
    EXPECT_GT(points, 1);
    EXPECT_NE(readFile(home / "Wendra.ini").find("Serial6|"), std::string::npos);

    Program again(home.path(), {"--assume", "yes"});
    ASSERT_TRUE(waitUntil([&] {
        return readFile(home / "TraceLog.txt").find("continue previous track") != std::string::npos;
    })) << again.output();
    again.signal(SIGINT);
    EXPECT_EQ(again.wait(), 0);
    EXPECT_EQ(storedPoints(home.path()), points);
    EXPECT_EQ(readFile(home / "TraceLog.txt").find("did not finish properly"), std::string::npos);
}

TEST(WendraProgram, AKilledRunIsRestoredAtTheNextStart) {
    test::TempDir home;
    std::size_t journaled = 0;
    {
        Program wendra(home.path(), {"--replay", demoLog().string(), "--speed", "50"});
        ASSERT_TRUE(waitUntil([&] { return journaledFixes(home.path()) >= 40; }))
            << wendra.output();
        wendra.signal(SIGKILL);
        EXPECT_EQ(wendra.wait(), 128 + SIGKILL);
        journaled = journaledFixes(home.path());
    }
    ASSERT_GE(journaled, 40u);

    Program again(home.path(), {"--assume", "yes"});
    ASSERT_TRUE(waitUntil([&] {
        return readFile(home / "TraceLog.txt").find(restoreAnswered()) != std::string::npos;
    })) << again.output();
    ASSERT_TRUE(waitUntil([&] { return journaledFixes(home.path()) == 0; }))
        << "the restored track is stored and the journal emptied";
    again.signal(SIGTERM);
    EXPECT_EQ(again.wait(), 0);
    // Fixes merge into points while standing and are thinned nowhere near the limit;
    // a restore that lost the journal would leave at most the few stored before.
    EXPECT_GT(storedPoints(home.path()), 10);
}

// The receiver reaches the program through gpsd, as on a machine where gpsd owns it.
TEST(WendraProgram, RecordsAndRestoresThroughARealGpsd) {
    const std::string binary = test::gpsdBinary();
    if (binary.empty()) GTEST_SKIP() << "no gpsd binary: scripts/setup.sh installs it";
    test::TempDir home;
    ReplayPlayer receiver(std::make_unique<platform::PseudoTerminal>(),
                          std::make_unique<TextReplay>(readFile(demoLog())), {50.0, true});
    std::string error;
    ASSERT_TRUE(receiver.start(error)) << error;
    const int port = test::freePort();
    test::GpsdProcess gpsd(binary, port, receiver.path());
    ASSERT_TRUE(gpsd.answers());
    const std::vector<std::string> args = {
        "--port", "GPD0", "--gpsd", "127.0.0.1:" + std::to_string(port), "--assume", "yes"};
    {
        Program wendra(home.path(), args);
        ASSERT_TRUE(waitUntil([&] { return journaledFixes(home.path()) >= 20; }))
            << wendra.output();
        wendra.signal(SIGKILL);
        wendra.wait();
    }
    Program again(home.path(), args);
    ASSERT_TRUE(waitUntil([&] {
        return readFile(home / "TraceLog.txt").find(restoreAnswered()) != std::string::npos;
    })) << again.output();
    again.signal(SIGTERM);
    EXPECT_EQ(again.wait(), 0);
    EXPECT_GT(storedPoints(home.path()), 10);
    EXPECT_EQ(readFile(home / "Wendra.ini").find("Serial6|10|"), std::string::npos)
        << "the port of the command line is not saved";
}

// The receiver speaks only of GN talkers: the reader asks once whether to use them,
// and the answer, given on the reader's thread, is saved with the configuration.
TEST(WendraProgram, TheSatelliteSystemsAnswerIsSaved) {
    test::TempDir home;
    const fs::path log = test::sharedData() / "nmea" / "nl2008u.log";
    if (!fs::exists(log)) GTEST_SKIP() << "no shared receiver logs at " << log;
    Program wendra(home.path(), {"--replay", log.string(), "--speed", "20", "--assume", "yes"});
    ASSERT_TRUE(waitUntil([&] { return journaledFixes(home.path()) >= 3; })) << wendra.output();
    wendra.signal(SIGTERM);
    ASSERT_EQ(wendra.wait(), 0);
    const std::string trace = readFile(home / "TraceLog.txt");
    EXPECT_NE(trace.find("several satellite systems. Do you want to use them? -> Yes"),
              std::string::npos)
        << trace;
    const std::string config = readFile(home / "Wendra.ini");
    const std::size_t serial = config.find("Serial6|");
    const std::size_t nmea = config.find("NMEA2|");
    ASSERT_NE(serial, std::string::npos);
    ASSERT_NE(nmea, std::string::npos);
    int port = 0, reading = 0, receiver = 0, options = 0, flags = 0;
    ASSERT_EQ(std::sscanf(config.c_str() + serial, "Serial6|%d|%d|%d|%d|", &port, &reading,
                          &receiver, &options),
              4);
    ASSERT_EQ(std::sscanf(config.c_str() + nmea, "NMEA2|%d|", &flags), 1);
    EXPECT_EQ(options & 0x0010, 0x0010) << "asked once, not again next time";
    EXPECT_EQ(flags & 0x400, 0x400) << "all satellite systems used";
}

TEST(WendraProgram, ASecondStartBringsTheFirstToTheFrontAndLeaves) {
    test::TempDir home;
    Program first(home.path(), {"--assume", "no"});
    // The trace log is started once the window exists, after the folder was claimed.
    ASSERT_TRUE(waitUntil([&] { return fileSize(home / "TraceLog.txt") >= 0; }));
    Program second(home.path(), {"--assume", "no"});
    EXPECT_EQ(second.wait(seconds(30)), 0);
    EXPECT_NE(second.output().find("already runs"), std::string::npos) << second.output();
    first.signal(SIGTERM);
    EXPECT_EQ(first.wait(), 0) << "the first one was still running";
}

TEST(WendraProgram, RefusesABadCommandLineWithOneLine) {
    test::TempDir home;
    Program wendra(home.path(), {"--speed", "fast"});
    EXPECT_EQ(wendra.wait(), 1);
    const std::string output = wendra.output();
    EXPECT_EQ(output, "wendra: --speed must be from 0.01 to 10000, not \"fast\"\n");
}

TEST(WendraProgram, RefusesAFolderAsTheReplayedLogAndHoldsNothing) {
    test::TempDir home;
    const fs::path folder = home / "logs";
    fs::create_directories(folder);
    Program wendra(home.path(), {"--replay", folder.string()});
    EXPECT_EQ(wendra.wait(), 1);
    EXPECT_EQ(wendra.output(),
              "wendra: replay: \"" + folder.string() + "\" is a folder, not a receiver log\n");
    platform::DataFolderLock next(home.path());
    std::string error;
    EXPECT_EQ(next.claim(error), platform::DataFolderLock::Outcome::Held) << error;
}

// A map of the demo walk's area, twice the demo map's size in pixels, magenta with
// noise: several megabytes of JPEG, and a colour the view shows nowhere else.
constexpr int kBigWidth = 3710;
constexpr int kBigHeight = 4000;

void writeBigMap(const fs::path& folder) {
    const fs::path data = demoLog().parent_path();
    std::string map = readFile(data / "demo-map.map");
    const auto replaceAll = [&map](const std::string& from, const std::string& to) {
        for (std::size_t at = map.find(from); at != std::string::npos;
             at = map.find(from, at + to.size()))
            map.replace(at, from.size(), to);
    };
    replaceAll("demo-map", "big-map");
    replaceAll("1855", std::to_string(kBigWidth));
    replaceAll("2000", std::to_string(kBigHeight));
    std::ofstream(folder / "big-map.map", std::ios::binary) << map;

    maps::JpegEncoder encoder;
    ASSERT_TRUE(encoder.start(folder / "big-map.jpg", kBigWidth, kBigHeight));
    std::vector<std::uint8_t> row(kBigWidth * 3);
    std::uint32_t seed = 1;
    for (int y = 0; y < kBigHeight; ++y) {
        for (int x = 0; x < kBigWidth * 3; ++x) {
            seed = seed * 1103515245u + 12345u;
            const int noise = static_cast<int>(seed >> 27);  // 0..31
            row[x] = static_cast<std::uint8_t>(x % 3 == 1 ? noise : 255 - noise);
        }
        ASSERT_TRUE(encoder.writeRow(row.data()));
    }
    ASSERT_TRUE(encoder.close());
}

// Share of the latest snapshot's pixels that show the big map's magenta.
double magentaShare(const fs::path& home) {
    const std::atomic<bool> never{false};
    const auto shot = maps::loadMapImage(home / "snapshots" / "wendra.png", maps::NightMode::None,
                                         1u << 30, never);
    if (shot.result != maps::LoadResult::Loaded) return 0;
    int magenta = 0;
    for (int y = 0; y < shot.image->height(); ++y) {
        for (int x = 0; x < shot.image->width(); ++x) {
            const platform::ColorRef c = platform::fromPixel16(shot.image->pixelAt(x, y));
            magenta += platform::redOf(c) >= 200 && platform::greenOf(c) <= 64 &&
                       platform::blueOf(c) >= 200;
        }
    }
    return static_cast<double>(magenta) / (shot.image->width() * shot.image->height());
}

// Serves an image through a named pipe and stops after `pause` bytes: the program's
// load then waits inside the image for as long as the test likes. The loader opens the
// image twice: once to tell its format by the first bytes, then to decode it. The
// pipe keeps what was written while the writer holds it open, so the first reader gets
// the signature alone and everything after goes, from byte 0, to the decoder.
class PausedImage {
public:
    PausedImage(const fs::path& pipe, std::string bytes, std::size_t pause)
        : bytes_(std::move(bytes)), pause_(pause) {
        fs::remove(pipe);
        if (::mkfifo(pipe.c_str(), 0644) != 0) return;
        writer_ = std::thread([this, pipe] { serve(pipe); });
    }
    ~PausedImage() {
        stop_.store(true);
        if (writer_.joinable()) writer_.join();
    }
    // True once the decoder holds `pause` bytes, less at most one pipe buffer.
    bool paused() const { return paused_.load(); }

private:
    static constexpr std::size_t kSignature = 8;
    static constexpr std::size_t kChunk = 4096;  // pipe writes this small are whole or nothing

    void serve(const fs::path& pipe) {
        // A write with no reader then fails with EPIPE instead of ending the test; the
        // block holds for this thread only, not for the programs the test starts.
        sigset_t pipeSignal;
        sigemptyset(&pipeSignal);
        sigaddset(&pipeSignal, SIGPIPE);
        ::pthread_sigmask(SIG_BLOCK, &pipeSignal, nullptr);
        int fd = -1;
        while (fd < 0 && !stop_.load()) {
            fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd < 0) pauseBriefly();
        }
        if (fd < 0) return;
        ::fcntl(fd, F_SETFL, 0);
        if (sendAll(fd, bytes_.data(), kSignature)) {
            int unread = 1;
            while (unread > 0 && !stop_.load() && ::ioctl(fd, FIONREAD, &unread) == 0)
                pauseBriefly();
            if (sendAll(fd, bytes_.data(), pause_)) paused_.store(true);
        }
        while (!stop_.load()) pauseBriefly();
        ::close(fd);
    }

    // Sends in small pieces; with no reader for the moment (the format reader gone, the
    // decoder not yet there) the piece is sent again.
    bool sendAll(int fd, const char* data, std::size_t size) {
        for (std::size_t sent = 0; sent < size;) {
            if (stop_.load()) return false;
            const ssize_t n = ::write(fd, data + sent, std::min(kChunk, size - sent));
            if (n > 0) {
                sent += static_cast<std::size_t>(n);
            } else if (errno == EPIPE) {
                pauseBriefly();
            } else {
                return false;
            }
        }
        return true;
    }
    static void pauseBriefly() { std::this_thread::sleep_for(std::chrono::milliseconds(2)); }

    std::string bytes_;
    std::size_t pause_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> paused_{false};
    std::thread writer_;
};

// Killed while a large map is being loaded, the program leaves the maps file, the track
// and the configuration as they were, and the map loads at the next start.
TEST(WendraProgram, AKillDuringAMapLoadLosesNothing) {
    test::TempDir home;
    test::TempDir maps;
    ASSERT_NO_FATAL_FAILURE(writeBigMap(maps.path()));
    const test::ToolResult imported = test::runTool(
        {"map", "import", "--home", home.path().string(), (maps / "big-map.map").string()});
    ASSERT_EQ(imported.status, 0) << imported.err;
    {
        Program wendra(home.path(),
                       {"--replay", demoLog().string(), "--speed", "50", "--assume", "yes"});
        ASSERT_TRUE(waitUntil([&] { return journaledFixes(home.path()) >= 10; }))
            << wendra.output();
        wendra.signal(SIGTERM);
        ASSERT_EQ(wendra.wait(), 0) << wendra.output();
    }
    const std::string mapsFile = readFile(home / "Wendra.wdm");
    const std::string config = readFile(home / "Wendra.ini");
    const std::string track = readFile(home / "Wendra0.trc");
    const int points = storedPoints(home.path());
    ASSERT_NE(mapsFile.find("big-map.jpg"), std::string::npos) << mapsFile;
    ASSERT_GT(points, 1);

    const std::string image = readFile(maps / "big-map.jpg");
    ASSERT_GT(image.size(), 2u << 20) << "the load must stop inside the image";
    {
        PausedImage paused(maps / "big-map.jpg", image, 1u << 20);
        Program wendra(home.path(), {"--assume", "yes"});
        ASSERT_TRUE(waitUntil([&] { return paused.paused(); })) << wendra.output();
        wendra.signal(SIGKILL);
        EXPECT_EQ(wendra.wait(), 128 + SIGKILL);
    }
    EXPECT_EQ(readFile(home / "Wendra.wdm"), mapsFile);
    EXPECT_EQ(readFile(home / "Wendra.ini"), config);
    EXPECT_EQ(readFile(home / "Wendra0.trc"), track);

    fs::remove(maps / "big-map.jpg");
    std::ofstream(maps / "big-map.jpg", std::ios::binary) << image;
    fs::remove_all(home / "snapshots");
    Program again(home.path(), {"--assume", "yes", "--snapshots", "1"});
    EXPECT_TRUE(waitUntil([&] { return magentaShare(home.path()) > 0.5; }))
        << "the map is not shown (" << magentaShare(home.path())
        << " of the view): " << again.output() << readFile(home / "TraceLog.txt");
    again.signal(SIGTERM);
    EXPECT_EQ(again.wait(), 0) << again.output();
    EXPECT_EQ(readFile(home / "Wendra.wdm"), mapsFile);
    EXPECT_EQ(storedPoints(home.path()), points);
}

}  // namespace
}  // namespace wendra
