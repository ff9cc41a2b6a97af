#pragma once
// The command line of the program: the data folder, a receiver log to replay, the
// answer to assume for every question, the window and the snapshots.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/MessageBox.h"

namespace wendra {

struct CommandLine {
    static constexpr int kDefaultWidth = 800;
    static constexpr int kDefaultHeight = 480;

    std::string home;    // --home DIR
    std::string replay;  // --replay FILE
    double speed = 1.0;  // --speed X
    // --port NAME: the receiver's port for this run ("COM3", "GPD0"), not saved.
    std::string port;
    // --gpsd HOST:PORT: the gpsd that GPD0: stands for (GPDn: is PORT + n).
    std::string gpsdHost;
    int gpsdPort = 0;
    std::optional<platform::Answer> assume;  // --assume yes|no
    // --snapshots SECONDS: pictures of the window; by default only without a display.
    std::optional<int> snapshotSeconds;
    int width = kDefaultWidth;  // --size WxH
    int height = kDefaultHeight;
    bool fullScreen = false;  // --fullscreen
    bool help = false;
    bool version = false;
};

struct ParsedCommandLine {
    CommandLine options;
    std::string error;  // one line; empty when the command line was good
};

// The port id of a port name with its colon ("COM3:", "GPD2:"); nothing for a name
// the machine's ports do not have.
using PortNameLookup = std::function<std::optional<int>(std::string_view)>;

ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments,
                                   const PortNameLookup& portIdOfName);

std::string programUsage();

// What --version prints: the program's name and version number on one line.
std::string programVersion();

}  // namespace wendra
