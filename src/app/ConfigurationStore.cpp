#include "app/ConfigurationStore.h"

#include "app/ConfigurationWriter.h"
#include "points/PointStore.h"

namespace wendra {

void ConfigurationStore::resetToDefaults() {
    config_.resetToDefaults();
    kinds_.clear();
}

void ConfigurationStore::read(RecordFile& file) {
    ConfigurationReader reader(config_, points_);
    readConfigurationLines(file, reader);
    kinds_ = reader.kinds();
}

void ConfigurationStore::afterLoad() {
    config_.alerts.addDefaultWhenEmpty();
    GlobalSettings& global = config_.global;
    if (smartphone_ && !global.has(ProgramOptions::kModePna))
        global.options &= ~ProgramOptions::kAlternativeKeyboard;
    // Archiving needs its folder: without one the track is kept instead.
    TrackSettings& track = config_.track;
    if (track.archiveFolder.empty() && track.deleteMode == DeleteMode::Archive)
        track.deleteMode = DeleteMode::Never;
    if (points_) points_->setCounter(config_.status.lastPointNumber);
    if (afterLoad_) afterLoad_(config_);
}

bool ConfigurationStore::write(RecordFile& file) {
    if (points_) config_.status.lastPointNumber = points_->counter();
    return file.writeText(configurationText(config_));
}

bool ConfigurationStore::takeChanged() {
    return points_ && points_->counter() != config_.status.lastPointNumber;
}

}  // namespace wendra
