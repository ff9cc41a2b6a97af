#pragma once
// The verbs of wendra-tool. Each takes the arguments after its name and returns
// the exit status; bad input ends the program through fail().

#include "Args.h"

namespace wendra::tool {

int runNmea(const Args& args);      // nmea [--chunk N] [--flags N] [--correction M] FILE|-
int runCoord(const Args& args);     // coord FORMAT LAT LON | coord --parse FORMAT ROLE TEXT
int runGrid(const Args& args);      // grid utm|swiss [--inverse] ...
int runStats(const Args& args);     // stats [--units N] [--from N] [--to M] FILE|--home DIR
int runSimulate(const Args& args);  // simulate [options]: writes a receiver log
int runRecord(const Args& args);    // record --home DIR [options] LOG | --journal FILE
int runRestore(const Args& args);   // restore --home DIR --answer yes|no
int runTrack(const Args& args);     // track convert [--text|--binary] IN OUT | track dump FILE
int runSimulatePty(const Args& args);  // simulate --pty [--speed X] [FILE]: plays into a terminal
int runListen(const Args& args);       // listen --port COMn|GPDn|/dev/PATH [options]
int runConfig(const Args& args);    // config check [--home DIR]
int runImage(const Args& args);     // image decode FILE OUT.png|- [--night 0..4]
int runMap(const Args& args);       // map import [--zone Z] [--home DIR] FILE.map | map pixel ...
int runMaps(const Args& args);      // maps rank --home DIR --at LAT,LON --scale S [--size WxH]
int runPoints(const Args& args);    // points dump FILE | points convert ... | points icons DIR
int runTiles(const Args& args);     // tiles cache|url|fetch ...

}  // namespace wendra::tool
