#pragma once
// Calibration files for the map form tests: an upright map whose four points sit on
// the image corners, in degrees or in UTM values, beside an image file of its name.

#include <cstdio>
#include <filesystem>
#include <string>

#include "support/TestPaths.h"

namespace wendra::test {

struct CalibrationBox {
    double west, east, south, north;  // degrees, or eastings and northings for UTM
};

inline const CalibrationBox kDegreeBox{10.0, 11.0, 49.0, 50.0};
inline const CalibrationBox kUtmBox{500000.0, 510000.0, 5400000.0, 5408000.0};

// Writes `name`.map naming `image` (created empty beside it unless it is empty).
inline std::filesystem::path writeCalibration(const std::filesystem::path& folder,
                                              const std::string& name, const std::string& image,
                                              const CalibrationBox& box = kDegreeBox) {
    std::filesystem::create_directories(folder);
    std::string text = "OziExplorer Map Data File Version 2.2\n" + name + "\n" + image +
                       "\n1 ,Map Code,\nWGS 84,WGS 84,0,0,WGS 84\nMMPNUM,4\n";
    const double xs[4] = {0, 1000, 1000, 0}, ys[4] = {0, 0, 800, 800};
    const double lons[4] = {box.west, box.east, box.east, box.west};
    const double lats[4] = {box.north, box.north, box.south, box.south};
    char line[128];
    for (int i = 0; i < 4; ++i) {
        std::snprintf(line, sizeof line, "MMPXY,%d,%g,%g\n", i + 1, xs[i], ys[i]);
        text += line;
    }
    for (int i = 0; i < 4; ++i) {
        std::snprintf(line, sizeof line, "MMPLL,%d,%.6f,%.6f\n", i + 1, lons[i], lats[i]);
        text += line;
    }
    text += "IWH,Map Image Width/Height,1000,800\n";
    writeFile(folder / (name + ".map"), text);
    if (!image.empty()) writeFile(folder / image, "");
    return folder / (name + ".map");
}

}  // namespace wendra::test
