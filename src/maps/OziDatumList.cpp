#include "maps/OziDatumList.h"

#include <proj.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <iterator>
#include <map>

namespace wendra::maps {

namespace {

// Far larger than the shipped lists; a bigger file is not a datum list.
constexpr std::size_t kMaxListBytes = 1 << 20;
constexpr double kWgs84SemiMajor = 6378137.0;
constexpr double kWgs84InverseFlattening = 298.257223563;
// Every real ellipsoid of the list lies well inside these; the shifts too.
constexpr double kMinSemiMajor = 6.3e6, kMaxSemiMajor = 6.4e6;
constexpr double kMinInverseFlattening = 250.0, kMaxInverseFlattening = 350.0;
constexpr double kMaxShiftMetres = 5000.0;

std::string_view trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\"");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r\"");
    return text.substr(first, last - first + 1);
}

std::vector<std::string_view> fields(std::string_view line) {
    const auto comment = line.find('#');
    if (comment != std::string_view::npos) line = line.substr(0, comment);
    std::vector<std::string_view> out;
    while (true) {
        const auto comma = line.find(',');
        out.push_back(trim(line.substr(0, comma)));
        if (comma == std::string_view::npos) return out;
        line.remove_prefix(comma + 1);
    }
}

std::optional<double> number(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

template <typename Row>
void forEachRow(std::string_view csv, Row row) {
    bool header = true;
    while (!csv.empty()) {
        const auto end = csv.find('\n');
        const std::string_view line = csv.substr(0, end);
        csv.remove_prefix(end == std::string_view::npos ? csv.size() : end + 1);
        if (header) {  // the column names
            header = false;
            continue;
        }
        if (trim(line).empty() || trim(line).front() == '#') continue;
        row(fields(line));
    }
}

struct Ellipsoid {
    double semiMajorAxis;
    double inverseFlattening;
};

std::map<std::string, Ellipsoid, std::less<>> parseEllipsoids(std::string_view csv) {
    std::map<std::string, Ellipsoid, std::less<>> ellipsoids;
    forEachRow(csv, [&](const std::vector<std::string_view>& f) {
        if (f.size() < 4 || f[0].empty()) return;
        const auto a = number(f[2]), rf = number(f[3]);
        if (!a || !rf || *a < kMinSemiMajor || *a > kMaxSemiMajor || *rf < kMinInverseFlattening ||
            *rf > kMaxInverseFlattening)
            return;
        ellipsoids.emplace(std::string(f[0]), Ellipsoid{*a, *rf});
    });
    return ellipsoids;
}

std::string readSmallFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string text;
    char buffer[4096];
    while (in && text.size() <= kMaxListBytes) {
        in.read(buffer, sizeof buffer);
        text.append(buffer, static_cast<std::size_t>(in.gcount()));
    }
    return text.size() > kMaxListBytes ? std::string() : text;
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
               return lower(x) == lower(y);
           });
}

// A number for a PROJ string: shortest exact form with a '.', whatever the locale.
std::string projNumber(double value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string shiftPipeline(const DatumParameters& d) {
    return "+proj=pipeline +step +proj=unitconvert +xy_in=deg +xy_out=rad"
           " +step +proj=cart +a=" +
           projNumber(d.semiMajorAxis) + " +rf=" + projNumber(d.inverseFlattening) +
           " +step +proj=helmert +x=" + projNumber(d.towgs84[0]) +
           " +y=" + projNumber(d.towgs84[1]) + " +z=" + projNumber(d.towgs84[2]) +
           " +step +inv +proj=cart +a=" + projNumber(kWgs84SemiMajor) +
           " +rf=" + projNumber(kWgs84InverseFlattening) +
           " +step +proj=unitconvert +xy_in=rad +xy_out=deg";
}

// PROJ contexts belong to one thread; making one costs more than a whole import, so
// each thread keeps its own.
PJ_CONTEXT* projContext() {
    struct Context {
        Context() : context(proj_context_create()) { proj_log_level(context, PJ_LOG_NONE); }
        ~Context() { proj_context_destroy(context); }
        PJ_CONTEXT* context;
    };
    thread_local const Context holder;
    return holder.context;
}

}  // namespace

bool DatumParameters::isWgs84() const {
    return semiMajorAxis == kWgs84SemiMajor && inverseFlattening == kWgs84InverseFlattening &&
           towgs84 == std::array<double, 3>{};
}

OziDatumList OziDatumList::load(const std::filesystem::path& folder) {
    return parse(readSmallFile(folder / kDatumFile), readSmallFile(folder / kEllipsoidFile));
}

OziDatumList OziDatumList::parse(std::string_view datumCsv, std::string_view ellipsoidCsv) {
    const auto ellipsoids = parseEllipsoids(ellipsoidCsv);
    OziDatumList list;
    forEachRow(datumCsv, [&](const std::vector<std::string_view>& f) {
        if (f.size() < 6 || f[0].empty()) return;
        const auto ellipsoid = ellipsoids.find(f[2]);
        if (ellipsoid == ellipsoids.end()) return;
        DatumParameters datum{std::string(f[0]),
                              ellipsoid->second.semiMajorAxis,
                              ellipsoid->second.inverseFlattening,
                              {}};
        for (int i = 0; i < 3; ++i) {
            const auto shift = number(f[3 + i]);
            if (!shift || std::fabs(*shift) > kMaxShiftMetres) return;
            datum.towgs84[i] = *shift;
        }
        list.datums_.push_back(std::move(datum));
    });
    return list;
}

std::optional<DatumParameters> OziDatumList::find(std::string_view name) const {
    name = trim(name);
    for (const DatumParameters& datum : datums_)
        if (sameName(datum.name, name)) return datum;
    return std::nullopt;
}

const OziDatumList& systemDatumList() {
    static const OziDatumList list = OziDatumList::load(OziDatumList::systemFolder());
    return list;
}

bool shiftToWgs84(const DatumParameters& datum, std::array<double, 4>& latitudes,
                  std::array<double, 4>& longitudes) {
    PJ* shift = proj_create(projContext(), shiftPipeline(datum).c_str());
    bool ok = shift != nullptr;
    std::array<double, 4> lat = latitudes, lon = longitudes;
    for (std::size_t i = 0; ok && i < lat.size(); ++i) {
        const PJ_COORD out = proj_trans(shift, PJ_FWD, proj_coord(lon[i], lat[i], 0, 0));
        ok = std::isfinite(out.lpz.lam) && std::isfinite(out.lpz.phi);
        lon[i] = out.lpz.lam;
        lat[i] = out.lpz.phi;
    }
    if (shift) proj_destroy(shift);
    if (ok) {
        latitudes = lat;
        longitudes = lon;
    }
    return ok;
}

}  // namespace wendra::maps
