#include "maps/MapsFile.h"

#include "maps/MapCatalogue.h"
#include "records/RecordFile.h"
#include "records/RecordWriter.h"

namespace wendra::maps {

namespace {

constexpr std::string_view kPrefix = "RIRUvo|Bmp";
constexpr std::string_view kCurrentKind = "GPSBmp4";
constexpr std::string_view kOlderKind = "GPSBmp3";

std::optional<MapDefinition> parseFields(std::string_view rest, bool sized) {
    MapDefinition d;
    auto& lat = d.cornerLatitudes;
    auto& lon = d.cornerLongitudes;
    std::int32_t flags = 0, width = 0, height = 0, bytes = 0, memory = 0;
    const int missing =
        splitRecord(rest, sized ? "wwdFFFFFFFFdddd" : "wwdFFFFFFFF",
                    {&d.title, &d.imagePath, &flags, &lat[0], &lon[0], &lat[1], &lon[1], &lat[2],
                     &lon[2], &lat[3], &lon[3], &width, &height, &bytes, &memory});
    if (missing || d.imagePath.empty()) return std::nullopt;
    d.userFlags = static_cast<std::uint32_t>(flags);
    // A size the image could not have is no size: the header is read instead.
    const ImageShape shape{width, height, bytes == 1};
    if (shape.valid() && (bytes == 1 || bytes == 2)) {
        d.width = width;
        d.height = height;
        d.bytesPerPixel = bytes;
        d.memoryInUse = memory;
    }
    return d;
}

}  // namespace

std::string mapRecord(const MapDefinition& d) {
    std::string line = "RIRUvo|Bmp|GPSBmp4|";
    appendCounted(line, d.title);
    appendCounted(line, d.imagePath);
    appendFormat(line, "%d|", static_cast<int>(d.userFlags));
    for (int i = 0; i < kCornerCount; ++i)
        appendFormat(line, "%.8Lf|%.8Lf|", static_cast<long double>(d.cornerLatitudes[i]),
                     static_cast<long double>(d.cornerLongitudes[i]));
    appendFormat(line, "%d|%d|%d|%d|\n", d.width, d.height, d.bytesPerPixel, d.memoryInUse);
    return line;
}

std::optional<MapDefinition> parseMapRecord(std::string_view line) {
    std::string_view rest;
    if (!hasRecordPrefix(line, kPrefix, &rest)) return std::nullopt;
    std::string_view fields;
    if (hasRecordPrefix(rest, kCurrentKind, &fields)) return parseFields(fields, true);
    if (hasRecordPrefix(rest, kOlderKind, &fields)) return parseFields(fields, false);
    return std::nullopt;
}

int readMapRecords(MapCatalogue& catalogue, RecordFile& file) {
    int added = 0;
    std::string line;
    while (file.readLine(line, kLongLineCapacity)) {
        const std::optional<MapDefinition> definition = parseMapRecord(line);
        if (!definition ||
            !usableCorners(definition->cornerLatitudes, definition->cornerLongitudes))
            continue;
        catalogue.newMap()->setDefinition(*definition);
        ++added;
    }
    return added;
}

bool writeMapRecords(MapCatalogue& catalogue, RecordFile& file) {
    for (const MapPtr& e : catalogue.maps()) {
        if (e->internetTile() || e->has(mapflag::kRemoved)) continue;
        if (!file.writeText(mapRecord(e->definition()))) return false;
    }
    return true;
}

bool saveMapsFile(MapCatalogue& catalogue, const std::filesystem::path& folder) {
    RecordFile file;
    bool written = file.open((folder / kMapsFileName).string(), RecordFileMode::WriteText);
    written = written && writeMapRecords(catalogue, file);
    written = file.close() && written;
    if (!written)
        catalogue.shell().ask(u"Unable to save config!", u"Error!", platform::Buttons::Ok);
    return written;
}

int loadMapsFile(MapCatalogue& catalogue, const std::filesystem::path& folder) {
    RecordFile file;
    if (!file.open((folder / kMapsFileName).string(), RecordFileMode::Read)) return 0;
    return readMapRecords(catalogue, file);
}

}  // namespace wendra::maps
