#pragma once
// Finds the image a calibration file names. The name is tried with each image
// extension the program reads, first where the line says (an absolute path, or one
// relative to the calibration file), then beside the calibration file under the
// name's last component, letter case ignored and the name read as UTF-8, cp1252 or
// cp1251: a file made on Windows names "D:\Maps\X.JPG" for the x.jpg beside it.

#include <filesystem>
#include <string_view>

namespace wendra::maps {

// The image file found, or an empty path.
std::filesystem::path findOziImage(const std::filesystem::path& mapFile,
                                   std::string_view imageLine);

}  // namespace wendra::maps
