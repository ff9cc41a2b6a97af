#include "track/TrackFiles.h"

#include <unistd.h>

#include "platform/MessageBox.h"
#include "records/BinaryRecord.h"
#include "records/RecordFile.h"
#include "records/Text.h"
#include "track/MemoryError.h"
#include "track/TrackFileReader.h"
#include "track/TrackPoint.h"
#include "track/TrackRecords.h"

namespace wendra {

namespace {

constexpr std::u16string_view kUnableToOpen = u"Unable to open file!";
constexpr std::u16string_view kErrorTitle = u"Error!";
// ".Memory Error #06PP#": text files, then binary files; main layer, then the others.
constexpr int kMemoryTextMain = 614;
constexpr int kMemoryTextLayer = 615;
constexpr int kMemoryBinaryMain = 620;
constexpr int kMemoryBinaryLayer = 621;

std::u16string numbered(const char* format, int layer) {
    char text[40];
    std::snprintf(text, sizeof text, format, layer);
    return widen(text);
}

bool fileExists(const std::string& path) {
    return ::access(path.c_str(), F_OK) == 0;
}

}  // namespace

TrackFiles::TrackFiles(Track& track, TrackFolders folders, FileBusy& busy, FixJournal& journal)
    : track_(track), folders_(std::move(folders)), busy_(busy), journal_(journal) {}

void TrackFiles::showStatus(std::u16string_view text) const {
    if (hooks.showStatus) hooks.showStatus(text);
}

void TrackFiles::notifyLoader() const {
    if (hooks.notifyLoader) hooks.notifyLoader();
}

bool TrackFiles::writeLayer(int layer, const std::string& path, bool binary) {
    FileBusy::Scope busy(busy_);
    showStatus(layer == Track::kMainLayer ? std::u16string(u"Saving track...")
                                          : numbered("Saving layer %d...", layer));
    bool written = false;
    if (layer == Track::kMainLayer) {
        TrackLock::Hold hold(track_.lock(), u".Wrt");
        written = writePoints(track_.layer(layer), path, binary);
    } else {
        written = writePoints(track_.layer(layer), path, binary);
    }
    showStatus(u"");
    if (!written) platform::showMessage(kUnableToOpen, kErrorTitle);
    return written;
}

bool TrackFiles::writePoints(const TrackLayer& layer, const std::string& path, bool binary) {
    RecordFile file;
    // An empty layer leaves an empty file in either form.
    const bool asBinary = binary && !layer.empty();
    if (!file.open(path, asBinary ? RecordFileMode::WriteBinary : RecordFileMode::WriteText)) {
        if (!file.hasBuffer()) showMemoryError(kRecordFileMemoryError);
        return false;
    }
    bool ok = true;
    std::string line;
    BinaryRecordWriter record;
    for (const TrackPoint* point = layer.first(); point && ok; point = point->next) {
        if (asBinary) {
            buildBinaryPointRecord(record, *point);
            ok = writeBinaryRecord(file, record);
        } else {
            line.clear();
            appendTextPointRecord(line, *point);
            ok = file.writeText(line);
        }
    }
    return file.close() && ok;
}

LayerLoad TrackFiles::loadLayer(int layer, const std::string& path, int colour) {
    FileBusy::Scope busy(busy_);
    showStatus(layer == Track::kMainLayer ? std::u16string(u"Loading track...")
                                          : numbered("loading track %d...", layer));
    int memoryError = 0;
    const LayerLoad load = loadPoints(layer, path, colour, memoryError);
    showStatus(u"");
    if (memoryError != 0) showMemoryError(memoryError);
    if (layer == Track::kMainLayer && load.opened && !load.whole()) mainLayerLostPoints_ = true;
    return load;
}

LayerLoad TrackFiles::loadPoints(int index, const std::string& path, int colour, int& memoryError) {
    LayerLoad load;
    TrackFileReader reader;
    if (!reader.open(path)) {
        load.failure = reader.failure();
        return load;
    }
    load.opened = true;
    load.binary = reader.isBinary();
    const bool binary = load.binary;
    const bool main = index == Track::kMainLayer;
    TrackLock::Hold hold(track_.lock(), u".Load");
    TrackLayer& layer = track_.layer(index);
    if (TrackPoint* last = layer.last()) {
        last->flags |= kSegmentEnd;
        // The fixes merged into the old last point cannot be averaged into a loaded one.
        if (main) layer.merge.reset();
    }
    // A load is no recording: what was derived from the layer is derived anew.
    layer.touch();
    const double minDistance = track_.settings.minPointDistanceKm;
    for (long records = 0;; ++records) {
        const std::optional<PointRecord> record = reader.next();
        if (!record) break;
        if (records % kNotifyEvery == 0) notifyLoader();
        TrackPoint* point = layer.append();
        if (!point) {
            memoryError = binary ? (main ? kMemoryBinaryMain : kMemoryBinaryLayer)
                                 : (main ? kMemoryTextMain : kMemoryTextLayer);
            // What could not be taken in is lost to the layer like a damaged record.
            ++load.skipped;
            break;
        }
        PointValues values = record->values;
        if (colour != kNoColour) values.colour = colour;
        setPointValues(*point, values, minDistance);
        if (record->hasSmoothed) {
            point->smoothAltitude = record->smoothAltitude;
            point->smoothSpeed = record->smoothSpeed;
            point->smoothSignal = record->smoothSignal;
        }
        if (record->hasClimbSpeed) point->climbSpeed = record->climbSpeed;
        ++load.added;
    }
    load.skipped += reader.skipped();
    track_.thinLayerHeld(index);
    if (!main) layer.numberPoints();
    if (main && !binary) track_.smoothAllHeld();
    return load;
}

bool TrackFiles::storeLayer(int layer) {
    const bool binary = !oldSavingFormat;
    if (layer != Track::kMainLayer) return writeLayer(layer, folders_.layerFile(layer), binary);
    FileBusy::Scope busy(busy_);
    const std::string staged = stagedMainFile();
    if (!writeLayer(layer, staged, binary)) return false;
    if (commitMainFile(staged)) return true;
    // With the journal still aside the staged file is the truth: start-up finishes it.
    if (!journal_.asideExists()) ::unlink(staged.c_str());
    platform::showMessage(kUnableToOpen, kErrorTitle);
    return false;
}

// The journal moves aside first: from that moment the staged file is the truth, and
// finishInterruptedStore() completes the rename should the program die before it.
bool TrackFiles::commitMainFile(const std::string& staged) {
    if (!journal_.setAside()) return false;
    if (::rename(staged.c_str(), folders_.layerFile(0).c_str()) != 0) {
        journal_.takeBack();
        return false;
    }
    syncFolder(folders_.program);
    journal_.dropAside();
    return true;
}

void TrackFiles::finishInterruptedStore() {
    const std::string staged = stagedMainFile();
    if (journal_.asideExists()) {
        if (fileExists(staged)) {
            if (::rename(staged.c_str(), folders_.layerFile(0).c_str()) != 0) {
                // Without the new file in place the old one and the journal still agree.
                journal_.takeBack();
                return;
            }
            syncFolder(folders_.program);
        }
        journal_.dropAside();
    } else if (fileExists(staged)) {
        ::unlink(staged.c_str());
    }
}

}  // namespace wendra
