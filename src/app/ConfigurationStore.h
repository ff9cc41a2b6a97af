#pragma once
// The configuration file as a data file: reads and writes a Configuration and applies
// the fix-ups after loading. Fix-ups that belong to parts of the program outside this
// library (StaticNav state, backlight, hot keys) run through the after-load hook.

#include <functional>
#include <vector>

#include "app/Configuration.h"
#include "app/ConfigurationReader.h"
#include "app/DataStore.h"

namespace wendra {

class ConfigurationStore final : public DataStore {
public:
    explicit ConfigurationStore(Configuration& config) : config_(config) {}

    // Runs after the configuration's own fix-ups, before the banner is hidden.
    void setAfterLoad(std::function<void(Configuration&)> hook) { afterLoad_ = std::move(hook); }
    // On such a platform "Alternative keyboard" is kept only in "Mode PNA".
    void setSmartphonePlatform(bool smartphone) { smartphone_ = smartphone; }
    // Where the older configurations' points go, and whose counter field 12 keeps.
    void setPoints(points::PointStore* points) { points_ = points; }
    // The kinds met by the last read, in the order first met.
    const std::vector<KindCount>& lastKinds() const { return kinds_; }

    void resetToDefaults() override;
    void read(RecordFile& file) override;
    void afterLoad() override;
    bool write(RecordFile& file) override;
    // A point numbered since the last save changed the counter.
    bool takeChanged() override;

private:
    Configuration& config_;
    points::PointStore* points_ = nullptr;
    std::function<void(Configuration&)> afterLoad_;
    bool smartphone_ = false;
    std::vector<KindCount> kinds_;
};

}  // namespace wendra
