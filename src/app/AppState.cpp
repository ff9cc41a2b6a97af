#include "app/AppState.h"

#include "track/TrackFolders.h"

namespace wendra {

AppState::AppState(const std::string& dataFolder, const std::u16string& recordsFolder,
                   platform::SerialPorts& ports, platform::BluetoothRadio& radio)
    : programFolder(dataFolder),
      config(recordsFolder),
      dataFiles(dataFolder, banner),
      journal(TrackFolders::inDataFolder(dataFolder).journalFile()),
      trackFiles(track, TrackFolders::inDataFolder(dataFolder), busy, journal),
      statistics(track.settings.climbWindow),
      bridge(dataFolder, parser, handOver),
      // The chunk sink runs on the reader thread, which only the window's start of the
      // GPS starts: long after the fix hand-over below is built.
      port({ports, radio, bridge, dataFolder,
            [this](std::string_view chunk) {
                fixHandOver.handle(chunk);
                bridge.afterChunk();
            },
            SignalTimes{handOver.lastFixTime, handOver.lastSignalTime, handOver.reconnectAllowance},
            nullptr}),
      fixHandOver({parser, port.settings(), trackFiles, statistics, handOver, bridge}) {
    bridge.readFrom(port.settings());
    dataFiles.attach(DataFile::Configuration, configStore);
    dataFiles.attach(DataFile::Maps, mapsStore);
    mapShell.attachManager(&mapManager);
}

}  // namespace wendra
