#include "maps/OziMapImport.h"

#include <cmath>
#include <cstdio>
#include <string_view>
#include <vector>

#include "maps/MapImage.h"
#include "maps/OziCorners.h"
#include "maps/OziImageSearch.h"
#include "maps/OziText.h"
#include "platform/TraceLog.h"
#include "platform/WidePath.h"
#include "records/RecordSplitter.h"
#include "records/Utm.h"

namespace wendra::maps {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kSignature = "OziExplorer Map Data File";
constexpr std::string_view kSizePrefix = "IWH,Map Image Width/Height,";
constexpr std::string_view kWgs84 = "WGS 84";
// Real calibration files are a few kilobytes; the rest of a larger one is not read.
constexpr std::size_t kMaxFileBytes = 4u << 20;
constexpr int kPointCount = 4;

struct MapFileLines {
    bool opened = false;
    std::string text;
    std::vector<std::string_view> lines;
};

// Lines without their trailing spaces and control characters (a CR among them).
MapFileLines readLines(const fs::path& path) {
    MapFileLines file;
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (!in) return file;
    file.opened = true;
    file.text.resize(kMaxFileBytes);
    file.text.resize(std::fread(file.text.data(), 1, kMaxFileBytes, in));
    std::fclose(in);
    std::string_view rest = file.text;
    while (!rest.empty()) {
        const auto end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        while (!line.empty() && static_cast<unsigned char>(line.back()) < '!')
            line.remove_suffix(1);
        file.lines.push_back(line);
    }
    return file;
}

std::string_view lineAt(const MapFileLines& file, std::size_t index) {
    return index < file.lines.size() ? file.lines[index] : std::string_view();
}

// A three-letter extension left in the title is the image's, not part of the name.
std::string_view titleOf(std::string_view line) {
    if (line.size() > 4 && line[line.size() - 4] == '.') line.remove_suffix(4);
    return line;
}

struct PointValues {
    bool hasPixel = false;
    bool hasPosition = false;
    CalibrationPoint point;
};

struct Calibration {
    std::array<PointValues, kPointCount> points;
    bool hasSize = false;
    int width = 0;
    int height = 0;
};

OziResult readPointLine(std::string_view line, Calibration& calibration) {
    std::string key;
    std::int32_t number = 0;
    double first = 0, second = 0;
    if (splitRecord(line, ',', "SdFF", {&key, &number, &first, &second}) != 0)
        return OziResult::BadPointLine;
    if (number < 1 || number > kPointCount) return OziResult::BadPointNumber;
    PointValues& values = calibration.points[number - 1];
    if (key == "MMPXY") {
        values.hasPixel = true;
        values.point.pixel = {first, second};
    } else if (key == "MMPLL") {
        values.hasPosition = true;
        values.point.longitude = first;
        values.point.latitude = second;
    } else {
        return OziResult::UnknownPointKey;
    }
    return OziResult::Imported;
}

OziResult readSizeLine(std::string_view line, Calibration& calibration) {
    std::int32_t width = 0, height = 0;
    if (splitRecord(line.substr(kSizePrefix.size()), ',', "dd", {&width, &height}) != 0 ||
        width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide)
        return OziResult::BadSizeLine;
    calibration.hasSize = true;
    calibration.width = width;
    calibration.height = height;
    return OziResult::Imported;
}

OziResult readCalibration(const MapFileLines& file, Calibration& calibration) {
    std::size_t index = 3;
    while (index < file.lines.size() && !file.lines[index].starts_with("MMPNUM")) ++index;
    if (index >= file.lines.size()) return OziResult::NoPointCount;
    std::string key;
    std::int32_t count = 0;
    if (splitRecord(file.lines[index], ',', "Sd", {&key, &count}) != 0)
        return OziResult::BadPointCount;
    if (count != kPointCount) return OziResult::NotFourPoints;
    for (++index; index < file.lines.size(); ++index) {
        const std::string_view line = file.lines[index];
        OziResult result = OziResult::Imported;
        if (line.starts_with("MMP"))
            result = readPointLine(line, calibration);
        else if (!calibration.hasSize && line.starts_with(kSizePrefix))
            result = readSizeLine(line, calibration);
        if (result != OziResult::Imported) return result;
    }
    return OziResult::Imported;
}

// Values beyond the poles or the date line are UTM easting and northing.
OziResult toGeographic(Calibration& calibration, std::optional<int> zone) {
    for (PointValues& values : calibration.points) {
        if (!values.hasPixel || !values.hasPosition) return OziResult::IncompletePoint;
        CalibrationPoint& p = values.point;
        if (std::fabs(p.latitude) <= 90 && std::fabs(p.longitude) <= 180) continue;
        if (!zone) return OziResult::NeedsZone;
        const GeoPosition position = geoFromUtm(p.longitude, p.latitude, *zone);
        if (!hasCoordinate(position.latitude) || !hasCoordinate(position.longitude))
            return OziResult::IncompletePoint;
        p.latitude = position.latitude;
        p.longitude = position.longitude;
    }
    return OziResult::Imported;
}

// Top-left, top-right, bottom-left, bottom-right around the middle of the pixel box.
std::optional<std::array<CalibrationPoint, kPointCount>> byQuadrant(
    const Calibration& calibration) {
    double minX = 999999.0, maxX = -999999.0, minY = 999999.0, maxY = -999999.0;
    for (const PointValues& v : calibration.points) {
        minX = std::min(minX, v.point.pixel.x);
        maxX = std::max(maxX, v.point.pixel.x);
        minY = std::min(minY, v.point.pixel.y);
        maxY = std::max(maxY, v.point.pixel.y);
    }
    const double midX = (minX + maxX) / 2, midY = (minY + maxY) / 2;
    std::array<CalibrationPoint, kPointCount> ordered;
    std::array<bool, kPointCount> taken{};
    for (const PointValues& v : calibration.points) {
        const PlanePoint p = v.point.pixel;
        if (p.x == midX || p.y == midY || !std::isfinite(midX) || !std::isfinite(midY))
            return std::nullopt;
        const int quadrant = (p.x > midX ? 1 : 0) + (p.y > midY ? 2 : 0);
        if (taken[quadrant]) return std::nullopt;
        taken[quadrant] = true;
        ordered[quadrant] = v.point;
    }
    return ordered;
}

// Without a size line the points must be the image corners, which then give the size.
bool sizeFromCorners(const std::array<CalibrationPoint, kPointCount>& q, Calibration& calibration) {
    const PlanePoint tl = q[0].pixel, tr = q[1].pixel, bl = q[2].pixel, br = q[3].pixel;
    if (tl.x != 0 || tl.y != 0 || tr.y != 0 || bl.x != 0 || tr.x != br.x || bl.y != br.y)
        return false;
    if (br.x < 1 || br.y < 1 || br.x > kMaxImageSide || br.y > kMaxImageSide) return false;
    calibration.width = static_cast<int>(br.x);
    calibration.height = static_cast<int>(br.y);
    return true;
}

void noteInTrace(const fs::path& mapFile, const std::string& datum, std::string_view what) {
    platform::traceLog().write("Map import: " + mapFile.string() + ": datum \"" + datum + "\" " +
                               std::string(what) + ", corners kept as written");
}

void shiftDatum(const fs::path& mapFile, const OziDatumList& datums, OziImport& import) {
    auto& lat = import.definition.cornerLatitudes;
    auto& lon = import.definition.cornerLongitudes;
    if (import.datum == kWgs84) return;
    const std::optional<DatumParameters> datum = datums.find(import.datum);
    if (!datum) {
        import.shift = DatumShift::UnknownDatum;
        noteInTrace(mapFile, import.datum, "is not in the datum list");
        return;
    }
    if (datum->isWgs84()) return;
    if (!shiftToWgs84(*datum, lat, lon)) {
        import.shift = DatumShift::Failed;
        noteInTrace(mapFile, import.datum, "could not be shifted to WGS 84");
        return;
    }
    import.shift = DatumShift::Applied;
    import.towgs84 = datum->towgs84;
}

std::string datumName(std::string_view line) {
    return std::string(line.substr(0, line.find(',')));
}

OziResult placeCorners(const MapFileLines& file, std::optional<int> zone, OziImport& import) {
    Calibration calibration;
    if (const OziResult r = readCalibration(file, calibration); r != OziResult::Imported) return r;
    if (const OziResult r = toGeographic(calibration, zone); r != OziResult::Imported) return r;
    const auto ordered = byQuadrant(calibration);
    if (!ordered) return OziResult::NotOnePerQuadrant;
    if (!calibration.hasSize && !sizeFromCorners(*ordered, calibration))
        return OziResult::NotOnImageCorners;
    const auto corners = cornerPositions(*ordered, calibration.width, calibration.height);
    if (!corners) return OziResult::UnusableCorners;
    import.definition.cornerLatitudes = corners->latitudes;
    import.definition.cornerLongitudes = corners->longitudes;
    return OziResult::Imported;
}

}  // namespace

OziImport importOziMap(const fs::path& mapFile, std::optional<int> zone,
                       const OziDatumList& datums) {
    OziImport import;
    const MapFileLines file = readLines(mapFile);
    if (!file.opened) return import;
    import.result = OziResult::NotMapFile;
    if (!lineAt(file, 0).starts_with(kSignature)) return import;
    const std::string_view title = titleOf(lineAt(file, 1));
    const std::string_view imageLine = lineAt(file, 2);
    import.datum = datumName(lineAt(file, 4));
    import.result = placeCorners(file, zone, import);
    if (import.result != OziResult::Imported) return import;
    shiftDatum(mapFile, datums, import);
    if (!usableCorners(import.definition.cornerLatitudes, import.definition.cornerLongitudes)) {
        import.result = OziResult::UnusableCorners;
        return import;
    }
    import.definition.title = decodeText(title, guessCodePage(title));
    if (const fs::path image = findOziImage(mapFile, imageLine); !image.empty())
        import.definition.imagePath = platform::wideFromPath(image).value_or(std::u16string());
    return import;
}

OziResult importOziMap(CalibratedMap& map, const fs::path& mapFile, std::optional<int> zone,
                       std::uint32_t userFlags) {
    OziImport import = importOziMap(mapFile, zone);
    if (import.result != OziResult::Imported) return import.result;
    import.definition.userFlags = userFlags;
    return map.setDefinition(import.definition) ? OziResult::Imported : OziResult::UnusableCorners;
}

}  // namespace wendra::maps
