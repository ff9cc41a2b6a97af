#include "track/TrackFolders.h"

#include "track/FixJournal.h"

namespace wendra {

namespace {
constexpr const char* kBaseName = "Wendra";
}

TrackFolders TrackFolders::inDataFolder(const std::string& dataFolder) {
    return TrackFolders{dataFolder, dataFolder + "/journal"};
}

std::string TrackFolders::layerFile(int layer) const {
    return program + "/" + kBaseName + std::to_string(layer) + ".trc";
}

std::string TrackFolders::backupFile() const {
    return program + "/" + kBaseName + ".bak";
}

std::string TrackFolders::journalFile() const {
    return journal + "/" + FixJournal::kFileName;
}

std::string TrackFolders::portLogFile() const {
    return program + "/seriallog.txt";
}

}  // namespace wendra
