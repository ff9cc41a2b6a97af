#include "DemoMap.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <numbers>

#include "Args.h"
#include "maps/JpegEncoder.h"
#include "platform/ReplacingFile.h"
#include "simulator/NmeaSimulator.h"

namespace wendra::tool {

namespace {

constexpr double kMetresPerDegree = 111319.49;
constexpr int kLongSide = 2000;  // pixels
constexpr double kMinMarginMetres = 300;
constexpr double kMarginShare = 0.15;  // of the walk's larger span, on every side
constexpr int kJpegQuality = 80;

// "  46, 42.0000,N" as the point lines of the format write a coordinate.
std::string degreesMinutes(double value, char positive, char negative) {
    const double magnitude = std::fabs(value);
    const int degrees = static_cast<int>(magnitude);
    return std::to_string(degrees) + "," + fixedDecimals((magnitude - degrees) * 60, 4) + "," +
           (value < 0 ? negative : positive);
}

std::uint8_t expand5(unsigned c) {
    return static_cast<std::uint8_t>(c << 3 | c >> 2);
}

void writeJpeg(const platform::PixelBuffer& picture, const std::string& path) {
    maps::JpegEncoder encoder;
    bool ok = encoder.start(path, picture.width(), picture.height(), kJpegQuality);
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(picture.width()) * 3);
    for (int y = 0; ok && y < picture.height(); ++y) {
        const platform::Pixel16* row = picture.row(y);
        for (int x = 0; x < picture.width(); ++x) {
            rgb[x * 3] = expand5(row[x] >> 11 & 0x1F);
            rgb[x * 3 + 1] = expand5(row[x] >> 6 & 0x1F);
            rgb[x * 3 + 2] = expand5(row[x] & 0x1F);
        }
        ok = encoder.writeRow(rgb.data());
    }
    if (!encoder.close() || !ok) fail("cannot write \"" + path + "\"");
}

void writeText(const std::string& text, const std::string& path) {
    platform::ReplacingFile file;
    if (!file.open(path) || !file.write(text.data(), text.size()) || !file.commit())
        fail("cannot write \"" + path + "\"");
}

}  // namespace

std::string fixedDecimals(double value, int decimals) {
    char text[64];
    const auto end =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return std::string(text, end.ptr);
}

platform::Point DemoGround::pixelOf(GeoPoint p) const {
    return {static_cast<int>(std::lround((p.longitude - west) / (east - west) * (width - 1))),
            static_cast<int>(std::lround((north - p.latitude) / (north - south) * (height - 1)))};
}

GeoPoint DemoGround::positionOf(double x, double y) const {
    return {north - y / (height - 1) * (north - south), west + x / (width - 1) * (east - west)};
}

std::vector<GeoPoint> walkPath(const sim::SimulationOptions& options) {
    std::vector<GeoPoint> path;
    sim::NmeaSimulator simulator(options);
    while (simulator.next())
        path.push_back({simulator.walker().latitude, simulator.walker().longitude});
    return path;
}

std::string groundProblem(const std::vector<GeoPoint>& path) {
    if (path.empty()) return "the walk has no positions to map";
    for (std::size_t i = 1; i < path.size(); ++i)
        if (std::fabs(path[i].longitude - path[i - 1].longitude) > 180)
            return "the walk crosses the date line: no map is drawn for it";
    for (const GeoPoint& p : path)
        if (std::fabs(p.latitude) > 80) return "the walk goes too near a pole for a map";
    return {};
}

DemoGround groundOf(const std::vector<GeoPoint>& path) {
    DemoGround g{-90, 90, 180, -180};
    for (const GeoPoint& p : path) {
        g.north = std::max(g.north, p.latitude);
        g.south = std::min(g.south, p.latitude);
        g.east = std::max(g.east, p.longitude);
        g.west = std::min(g.west, p.longitude);
    }
    const double cosine = std::cos((g.north + g.south) / 2 * std::numbers::pi / 180);
    const double across = (g.east - g.west) * kMetresPerDegree * cosine;
    const double down = (g.north - g.south) * kMetresPerDegree;
    const double margin = std::max(kMinMarginMetres, kMarginShare * std::max(across, down));
    g.north += margin / kMetresPerDegree;
    g.south -= margin / kMetresPerDegree;
    g.east += margin / (kMetresPerDegree * cosine);
    g.west -= margin / (kMetresPerDegree * cosine);
    // The calibration file keeps six decimals; the picture is drawn on what it keeps.
    for (double* edge : {&g.north, &g.south, &g.east, &g.west})
        *edge = std::round(*edge * 1e6) / 1e6;
    const double widthMetres = across + 2 * margin, heightMetres = down + 2 * margin;
    g.metresPerPixel = std::max(widthMetres, heightMetres) / kLongSide;
    g.width = static_cast<int>(std::lround(widthMetres / g.metresPerPixel));
    g.height = static_cast<int>(std::lround(heightMetres / g.metresPerPixel));
    return g;
}

std::string calibrationText(const DemoGround& g, const std::string& title,
                            const std::string& imageName) {
    const std::string w = std::to_string(g.width), h = std::to_string(g.height);
    // Corner points on the picture's corners, in the order top-left, top-right,
    // bottom-right, bottom-left as the format numbers them.
    const std::string xy[4] = {"0,0", w + ",0", w + "," + h, "0," + h};
    const GeoPoint at[4] = {
        {g.north, g.west}, {g.north, g.east}, {g.south, g.east}, {g.south, g.west}};
    std::string text = "OziExplorer Map Data File Version 2.2\r\n" + title + "\r\n" + imageName +
                       "\r\n1 ,Map Code,\r\nWGS 84,WGS 84,   0.0000,   0.0000,WGS 84\r\n"
                       "Reserved 1\r\nReserved 2\r\nMagnetic Variation,,,E\r\n"
                       "Map Projection,Latitude/Longitude,PolyCal,No,AutoCalOnly,No,"
                       "BSBUseWPX,No\r\n";
    for (int i = 0; i < 4; ++i)
        text += "Point0" + std::to_string(i + 1) + ",xy," + xy[i] + ",in, deg," +
                degreesMinutes(at[i].latitude, 'N', 'S') + "," +
                degreesMinutes(at[i].longitude, 'E', 'W') +
                ", grid,   ,           ,           ,N\r\n";
    text +=
        "Projection Setup,,,,,,,,,,\r\n"
        "Map Feature = MF ; Map Comment = MC     These follow if they exist\r\n"
        "Track File = TF      These follow if they exist\r\n"
        "Moving Map Parameters = MM?    These follow if they exist\r\n"
        "MM0,Yes\r\nMMPNUM,4\r\n";
    for (int i = 0; i < 4; ++i) text += "MMPXY," + std::to_string(i + 1) + "," + xy[i] + "\r\n";
    for (int i = 0; i < 4; ++i)
        text += "MMPLL," + std::to_string(i + 1) + "," + fixedDecimals(at[i].longitude, 6) + "," +
                fixedDecimals(at[i].latitude, 6) + "\r\n";
    text += "MM1B," + fixedDecimals(g.metresPerPixel, 6) + "\r\nMOP,Map Open Position,0,0\r\n" +
            "IWH,Map Image Width/Height," + w + "," + h + "\r\n";
    return text;
}

void writeDemoMap(const sim::SimulationOptions& options, const std::string& jpegPath) {
    const std::vector<GeoPoint> path = walkPath(options);
    if (const std::string problem = groundProblem(path); !problem.empty()) fail(problem);
    const DemoGround ground = groundOf(path);
    writeJpeg(drawDemoMap(ground, path), jpegPath);
    const std::filesystem::path image(jpegPath);
    writeText(calibrationText(ground, image.stem().string(), image.filename().string()),
              std::filesystem::path(image).replace_extension(".map").string());
}

}  // namespace wendra::tool
