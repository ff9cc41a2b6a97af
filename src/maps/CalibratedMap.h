#pragma once
// One calibrated map: an image file and the geographic positions of its four image
// corners, with the geometry derived from them. Set definition is the only way the
// corners change, and it recomputes every derived value, so they never disagree.
// A definition whose corners cannot place a pixel (not finite, or a top side without
// a longitude span, or a left side without a latitude span) is refused whole.

#include <array>
#include <cstdint>
#include <string>

#include "maps/MapLines.h"

namespace wendra::maps {

// Corner order everywhere: 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right.
inline constexpr int kCornerCount = 4;
inline constexpr std::size_t kMaxTitleLength = 63;
inline constexpr std::size_t kMaxImagePathLength = 255;
inline constexpr std::uint32_t kMapActive = 0x1;
inline constexpr std::uint32_t kMapInternetTile = 0x8000;

// What the maps file stores of a map.
struct MapDefinition {
    std::u16string title;
    std::u16string imagePath;
    std::uint32_t userFlags = 0;
    std::array<double, kCornerCount> cornerLatitudes{};
    std::array<double, kCornerCount> cornerLongitudes{};
    int width = 0;  // pixels; 0 while unknown
    int height = 0;
    int bytesPerPixel = 0;  // 1 palette, 2 true colour
    std::int32_t memoryInUse = 0;
    // An internet tile's group: its source's name, which its path does not give. The
    // maps file stores no tiles, and other maps take their group from the path.
    std::u16string groupName;
};

// A position on the image: x from the left, y from the bottom row.
struct MapPixel {
    float x = 0;
    float y = 0;
};

struct MapScales {
    float lonScale = 0;          // pixels per half-turn of longitude across
    float widthScale = 0;        // pixels per half-turn of distance across
    float degreesPerPixelX = 0;  // degrees of distance per pixel across
    float degreesPerPixelY = 0;  // degrees per pixel down
};

// Whether the corners can place a pixel: finite, the top side spans longitude and the
// left side spans latitude (geoToPixel divides by both).
bool usableCorners(const std::array<double, kCornerCount>& latitudes,
                   const std::array<double, kCornerCount>& longitudes);

class CalibratedMap {
public:
    virtual ~CalibratedMap() = default;

    // False, and nothing changes, when the map was removed or the corners are not
    // usable. Without a stored image size the image header is read for it.
    bool setDefinition(const MapDefinition& definition);
    // Part of the image's life: the header or a load tells the size; scales follow.
    void setImageSize(int width, int height, int bytesPerPixel);
    void markRemoved() { removed_ = true; }
    bool removed() const { return removed_; }
    // An internet tile's group after its definition (as MapDefinition::groupName).
    void setGroupName(const std::u16string& name);

    const MapDefinition& definition() const { return definition_; }
    const std::u16string& groupName() const { return groupName_; }
    const MapScales& scales() const { return scales_; }
    double centreLatitude() const { return centreLatitude_; }
    double centreLongitude() const { return centreLongitude_; }
    double minLatitude() const { return minLatitude_; }
    double maxLatitude() const { return maxLatitude_; }
    double minLongitude() const { return minLongitude_; }
    double maxLongitude() const { return maxLongitude_; }

    // False when a construction line runs parallel to the side it must cross.
    bool geoToPixel(double latitude, double longitude, MapPixel& pixel) const;
    bool containsPosition(double latitude, double longitude) const;

private:
    void deriveGeometry();
    void adoptPathAndTitle(const MapDefinition& definition);
    void computeScales();
    PlanePoint corner(int index) const;

    MapDefinition definition_;
    std::u16string groupName_;
    bool removed_ = false;
    double centreLatitude_ = 0;
    double centreLongitude_ = 0;
    double cosCentre_ = 1;
    double minLatitude_ = 999999.0;
    double maxLatitude_ = -999999.0;
    double minLongitude_ = 999999.0;
    double maxLongitude_ = -999999.0;
    bool hasSideVanishing_ = false;
    PlanePoint sideVanishing_;  // (longitude, latitude)
    bool hasTopVanishing_ = false;
    PlanePoint topVanishing_;
    MapScales scales_;
};

}  // namespace wendra::maps
