#include "app/Configuration.h"

namespace wendra {

Configuration::Configuration(std::u16string recordsFolder)
    : recordsFolder_(std::move(recordsFolder)) {
    resetToDefaults();
}

void Configuration::resetToDefaults() {
    global = GlobalSettings{};
    keys.resetToDefaults();
    graph = GraphSettings{};
    dashboards.resetToDefaults();
    history.clear();
    serial = SerialSettings{};
    nmea = NmeaSettings{};
    status = Status7Record{};
    track = TrackSettings{};
    status.applyTo(track);
    alerts.clear();
    colours = ColourSet{};
    kept.clear();
    folders_ = {};
    folders_[static_cast<size_t>(Folder::RecorderPath)] = recordsFolder_;
}

const std::u16string& Configuration::folder(Folder which) const {
    if (which == Folder::TraceArchivePath) return track.archiveFolder;
    return folders_[static_cast<size_t>(which)];
}

void Configuration::setFolder(Folder which, std::u16string value) {
    if (which == Folder::TraceArchivePath)
        track.archiveFolder = std::move(value);
    else
        folders_[static_cast<size_t>(which)] = std::move(value);
}

}  // namespace wendra
