#include "app/CommandLine.h"

#include <charconv>
#include <optional>

#include "gps/ReplayPlayer.h"
#include "records/ClassicNumbers.h"
#include "version/Version.h"

namespace wendra {

namespace {

constexpr int kMaxSnapshotSeconds = 3600;
constexpr int kMinSide = 160;
constexpr int kMaxSide = 8192;
constexpr int kLastGpsdPort = 65535 - 9;  // GPD9: is the port + 9

bool parseWhole(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end;
}

bool parseReal(const std::string& text, double& value) {
    size_t used = 0;
    const std::optional<double> read = readReal(text, &used);
    if (!read || used != text.size()) return false;
    value = *read;
    return true;
}

bool parseSize(const std::string& text, int& width, int& height) {
    const std::size_t cross = text.find('x');
    return cross != std::string::npos && parseWhole(text.substr(0, cross), width) &&
           parseWhole(text.substr(cross + 1), height) && width >= kMinSide && width <= kMaxSide &&
           height >= kMinSide && height <= kMaxSide;
}

// Applies one option that takes a value; the error when the value is bad.
std::string takeValue(const std::string& name, const std::string& value,
                      const PortNameLookup& portIdOfName, CommandLine& options) {
    if (name == "--home") {
        options.home = value;
    } else if (name == "--replay") {
        options.replay = value;
    } else if (name == "--port") {
        std::string port = value;
        if (!port.empty() && port.back() != ':') port += ':';
        if (!portIdOfName(port))
            return "--port takes COM0..COM9 or GPD0..GPD9, not \"" + value + "\"";
        options.port = port;
    } else if (name == "--gpsd") {
        const std::size_t colon = value.rfind(':');
        int port = 0;
        if (colon == std::string::npos || colon == 0 ||
            !parseWhole(value.substr(colon + 1), port) || port <= 0 || port > kLastGpsdPort)
            return "--gpsd takes HOST:PORT (port 1 to 65526), not \"" + value + "\"";
        options.gpsdHost = value.substr(0, colon);
        options.gpsdPort = port;
    } else if (name == "--speed") {
        if (!parseReal(value, options.speed) || !ReplayPlayer::speedAllowed(options.speed))
            return std::string("--speed must be ") + ReplayPlayer::kSpeedRange + ", not \"" +
                   value + "\"";
    } else if (name == "--assume") {
        if (value == "yes")
            options.assume = platform::Answer::Yes;
        else if (value == "no")
            options.assume = platform::Answer::No;
        else
            return "--assume takes yes or no, not \"" + value + "\"";
    } else if (name == "--snapshots") {
        int seconds = 0;
        if (!parseWhole(value, seconds) || seconds < 0 || seconds > kMaxSnapshotSeconds)
            return "--snapshots takes seconds from 0 (none) to 3600, not \"" + value + "\"";
        options.snapshotSeconds = seconds;
    } else if (name == "--size") {
        if (!parseSize(value, options.width, options.height))
            return "--size takes WIDTHxHEIGHT (160 to 8192 each), not \"" + value + "\"";
    }
    return {};
}

bool takesValue(const std::string& name) {
    return name == "--home" || name == "--replay" || name == "--port" || name == "--gpsd" ||
           name == "--speed" || name == "--assume" || name == "--snapshots" || name == "--size";
}

}  // namespace

ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments,
                                   const PortNameLookup& portIdOfName) {
    ParsedCommandLine parsed;
    CommandLine& options = parsed.options;
    bool speedGiven = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--version") {
            options.version = true;
        } else if (argument == "--fullscreen") {
            options.fullScreen = true;
        } else if (takesValue(argument)) {
            if (i + 1 >= arguments.size()) {
                parsed.error = argument + " needs a value";
                return parsed;
            }
            speedGiven |= argument == "--speed";
            parsed.error = takeValue(argument, arguments[++i], portIdOfName, options);
            if (!parsed.error.empty()) return parsed;
        } else {
            parsed.error = "unknown argument \"" + argument + "\" (see --help)";
            return parsed;
        }
    }
    if (speedGiven && options.replay.empty()) parsed.error = "--speed needs --replay FILE";
    if (!options.replay.empty() && !options.port.empty())
        parsed.error = "--replay and --port both choose the receiver: give one";
    return parsed;
}

std::string programVersion() { return "wendra " + std::string(kVersionNumber); }

std::string programUsage() {
    return "usage: wendra [--home DIR] [--replay FILE [--speed X]] [--port NAME]\n"
           "              [--gpsd HOST:PORT] [--assume yes|no] [--snapshots SECONDS]\n"
           "              [--size WxH] [--fullscreen]\n"
           "  --home DIR        data folder (default $WENDRA_HOME, else\n"
           "                    $XDG_DATA_HOME/wendra, else ~/.local/share/wendra)\n"
           "  --replay FILE     play a receiver log at its recorded pace as the GPS\n"
           "                    (COM9: is pointed at it)\n"
           "  --speed X         replay X times faster (default 1)\n"
           "  --port NAME       read the receiver on COM0..COM9 or GPD0..GPD9 this run\n"
           "                    (the saved port is kept)\n"
           "  --gpsd HOST:PORT  GPD0: is the gpsd there (GPDn: on PORT + n); default\n"
           "                    127.0.0.1:2947\n"
           "  --assume yes|no   answer every question so, without showing it; each box\n"
           "                    is written to TraceLog.txt\n"
           "  --snapshots S     write snapshots/wendra.png every S seconds (default 5\n"
           "                    without a display, else none; 0 for none)\n"
           "  --size WxH        window size (default 800x480)\n"
           "  --fullscreen      cover the whole screen\n";
}

}  // namespace wendra
