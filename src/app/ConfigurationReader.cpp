#include "app/ConfigurationReader.h"

#include <algorithm>

#include "app/ConfigPlaces.h"
#include "app/RecordTail.h"
#include "points/PointsFile.h"
#include "records/RecordFile.h"
#include "records/RecordSplitter.h"
#include "track/MemoryError.h"

namespace wendra {

namespace {

constexpr std::string_view kMapView = "RIRUvo";
constexpr std::string_view kStatus7 = "Status7";
constexpr std::string_view kAlert = "Alert";
constexpr std::string_view kAlertTypes = "wwfd";
constexpr std::string_view kColourTypes = "C";
constexpr std::string_view kSerialKind = "Serial6";
constexpr std::string_view kSerialTypes = "dddd";
constexpr std::string_view kNmeaKind = "NMEA2";
constexpr std::string_view kNmeaTypes = "df";
constexpr size_t kReportedKindMax = 40;

struct KeptKind {
    std::string_view kind;
    int place;
};

// Kinds whose owners are not in this build, with the place each is saved at. The
// older "Import" and "Export2" are written where their successors go.
constexpr KeptKind kMapViewKept[] = {
    {"RIRUvo|NavStatus3", place::kNavStatus3},
    {"RIRUvo|DAlert", place::kDAlert},
};
constexpr KeptKind kOtherKept[] = {
    {"Import1", place::kImport1}, {"Import", place::kImport1}, {"Export2", place::kExport3},
    {"Export3", place::kExport3}, {"SatDsp", place::kSatDsp},
};

bool blank(std::string_view line) {
    return std::all_of(line.begin(), line.end(),
                       [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

// What an unknown line calls itself: up to its first bar (its second for "RIRUvo|").
std::string unknownKind(std::string_view line) {
    size_t end = line.find(kRecordSeparator);
    if (end != std::string_view::npos && line.substr(0, end) == kMapView)
        end = line.find(kRecordSeparator, end + 1);
    std::string_view kind = line.substr(0, std::min(end, line.size()));
    while (!kind.empty() && static_cast<unsigned char>(kind.back()) < ' ') kind.remove_suffix(1);
    return std::string(kind.substr(0, kReportedKindMax));
}

std::string_view withoutNewline(std::string_view line) {
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    return line;
}

}  // namespace

LineTreatment ConfigurationReader::offer(std::string_view line) {
    const std::string_view raw = withoutNewline(line);
    if (blank(raw)) return LineTreatment::Blank;
    if (readMapView(line) || readPartSettings(line) || readFolder(line) || readOwn(line) ||
        readOlderPoint(raw))
        return LineTreatment::Read;
    if (readKept(line, raw)) return LineTreatment::Kept;
    config_.kept.keepUnknown(place_, std::string(raw));
    took(unknownKind(raw), LineTreatment::Unknown, place_);
    return LineTreatment::Unknown;
}

void ConfigurationReader::took(std::string_view kind, LineTreatment treatment, int place) {
    place_ = place;
    const auto same = std::find_if(kinds_.begin(), kinds_.end(), [&](const KindCount& known) {
        return known.kind == kind && known.treatment == treatment;
    });
    if (same != kinds_.end())
        ++same->count;
    else
        kinds_.push_back({std::string(kind), treatment, 1});
}

bool ConfigurationReader::readMapView(std::string_view line) {
    std::string_view sub;
    if (!hasRecordPrefix(line, kMapView, &sub)) return false;
    std::string_view fields;
    if (hasRecordPrefix(sub, kStatus7, &fields)) {
        config_.status.read(fields);
        config_.status.applyTo(config_.track);
        config_.kept.setTail(place::kStatus7, fieldsAfter(fields, Status7Record::kTypes));
        took(Status7Record::kKind, LineTreatment::Read, place::kStatus7);
        return true;
    }
    if (hasRecordPrefix(sub, kAlert, &fields)) {
        config_.alerts.readRecord(fields).laterFields = fieldsAfter(fields, kAlertTypes);
        took("RIRUvo|Alert", LineTreatment::Read, place::kAlerts);
        return true;
    }
    return readColour(line, sub);
}

// sub: the line after "RIRUvo|".
bool ConfigurationReader::readColour(std::string_view line, std::string_view sub) {
    const int record = config_.colours.readColourRecord(line);
    if (record < 0) return false;
    const std::string_view key = ColourSet::recordKey(record);
    std::string_view fields;
    hasRecordPrefix(sub, key, &fields);
    config_.kept.setTail(place::kColours + record, fieldsAfter(fields, kColourTypes));
    took(std::string(kMapView) + '|' + std::string(key), LineTreatment::Read,
         place::kColours + record);
    return true;
}

// The receiver port's and the parser's records, read by their owners.
bool ConfigurationReader::readPartSettings(std::string_view line) {
    std::string_view fields;
    if (config_.serial.load(line)) {
        hasRecordPrefix(line, kSerialKind, &fields);
        config_.kept.setTail(place::kSerial6, fieldsAfter(fields, kSerialTypes));
        took(kSerialKind, LineTreatment::Read, place::kSerial6);
        return true;
    }
    if (config_.nmea.load(line)) {
        hasRecordPrefix(line, kNmeaKind, &fields);
        config_.kept.setTail(place::kNmea2, fieldsAfter(fields, kNmeaTypes));
        took(kNmeaKind, LineTreatment::Read, place::kNmea2);
        return true;
    }
    return false;
}

bool ConfigurationReader::readKept(std::string_view line, std::string_view raw) {
    const auto keep = [&](const KeptKind& kind) {
        config_.kept.keepRecord(kind.place, kind.kind, std::string(raw));
        took(kind.kind, LineTreatment::Kept, kind.place);
        return true;
    };
    for (const KeptKind& kind : kMapViewKept) {
        if (hasRecordPrefix(line, kind.kind)) return keep(kind);
    }
    for (const KeptKind& kind : kOtherKept) {
        if (hasRecordPrefix(line, kind.kind)) return keep(kind);
    }
    return false;
}

bool ConfigurationReader::readFolder(std::string_view line) {
    const auto folder = ConfigFolders::recordOf(line);
    if (!folder) return false;
    config_.setFolder(*folder, ConfigFolders::valueOf(line, *folder));
    took(ConfigFolders::name(*folder), LineTreatment::Read,
         place::kFolders + static_cast<int>(*folder));
    return true;
}

bool ConfigurationReader::readOwn(std::string_view line) {
    std::string_view fields;
    if (hasRecordPrefix(line, GraphSettings::kKind, &fields)) {
        config_.graph.read(fields);
        config_.kept.setTail(place::kGraph2, fieldsAfter(fields, GraphSettings::kTypes));
        took(GraphSettings::kKind, LineTreatment::Read, place::kGraph2);
        return true;
    }
    const bool older = hasRecordPrefix(line, GlobalSettings::kOlderKind, &fields);
    if (older || hasRecordPrefix(line, GlobalSettings::kKind, &fields)) {
        config_.global.read(fields, older);
        // An older record's extra fields would not mean the same in the newer kind.
        config_.kept.setTail(place::kGlobal4,
                             older ? std::string() : fieldsAfter(fields, GlobalSettings::kTypes));
        took(older ? GlobalSettings::kOlderKind : GlobalSettings::kKind, LineTreatment::Read,
             place::kGlobal4);
        return true;
    }
    return readOwnNumbered(line) || readHistory(line);
}

// KeyD and Dash3: a record per set or dashboard, refused when the number is out of range.
bool ConfigurationReader::readOwnNumbered(std::string_view line) {
    std::string_view fields;
    int number = 0;
    if (hasRecordPrefix(line, KeyBindings::kKind, &fields)) {
        if (!config_.keys.read(fields, number)) return false;
        config_.kept.setTail(place::kKeyD + number, fieldsAfter(fields, KeyBindings::kTypes));
        took(KeyBindings::kKind, LineTreatment::Read, place::kKeyD + number);
        return true;
    }
    if (hasRecordPrefix(line, Dashboards::kKind, &fields)) {
        if (!config_.dashboards.read(fields, number)) return false;
        config_.kept.setTail(place::kDash3 + number,
                             fieldsAfter(fields, Dashboards::types(number)));
        took(Dashboards::kKind, LineTreatment::Read, place::kDash3 + number);
        return true;
    }
    return false;
}

bool ConfigurationReader::readHistory(std::string_view line) {
    for (size_t i = 0; i < AddressHistory::kFields; ++i) {
        std::string_view fields;
        if (!hasRecordPrefix(line, AddressHistory::kKinds[i], &fields)) continue;
        const auto field = static_cast<AddressField>(i);
        const int place = place::kHistory + static_cast<int>(i);
        // A damaged entry loses the rest of the line, so there is no tail to keep.
        const bool whole = config_.history.read(field, fields);
        config_.kept.setTail(place,
                             whole ? fieldsAfter(fields, AddressHistory::kTypes) : std::string());
        took(AddressHistory::kKinds[i], LineTreatment::Read, place);
        return true;
    }
    return false;
}

// The point now lives in the points file, which the next save writes: the
// configuration no longer keeps it. A point the points file would not keep (a damaged
// record reads as one without a position) stays a line here, so that nothing is lost.
bool ConfigurationReader::readOlderPoint(std::string_view line) {
    if (!points_ || !points::readOlderConfigurationPoint(line, *points_)) return false;
    const points::GpsPoint& point = points_->at(points_->size() - 1);
    if (!points::belongsInFile(*points_, point)) {
        points_->removePoint(point);
        return false;
    }
    points_->setChanged(true);
    took("RIRUvo|Coord", LineTreatment::Read, place_);
    return true;
}

void readConfigurationLines(RecordFile& file, ConfigurationReader& reader) {
    // A leading 0xFF marks a binary file to the codec, which skips it; here it is only
    // the first byte of a damaged line and stays with it.
    std::string line = file.isBinary() ? std::string(1, static_cast<char>(kBinaryFileMarker)) : "";
    std::string piece;
    while (file.readLine(piece, kLongLineCapacity)) {
        line += piece;
        const bool cut = piece.size() == kLongLineCapacity - 2 && piece.back() != '\n';
        if (cut) continue;
        reader.offer(line);
        line.clear();
    }
    if (!line.empty()) reader.offer(line);
}

bool readConfigurationFile(const std::string& path, ConfigurationReader& reader) {
    RecordFile file;
    if (!file.open(path, RecordFileMode::Read)) {
        if (!file.hasBuffer()) showMemoryError(kRecordFileMemoryError);
        return false;
    }
    readConfigurationLines(file, reader);
    return true;
}

}  // namespace wendra
