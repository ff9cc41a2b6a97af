// wendra-tool: the command-line companion of the program. It runs the same
// libraries on files, without a window, and prints what a script can read.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "Verbs.h"
#include "version/Version.h"

namespace {

struct Verb {
    const char* name;
    int (*run)(const wendra::tool::Args&);
    const char* usage;
};

constexpr Verb kVerbs[] = {
    {"nmea", wendra::tool::runNmea,
     "nmea [--chunk N] [--flags N] [--correction M] FILE|-   decode a receiver log"},
    {"coord", wendra::tool::runCoord,
     "coord FORMAT LAT LON | coord --parse FORMAT ROLE TEXT   show or read a coordinate"},
    {"grid", wendra::tool::runGrid,
     "grid utm|swiss LAT LON | grid utm --inverse E N ZONE | grid swiss --inverse E N"},
    {"stats", wendra::tool::runStats, "stats [--units 0..3] [--from N] [--to M] FILE|--home DIR"},
    {"simulate", wendra::tool::runSimulate,
     "simulate [--seconds N] [--seed N] [--start YYYY-MM-DDTHH:MM:SSZ] [--out FILE] [--map FILE.jpg]   write a simulated receiver log (and a map of its ground)"},
    {"simulate", wendra::tool::runSimulate,
     "simulate --pty [--speed X] [FILE]   play a log into a pseudo-terminal until killed"},
    {"record", wendra::tool::runRecord,
     "record --home DIR [--speed X] [--print-fixes] [--answer yes|no] LOG|--journal FILE"
     "   record a track as the live reader would"},
    {"restore", wendra::tool::runRestore,
     "restore --home DIR --answer yes|no   start up, offering the track a kill left behind"},
    {"track", wendra::tool::runTrack,
     "track convert [--text|--binary] IN OUT | track dump FILE   convert or show a track file"},
    {"listen", wendra::tool::runListen,
     "listen --port COM0..COM9|GPD0..GPD9|/dev/PATH [--rate N] [--seconds N] [--home DIR]"
     "   read a receiver as the program does"},
    {"config", wendra::tool::runConfig, "config check [--home DIR]   Wendra.ini kinds, round trip"},
    {"image", wendra::tool::runImage,
     "image decode FILE OUT.png|- [--night 0..4]   load a map image as a map does, write it as PNG"},
    {"map", wendra::tool::runMap,
     "map import [--zone Z] [--home DIR] FILE.map | map pixel FILE.map LAT LON"
     "   import a calibration file (into DIR's maps file)"},
    {"maps", wendra::tool::runMaps,
     "maps rank --home DIR --at LAT,LON --scale S [--size WxH]   DIR's maps ranked for a view"},
    {"points", wendra::tool::runPoints,
     "points dump FILE | points convert --text|--packed IN OUT | points icons FOLDER"},
    {"tiles", wendra::tool::runTiles,
     "tiles cache --home DIR | tiles url SOURCE LEVEL X Y [--home DIR] | tiles fetch --home DIR"
     " --at LAT,LON --scale S [--size WxH] [--passes N] [--ca-file F]"
     "   DIR's tile cache index; a tile's URLs; download the tiles of a view into DIR's cache"},
};

void printUsage(FILE* to) {
    std::fprintf(to, "usage: wendra-tool VERB ... | --help | --version\n");
    for (const Verb& verb : kVerbs) std::fprintf(to, "  %s\n", verb.usage);
}

// A verb's output that did not all reach standard output (a full disk, a closed pipe)
// is a failure, whatever the verb returned: a script would read a cut result as whole.
int checkedOutput(int status) {
    errno = 0;
    const bool flushed = std::fflush(stdout) == 0;
    const int cause = errno;
    if (flushed && !std::ferror(stdout)) return status;
    std::string message = "cannot write standard output";
    if (cause != 0) message += std::string(": ") + std::strerror(cause);
    std::fprintf(stderr, "wendra-tool: %s\n", message.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        printUsage(stderr);
        return 1;
    }
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "help") == 0) {
        printUsage(stdout);
        return checkedOutput(0);
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("wendra-tool %.*s\n", static_cast<int>(wendra::kVersionNumber.size()),
                    wendra::kVersionNumber.data());
        return checkedOutput(0);
    }
    const wendra::tool::Args args(argv + 2, argv + argc);
    for (const Verb& verb : kVerbs) {
        if (std::strcmp(argv[1], verb.name) == 0) return checkedOutput(verb.run(args));
    }
    wendra::tool::fail(std::string("unknown verb \"") + argv[1] + "\" (try wendra-tool --help)");
}
