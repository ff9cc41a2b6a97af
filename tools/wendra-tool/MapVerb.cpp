// wendra-tool map: imports a ".map" calibration file as the map list does and prints
// what the map would hold (corners in WGS 84, the image found and its size), or the
// pixel of a position on it, so calibrations can be checked on real files.

#include <cstdio>
#include <optional>
#include <string>

#include "FolderClaim.h"
#include "Verbs.h"
#include "maps/MapCatalogue.h"
#include "maps/MapImageLoad.h"
#include "maps/MapsFile.h"
#include "maps/OziMapImport.h"
#include "platform/Utf8.h"
#include "platform/WidePath.h"
#include "records/ClassicNumbers.h"
#include "records/Utm.h"

namespace wendra::tool {

namespace {

const char* shiftName(maps::DatumShift shift) {
    switch (shift) {
        case maps::DatumShift::NotNeeded:
            return "none";
        case maps::DatumShift::Applied:
            return "applied";
        case maps::DatumShift::UnknownDatum:
            return "unknown datum";
        case maps::DatumShift::Failed:
            return "failed";
    }
    return "none";
}

std::string cornersJson(const maps::MapDefinition& d) {
    std::string json = "[";
    char text[96];
    for (int i = 0; i < maps::kCornerCount; ++i) {
        std::snprintf(text, sizeof text, "%s{\"lat\":%.9f,\"lon\":%.9f}", i ? "," : "",
                      d.cornerLatitudes[i], d.cornerLongitudes[i]);
        json += text;
    }
    return json + "]";
}

void printImport(const maps::OziImport& import, const maps::ImageHeader& header) {
    const bool sized = header.result == maps::LoadResult::Loaded;
    std::printf(
        "{\"result\":%d,\"title\":%s,\"image\":%s,\"corners\":%s,\"width\":%d,\"height\":%d,"
        "\"datum\":%s,\"shift\":\"%s\",\"towgs84\":[%.3f,%.3f,%.3f]}\n",
        static_cast<int>(import.result), jsonString(toUtf8(import.definition.title)).c_str(),
        jsonString(toUtf8(import.definition.imagePath)).c_str(),
        cornersJson(import.definition).c_str(), sized ? header.shape.width : 0,
        sized ? header.shape.height : 0, jsonString(import.datum).c_str(), shiftName(import.shift),
        import.towgs84[0], import.towgs84[1], import.towgs84[2]);
}

// Appends the map to the folder's maps file as the map list would, refusing an image
// that is already in the list.
void addToMapsFile(const std::string& home, const maps::MapDefinition& imported,
                   const std::string& file) {
    const FolderClaim claim(home);
    maps::MapShell shell;
    maps::MapCatalogue catalogue(shell);
    maps::loadMapsFile(catalogue, home);
    if (catalogue.isDuplicate(imported.imagePath, catalogue.size()))
        fail(file + ": its image is already in " + home + "/Wendra.wdm");
    maps::MapDefinition definition = imported;
    definition.userFlags |= maps::kMapActive;
    if (!catalogue.newMap()->setDefinition(definition)) fail(file + ": corners not usable");
    if (!maps::saveMapsFile(catalogue, home)) fail(home + "/Wendra.wdm: cannot be saved");
}

int runImport(const Args& args) {
    std::optional<int> zone;
    std::string file;
    std::string home;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--zone") {
            const long long z = parseInteger(optionValue(args, i), "--zone");
            if (z == 0 || z < -kUtmZoneCount || z > kUtmZoneCount)
                fail("--zone must be 1..60 or -1..-60");
            zone = static_cast<int>(z);
        } else if (args[i] == "--home") {
            home = optionValue(args, i);
        } else if (file.empty()) {
            file = args[i];
        } else {
            fail("map import: expected one FILE.map");
        }
    }
    if (file.empty()) fail("map import: expected [--zone Z] [--home DIR] FILE.map");
    const maps::OziImport import = maps::importOziMap(file, zone);
    const bool found =
        import.result == maps::OziResult::Imported && !import.definition.imagePath.empty();
    if (found && !home.empty()) addToMapsFile(home, import.definition, file);
    maps::ImageHeader header;
    if (!import.definition.imagePath.empty())
        header = maps::readImageHeader(platform::pathFromWide(import.definition.imagePath));
    printImport(import, header);
    if (import.result != maps::OziResult::Imported)
        fail(file + ": import result " + std::to_string(static_cast<int>(import.result)));
    if (import.definition.imagePath.empty()) fail(file + ": no image found");
    return 0;
}

int runPixel(const Args& args) {
    if (args.size() != 4) fail("map pixel: expected FILE.map LAT LON");
    const double latitude = parseReal(args[2], "LAT");
    const double longitude = parseReal(args[3], "LON");
    maps::CalibratedMap map;
    const maps::OziResult result = maps::importOziMap(map, args[1], std::nullopt);
    if (result != maps::OziResult::Imported)
        fail(args[1] + ": import result " + std::to_string(static_cast<int>(result)));
    if (map.definition().width == 0) fail(args[1] + ": the image size is not known");
    maps::MapPixel pixel;
    if (!map.geoToPixel(latitude, longitude, pixel)) fail(args[1] + ": the position has no pixel");
    std::printf("%.3f %.3f\n", pixel.x, pixel.y);
    return 0;
}

}  // namespace

int runMap(const Args& args) {
    const ClassicLocaleScope classic;
    if (!args.empty() && args[0] == "import") return runImport(args);
    if (!args.empty() && args[0] == "pixel") return runPixel(args);
    fail("map: expected \"import [--zone Z] [--home DIR] FILE.map\" or \"pixel FILE.map LAT LON\"");
}

}  // namespace wendra::tool
