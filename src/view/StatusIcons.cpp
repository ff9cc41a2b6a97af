#include "view/StatusIcons.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

namespace wendra {

namespace {

constexpr std::uint32_t kClear = 0x00000000u;
constexpr std::uint32_t kOpaque = 0xFF000000u;

constexpr std::uint32_t argb(std::uint32_t rgb) {
    return kOpaque | rgb;
}

// Shapes over u, v in [-1, 1], y downwards; each returns the colour of a pixel, or
// kClear where the shape leaves it see-through.
using Shape = std::function<std::uint32_t(double u, double v)>;

double radius(double u, double v) {
    return std::hypot(u, v);
}

// A disc with a dark rim, the body of every GPS icon.
std::uint32_t disc(double u, double v, std::uint32_t body) {
    const double r = radius(u, v);
    if (r > 0.9) return kClear;
    return r > 0.72 ? argb(0x202020) : argb(body);
}

std::uint32_t gpsOff(double u, double v) {
    if (std::fabs(u - v) < 0.2 && radius(u, v) < 0.9) return argb(0xd00000);
    const double r = radius(u, v);
    if (r > 0.72 && r <= 0.9) return argb(0x606060);
    return kClear;
}

std::uint32_t gpsSilent(double u, double v) {
    const double r = radius(u, v);
    return r > 0.6 && r <= 0.9 ? argb(0x909090) : kClear;
}

std::uint32_t gpsNoFix(double u, double v) {
    if (radius(u, v) < 0.3) return argb(0x202020);
    return disc(u, v, 0xffa000);
}

std::uint32_t gpsFix(double u, double v) {
    return disc(u, v, 0x00c000);
}

// The last fix is old: the fix icon greyed, with a clock hand at ten past.
std::uint32_t gpsStale(double u, double v) {
    const bool hand =
        (std::fabs(u) < 0.12 && v < 0.0 && v > -0.6) || (std::fabs(v) < 0.12 && u > 0.0 && u < 0.5);
    if (hand && radius(u, v) < 0.72) return argb(0x202020);
    return disc(u, v, 0xb0b0b0);
}

// A red warning triangle with a white bar and dot.
std::uint32_t alertSymbol(double u, double v) {
    const double top = -0.85, bottom = 0.8;
    if (v < top || v > bottom) return kClear;
    const double half = (v - top) / (bottom - top) * 0.95;
    if (std::fabs(u) > half) return kClear;
    const bool bar = std::fabs(u) < 0.1 && v > -0.4 && v < 0.3;
    const bool dot = std::fabs(u) < 0.1 && v > 0.45 && v < 0.65;
    return bar || dot ? argb(0xffffff) : argb(0xe00000);
}

// An hourglass in blue between two dark bars.
std::uint32_t mapLoading(double u, double v) {
    if (std::fabs(v) > 0.9 || std::fabs(u) > 0.7) return kClear;
    if (std::fabs(v) > 0.75) return argb(0x202020);
    return std::fabs(u) <= std::fabs(v) * 0.8 + 0.08 ? argb(0x2060ff) : kClear;
}

}  // namespace

platform::ImageList makeStatusIcons(int multiplier) {
    const int size = statusicon::kSize * std::max(1, multiplier);
    std::vector<Shape> shapes(statusicon::kCount);
    shapes[statusicon::kGpsOff] = gpsOff;
    shapes[statusicon::kAlert] = alertSymbol;
    shapes[statusicon::kGpsSilent] = gpsSilent;
    shapes[statusicon::kGpsNoFix] = gpsNoFix;
    shapes[statusicon::kGpsFix] = gpsFix;
    shapes[statusicon::kMapLoading] = mapLoading;
    shapes[statusicon::kGpsStale] = gpsStale;
    const int stride = size * statusicon::kCount;
    std::vector<std::uint32_t> strip(static_cast<std::size_t>(stride) * size, kClear);
    for (int i = 0; i < statusicon::kCount; ++i) {
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                // Pixel centres, so that the shapes are symmetric on even sizes.
                const double u = (2.0 * x + 1.0) / size - 1.0;
                const double v = (2.0 * y + 1.0) / size - 1.0;
                strip[static_cast<std::size_t>(y) * stride + i * size + x] = shapes[i](u, v);
            }
        }
    }
    return platform::ImageList::fromArgb(strip, platform::Size{stride, size}, size);
}

int gpsStatusIcon(GpsStatus status) {
    switch (status) {
        case GpsStatus::Off:
            return statusicon::kGpsOff;
        case GpsStatus::Silent:
            return statusicon::kGpsSilent;
        case GpsStatus::NoFix:
            return statusicon::kGpsNoFix;
        case GpsStatus::Fix:
            return statusicon::kGpsFix;
        case GpsStatus::Stale:
            return statusicon::kGpsStale;
    }
    return statusicon::kGpsOff;
}

}  // namespace wendra
