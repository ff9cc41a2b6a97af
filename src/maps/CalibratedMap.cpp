#include "maps/CalibratedMap.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "maps/MapImageLoad.h"
#include "platform/WidePath.h"

namespace wendra::maps {

namespace {

constexpr double kHalfTurnDegrees = 180.0;

bool isSeparator(char16_t c) {
    return c == u'\\' || c == u'/';
}

// The image's file name without its extension: a map without a title is named so.
std::u16string titleFromPath(const std::u16string& path) {
    const auto slash = std::find_if(path.rbegin(), path.rend(), isSeparator);
    std::u16string name(slash.base(), path.end());
    const auto dot = name.rfind(u'.');
    if (dot != std::u16string::npos) name.resize(dot);
    return name;
}

// The folder that holds the image, which groups the maps in the map list.
std::u16string groupFromPath(const std::u16string& path) {
    const auto last = std::find_if(path.rbegin(), path.rend(), isSeparator);
    if (last == path.rend()) return {};
    const auto folderEnd = last.base() - 1;
    auto folderStart =
        std::find_if(std::make_reverse_iterator(folderEnd), path.rend(), isSeparator);
    return std::u16string(folderStart.base(), folderEnd);
}

}  // namespace

bool usableCorners(const std::array<double, kCornerCount>& latitudes,
                   const std::array<double, kCornerCount>& longitudes) {
    for (int i = 0; i < kCornerCount; ++i)
        if (!std::isfinite(latitudes[i]) || !std::isfinite(longitudes[i])) return false;
    return longitudes[1] != longitudes[0] && latitudes[2] != latitudes[0];
}

bool CalibratedMap::setDefinition(const MapDefinition& definition) {
    if (removed_ || !usableCorners(definition.cornerLatitudes, definition.cornerLongitudes))
        return false;
    definition_.cornerLatitudes = definition.cornerLatitudes;
    definition_.cornerLongitudes = definition.cornerLongitudes;
    deriveGeometry();
    adoptPathAndTitle(definition);
    if (definition.width != 0 && definition.height != 0 && definition.bytesPerPixel != 0) {
        setImageSize(definition.width, definition.height, definition.bytesPerPixel);
        if (definition.memoryInUse != 0) definition_.memoryInUse = definition.memoryInUse;
        return true;
    }
    const ImageHeader header = readImageHeader(platform::pathFromWide(definition_.imagePath));
    if (header.result == LoadResult::Loaded)
        setImageSize(header.shape.width, header.shape.height, header.shape.bytesPerPixel());
    else
        setImageSize(0, 0, 0);
    return true;
}

void CalibratedMap::adoptPathAndTitle(const MapDefinition& definition) {
    std::u16string path = definition.imagePath.substr(0, kMaxImagePathLength);
    if (path != definition_.imagePath || definition.userFlags != definition_.userFlags) {
        definition_.imagePath = std::move(path);
        definition_.userFlags = definition.userFlags;
        if (!(definition_.userFlags & kMapInternetTile))
            groupName_ = groupFromPath(definition_.imagePath);
    }
    if ((definition_.userFlags & kMapInternetTile) && !definition.groupName.empty())
        groupName_ = definition.groupName;
    definition_.groupName = groupName_;
    definition_.title =
        definition.title.empty() ? titleFromPath(definition_.imagePath) : definition.title;
    definition_.title.resize(std::min(definition_.title.size(), kMaxTitleLength));
}

void CalibratedMap::setGroupName(const std::u16string& name) {
    if (!(definition_.userFlags & kMapInternetTile)) return;
    groupName_ = name;
    definition_.groupName = name;
}

void CalibratedMap::deriveGeometry() {
    const auto& lat = definition_.cornerLatitudes;
    const auto& lon = definition_.cornerLongitudes;
    centreLatitude_ = (lat[0] + lat[1] + lat[2] + lat[3]) / 4;
    centreLongitude_ = (lon[0] + lon[1] + lon[2] + lon[3]) / 4;
    cosCentre_ = std::cos(centreLatitude_ * std::numbers::pi / kHalfTurnDegrees);
    minLatitude_ = *std::min_element(lat.begin(), lat.end());
    maxLatitude_ = *std::max_element(lat.begin(), lat.end());
    minLongitude_ = *std::min_element(lon.begin(), lon.end());
    maxLongitude_ = *std::max_element(lon.begin(), lon.end());
    const LineIntersection side = intersectLines(corner(0), corner(2), corner(1), corner(3));
    hasSideVanishing_ = side.crossing != LineCrossing::Parallel;
    sideVanishing_ = side.point;
    const LineIntersection top = intersectLines(corner(0), corner(1), corner(2), corner(3));
    hasTopVanishing_ = top.crossing != LineCrossing::Parallel;
    topVanishing_ = top.point;
    computeScales();
}

void CalibratedMap::setImageSize(int width, int height, int bytesPerPixel) {
    definition_.width = width;
    definition_.height = height;
    definition_.bytesPerPixel = bytesPerPixel;
    computeScales();
}

void CalibratedMap::computeScales() {
    scales_ = {};
    const int width = definition_.width;
    const int height = definition_.height;
    if (width == 0 || height == 0) return;
    const auto& lat = definition_.cornerLatitudes;
    const auto& lon = definition_.cornerLongitudes;
    const double h = kHalfTurnDegrees;
    const double dx = (lon[1] + lon[3]) / h - (lon[0] + lon[2]) / h;
    const double dy = (lat[1] + lat[3]) / h - (lat[0] + lat[2]) / h;
    const double a = std::hypot(dx, dy) / 2;
    const double b = std::hypot(dx * cosCentre_, dy) / 2;
    const double ex = (lon[2] + lon[3]) / h - (lon[0] + lon[1]) / h;
    const double ey = (lat[2] + lat[3]) / h - (lat[0] + lat[1]) / h;
    const double c = std::hypot(ex, ey) / 2;
    scales_.lonScale = static_cast<float>(width / a);
    scales_.widthScale = static_cast<float>(width / b);
    scales_.degreesPerPixelX = static_cast<float>(b / width * h);
    scales_.degreesPerPixelY = static_cast<float>(c / height * h);
}

PlanePoint CalibratedMap::corner(int index) const {
    return {definition_.cornerLongitudes[index], definition_.cornerLatitudes[index]};
}

bool CalibratedMap::geoToPixel(double latitude, double longitude, MapPixel& pixel) const {
    const PlanePoint p{longitude, latitude};
    const PlanePoint c0 = corner(0), c1 = corner(1), c2 = corner(2);
    // Columns run through the side vanishing point, or parallel to the left side.
    const PlanePoint columnPoint =
        hasSideVanishing_ ? sideVanishing_ : PlanePoint{p.x - (c2.x - c0.x), p.y - (c2.y - c0.y)};
    const LineIntersection top = intersectLines(columnPoint, p, c0, c1);
    if (top.crossing == LineCrossing::Parallel) return false;
    const PlanePoint rowPoint =
        hasTopVanishing_ ? topVanishing_ : PlanePoint{p.x - (c1.x - c0.x), p.y - (c1.y - c0.y)};
    const LineIntersection left = intersectLines(rowPoint, p, c0, c2);
    if (left.crossing == LineCrossing::Parallel) return false;
    const double u = (top.point.x - c0.x) / (c1.x - c0.x);
    const double v = (left.point.y - c0.y) / (c2.y - c0.y);
    pixel.x = static_cast<float>(u * (definition_.width - 1));
    pixel.y = static_cast<float>((1 - v) * (definition_.height - 1));
    return true;
}

bool CalibratedMap::containsPosition(double latitude, double longitude) const {
    if (latitude < minLatitude_ || latitude > maxLatitude_ || longitude < minLongitude_ ||
        longitude > maxLongitude_)
        return false;
    MapPixel pixel;
    if (!geoToPixel(latitude, longitude, pixel)) return false;
    return pixel.x >= 0 && pixel.x < static_cast<float>(definition_.width) && pixel.y >= 0 &&
           pixel.y < static_cast<float>(definition_.height);
}

}  // namespace wendra::maps
