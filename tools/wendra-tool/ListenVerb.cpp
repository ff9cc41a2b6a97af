// wendra-tool listen: opens a receiver port the way the program does (COM slot, gpsd
// or a device path), runs the real reader thread, and prints each new fix as JSON lines
// like `wendra-tool nmea`, then the summary. What went wrong goes to stderr.

#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "FolderClaim.h"
#include "NmeaJson.h"
#include "Verbs.h"
#include "gps/NmeaParser.h"
#include "gps/SerialPort.h"
#include "platform/MessageBox.h"
#include "platform/linux/LinuxSerialPorts.h"
#include "platform/linux/RfkillRadio.h"
#include "records/DayNumber.h"
#include "records/Text.h"

namespace wendra::tool {

namespace {

constexpr int kDevicePathSlot = 9;  // a device given by path is reached as COM9:
constexpr size_t kMaxPendingLine = 8192;
constexpr std::chrono::milliseconds kSignalPoll{100};

struct ListenRequest {
    int portId = -1;
    std::string devicePath;  // for a /dev path
    int rateIndex = 0;
    std::optional<double> seconds;
    std::string home;
};

std::optional<int> portIdOf(const std::string& text) {
    std::string name = text;
    if (!name.empty() && name.back() != ':') name += ':';
    return platform::portIdOfName(name);
}

std::string defaultHome() {
    if (const char* home = std::getenv("WENDRA_HOME"); home && *home) return home;
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data)
        return std::string(data) + "/wendra";
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::string(home) + "/.local/share/wendra";
    return {};
}

ListenRequest parseListenRequest(const Args& args) {
    ListenRequest request;
    bool havePort = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--port") {
            const std::string& port = optionValue(args, i);
            havePort = true;
            if (!port.empty() && port[0] == '/') {
                request.portId = kDevicePathSlot;
                request.devicePath = port;
            } else if (const std::optional<int> id = portIdOf(port)) {
                request.portId = *id;
            } else {
                fail("malformed --port: \"" + port + "\" (COM0..COM9, GPD0..GPD9 or /dev/PATH)");
            }
        } else if (arg == "--rate") {
            const long long rate = parseInteger(optionValue(args, i), "--rate");
            request.rateIndex = SerialSettings::rateIndex(
                rate > 0 && rate < (1LL << 31) ? static_cast<int32_t>(rate) : 0);
            if (request.rateIndex < 0)
                fail("--rate must be one of 4800 9600 14400 19200 38400 57600 115200");
        } else if (arg == "--seconds") {
            const double seconds = parseReal(optionValue(args, i), "--seconds");
            if (!(seconds > 0.0 && seconds <= 86400.0))
                fail("--seconds must be above 0 and at most 86400");
            request.seconds = seconds;
        } else if (arg == "--home") {
            request.home = optionValue(args, i);
        } else {
            fail("listen: unknown argument \"" + arg + "\"");
        }
    }
    if (!havePort) fail("listen: no --port (COM0..COM9, GPD0..GPD9 or /dev/PATH)");
    if (request.home.empty()) request.home = defaultHome();
    return request;
}

// The window's part, on a terminal: texts go to stderr, the reconnect request is
// carried out by the main thread.
class ListenShell final : public GpsShell {
public:
    void setWaitCursor(bool) override {}
    void showBanner(std::u16string_view) override {}
    void hideBanner() override {}
    void showStatus(std::u16string_view text) override {
        std::fprintf(stderr, "listen: %s\n", toUtf8(text).c_str());
    }
    void requestRepaint() override {}
    std::u16string noFixSound() override { return {}; }
    void playSound(std::u16string_view) override {}
    void requestReconnect() override { reconnect = true; }
    void positionNotShown() override {}

    std::atomic<bool> reconnect{false};
};

// The program's boxes ("Unable to read GPS!") would add a second line to the one that
// says what failed; listen says it itself.
class QuietBoxes final : public platform::MessageBoxHost {
public:
    QuietBoxes() : scope_(*this) {}
    platform::Answer show(const platform::Message& message) override {
        return platform::defaultAnswer(message.buttons);
    }

private:
    platform::ScopedMessageBoxHost scope_;
};

// Feeds the parser whole lines, one call each, as `nmea` does, so both print the same
// fixes for the same log whatever the chunks were.
class FixPrinter {
public:
    void take(std::string_view chunk) {
        pending_.append(chunk);
        size_t start = 0;
        for (size_t newline; (newline = pending_.find('\n', start)) != std::string::npos;
             start = newline + 1)
            feed(std::string_view(pending_).substr(start, newline + 1 - start));
        pending_.erase(0, start);
        if (pending_.size() > kMaxPendingLine) {  // no newline in sight: the parser's problem
            feed(pending_);
            pending_.clear();
        }
        std::fflush(stdout);
    }
    const NmeaParser& parser() const { return parser_; }
    bool sawSentence() const { return parser_.sentenceCount() > 0; }

private:
    void feed(std::string_view line) {
        parser_.parse(line);
        if (parser_.flags() & ParserFlags::kNewFix) {
            const std::string json = fixJson(parser_);
            std::fwrite(json.data(), 1, json.size(), stdout);
            parser_.setFlags(parser_.flags() & ~ParserFlags::kNewFix);
        }
    }

    NmeaParser parser_;
    std::string pending_;
};

sigset_t blockStopSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    return signals;
}

// Waits for the time limit or a stop signal, carrying out reconnect requests meanwhile.
void listenUntilDone(SerialPort& port, ListenShell& shell, const sigset_t& signals,
                     std::optional<double> seconds) {
    using Clock = std::chrono::steady_clock;
    const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                        std::chrono::duration<double>(seconds.value_or(0.0)));
    const timespec poll{0, std::chrono::nanoseconds(kSignalPoll).count()};
    while (!seconds || Clock::now() < end) {
        if (sigtimedwait(&signals, nullptr, &poll) > 0) return;
        if (shell.reconnect.exchange(false)) {
            std::fprintf(stderr, "listen: reconnecting\n");
            if (!port.start(SerialPort::Attempts::Single))
                std::fprintf(stderr, "listen: Unable to read GPS! %s\n",
                             toUtf8(port.errorText()).c_str());
        }
    }
}

}  // namespace

int runListen(const Args& args) {
    const ListenRequest request = parseListenRequest(args);
    const sigset_t signals = blockStopSignals();
    QuietBoxes boxes;

    // The slot table of the folder is saved as the program would: not under its feet.
    const FolderClaim claim(request.home);
    platform::LinuxSerialPorts ports(request.home);
    if (!request.devicePath.empty())
        ports.overrideSlot(kDevicePathSlot, request.devicePath, request.devicePath);
    platform::RfkillRadio radio;
    ListenShell shell;
    FixPrinter printer;
    std::atomic<double> lastFix{0.0}, lastSignal{0.0};
    std::atomic<int> allowance{3};
    SerialPort port({ports, radio, shell, request.home,
                     [&](std::string_view chunk) {
                         const int32_t before = printer.parser().sentenceCount();
                         printer.take(chunk);
                         if (printer.parser().flags() & ParserFlags::kFixValid)
                             lastFix = currentDayNumber();
                         if (printer.parser().sentenceCount() != before) {
                             lastSignal = currentDayNumber();
                             allowance = 3;
                         }
                     },
                     SignalTimes{lastFix, lastSignal, allowance}});
    SerialSettings& settings = port.settings();
    settings.portId = request.portId;
    settings.readingRateIndex = request.rateIndex;
    settings.receiverRateIndex = request.rateIndex;
    settings.options = SerialOptions::kAutoReconnect;

    const std::string name = SerialPort::portName(request.portId);
    if (!port.start(SerialPort::Attempts::Single))
        fail("cannot read " + name + " " + toUtf8(port.errorText()));
    if (request.portId >= SerialPort::kGpdBase)
        std::fprintf(stderr, "listen: reading %s (gpsd)\n", name.c_str());
    else
        std::fprintf(stderr, "listen: reading %s at %d baud\n", name.c_str(),
                     settings.readingRate());
    listenUntilDone(port, shell, signals, request.seconds);
    port.close();
    if (!printer.sawSentence()) std::fprintf(stderr, "listen: no sentence from the receiver\n");
    const std::string summary = summaryJson(printer.parser());
    std::fwrite(summary.data(), 1, summary.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace wendra::tool
