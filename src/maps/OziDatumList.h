#pragma once
// The calibration format's own list of datums, each with its ellipsoid and its
// three-parameter shift to WGS 84, read from the CSV files that Debian's gdal-data
// ships (ozi_datum.csv, ozi_ellips.csv). The files are outside data: rows that are
// malformed or hold implausible values are skipped, never trusted.

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wendra::maps {

struct DatumParameters {
    std::string name;
    double semiMajorAxis = 0;  // metres
    double inverseFlattening = 0;
    std::array<double, 3> towgs84{};  // dx, dy, dz in metres

    // The WGS 84 ellipsoid with no shift: positions stay as they are.
    bool isWgs84() const;
};

class OziDatumList {
public:
    static constexpr std::string_view kDatumFile = "ozi_datum.csv";
    static constexpr std::string_view kEllipsoidFile = "ozi_ellips.csv";
    static std::filesystem::path systemFolder() { return "/usr/share/gdal"; }

    // Both files from `folder`; missing or unreadable files give an empty list.
    static OziDatumList load(const std::filesystem::path& folder);
    // The same from the texts themselves.
    static OziDatumList parse(std::string_view datumCsv, std::string_view ellipsoidCsv);

    // By name, letter case and surrounding spaces ignored.
    std::optional<DatumParameters> find(std::string_view name) const;
    std::size_t size() const { return datums_.size(); }

private:
    std::vector<DatumParameters> datums_;
};

// The list of the machine, read once.
const OziDatumList& systemDatumList();

// Moves the positions from the datum to WGS 84 with PROJ (geocentric translation).
// False, and nothing changes, when PROJ refuses or gives a value that is not finite.
bool shiftToWgs84(const DatumParameters& datum, std::array<double, 4>& latitudes,
                  std::array<double, 4>& longitudes);

}  // namespace wendra::maps
