#include "app/PointsStore.h"

#include "points/PointsFile.h"

namespace wendra {

RecordFileMode PointsStore::saveMode() const {
    return global_.has(ProgramOptions::kOldSavingFormat) ? RecordFileMode::WriteText
                                                         : RecordFileMode::WriteBinary;
}

void PointsStore::read(RecordFile& file) {
    points::readPointRecords(file, points_);
}

bool PointsStore::write(RecordFile& file) {
    return points::writePointRecords(file, points_, saveMode() == RecordFileMode::WriteText);
}

bool PointsStore::takeChanged() {
    const bool changed = points_.changed();
    points_.setChanged(false);
    return changed;
}

}  // namespace wendra
