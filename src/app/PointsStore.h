#pragma once
// The points file "Wendra.wdp" as a data file: the store's points read from and written
// to its records, packed unless "Old saving format" is chosen. Loading adds to the
// points the configuration brought from its older lines; it is for start-up only.

#include "app/DataStore.h"
#include "app/GlobalSettings.h"
#include "points/PointStore.h"

namespace wendra {

class PointsStore final : public DataStore {
public:
    PointsStore(points::PointStore& points, const GlobalSettings& global)
        : points_(points), global_(global) {}

    RecordFileMode saveMode() const override;
    // The older configuration's points were added just before: they stay.
    void resetToDefaults() override {}
    void read(RecordFile& file) override;
    // Alerts and icons are known by now.
    void afterLoad() override { points_.resolveNames(); }
    bool write(RecordFile& file) override;
    bool takeChanged() override;

private:
    points::PointStore& points_;
    const GlobalSettings& global_;
};

}  // namespace wendra
