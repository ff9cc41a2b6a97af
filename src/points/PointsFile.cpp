#include "points/PointsFile.h"

#include <memory>
#include <vector>

#include "platform/MessageBox.h"
#include "platform/StatusBanner.h"
#include "points/PointRecords.h"
#include "records/BinaryRecord.h"
#include "records/RecordFile.h"

namespace wendra::points {

namespace {

constexpr std::u16string_view kLoading = u"Loading points...";
constexpr std::u16string_view kSaving = u"Saving points...";
constexpr std::u16string_view kSaveFailed = u"Unable to save config!";
constexpr std::u16string_view kErrorTitle = u"Error!";

// Takes the point when the reader accepted it.
bool offer(PointStore& store, std::unique_ptr<GpsPoint>& point, bool accepted) {
    if (!accepted) return false;
    store.addPoint(std::move(point));
    point = std::make_unique<GpsPoint>();
    return true;
}

void readRecords(RecordFile& file, PointStore& store, PointsLoad& load,
                 const std::function<void(size_t)>& progress) {
    auto point = std::make_unique<GpsPoint>();
    std::string line;
    std::vector<uint8_t> payload;
    for (;;) {
        bool accepted = false;
        if (file.isBinary()) {
            if (!readBinaryRecord(file, payload)) break;
            accepted = offer(store, point, readPackedPointRecord(payload, *point));
        } else {
            if (!file.readLine(line, kLongLineCapacity)) break;
            accepted = offer(store, point, readPointRecord(line, *point));
        }
        if (!accepted) {
            // A refused record may have half-filled the object; start afresh.
            point = std::make_unique<GpsPoint>();
            ++load.skipped;
            continue;
        }
        if (++load.points % kProgressEvery == 0 && progress) progress(load.points);
    }
}

bool writeRecords(RecordFile& file, const PointStore& store, bool text) {
    BinaryRecordWriter packed;
    bool ok = true;
    for (size_t i = 0; ok && i < store.size(); ++i) {
        const GpsPoint& point = store.at(i);
        if (!belongsInFile(store, point)) continue;
        if (text) {
            ok = file.writeText(pointRecordLine(point));
        } else {
            buildPackedPointRecord(packed, point);
            ok = writeBinaryRecord(file, packed);
        }
    }
    return file.close() && ok;
}

}  // namespace

PointsLoad loadPointsFile(const std::string& path, PointStore& store,
                          const std::function<void(size_t)>& progress) {
    PointsLoad load;
    RecordFile file;
    if (!file.open(path, RecordFileMode::Read)) return load;
    load.opened = true;
    platform::statusBanner().show(kLoading);
    readRecords(file, store, load, progress);
    platform::statusBanner().show(u"");
    return load;
}

bool belongsInFile(const PointStore& store, const GpsPoint& point) {
    if (&point == store.gpsPositionObject()) return false;
    // The route file brings its own points back; keeping them here too would add a
    // copy at every start.
    if (point.flags & (kTemporaryRoutePoint | kRouteOwned)) return false;
    return point.positionValid() || point.isShared();
}

bool savePointsFile(const std::string& path, PointStore& store, bool text) {
    platform::statusBanner().show(kSaving);
    RecordFile file;
    const bool ok =
        file.open(path, text ? RecordFileMode::WriteText : RecordFileMode::WriteBinary) &&
        writeRecords(file, store, text);
    platform::statusBanner().show(u"");
    if (!ok) {
        platform::showMessage(kSaveFailed, kErrorTitle, platform::Buttons::Ok,
                              platform::Icon::Error);
        return false;
    }
    store.setChanged(false);
    return true;
}

bool readOlderConfigurationPoint(std::string_view line, PointStore& store) {
    if (!line.starts_with(kOlderPointPrefix)) return false;
    auto point = std::make_unique<GpsPoint>();
    line.remove_prefix(kOlderPointPrefix.size());
    if (!line.starts_with(kPointKind) || !readPointRecord(line, *point)) return false;
    store.addPoint(std::move(point));
    return true;
}

}  // namespace wendra::points
