#pragma once
// Where the track files live: layer files, backup and the port log in the program
// folder (the data folder), the journal in a folder of its own inside it, which, unlike
// the system's temporary folder, survives a reboot. Names only; nothing is created.

#include <string>

namespace wendra {

struct TrackFolders {
    std::string program;  // the data folder
    std::string journal;  // the crash journal's folder

    // The usual layout: the journal in "journal" under the data folder.
    static TrackFolders inDataFolder(const std::string& dataFolder);

    // "Wendra%d.trc": the persistent file of layer 0..4.
    std::string layerFile(int layer) const;
    // "Wendra.bak": layer 0 as of the last shut-down.
    std::string backupFile() const;
    std::string journalFile() const;
    // "seriallog.txt": the raw chunks while "Log port" is on.
    std::string portLogFile() const;
};

}  // namespace wendra
