#include "track/ClimbWindow.h"

#include <cmath>
#include <new>

#include "track/MemoryError.h"
#include "track/TrackUnits.h"

namespace wendra {

namespace {

// Boxes of a failed allocation, one per array.
constexpr int kMemoryLon = 3001;
constexpr int kMemoryLat = 3002;
constexpr int kMemoryTime = 3003;
constexpr int kMemoryAltitude = 9001;
constexpr int kMemoryDistance = 9002;

// The single-precision half-turn length, here in metres.
constexpr double kHalfTurnMetres = 20037.5078 * 1000.0;
// Below this the climb speed is not taken: 0.1 s in minutes.
constexpr double kMinClimbMinutes = 0.0016667;
// A glide ratio needs more height change than this, in m.
constexpr float kMinGlideHeight = 1.0f;

template <typename T>
bool allocate(std::unique_ptr<T[]>& array, int capacity, int memoryCode) {
    array.reset(new (std::nothrow) T[static_cast<std::size_t>(capacity)]);
    if (array) return true;
    showMemoryError(memoryCode);
    return false;
}

}  // namespace

ClimbWindow::ClimbWindow(int capacity, Kind kind) : kind_(kind) {
    reallocate(capacity);
}

bool ClimbWindow::reallocate(int capacity) {
    if (capacity < 1) capacity = 1;
    clear();
    capacity_ = 0;
    const bool ok = allocate(lon_, capacity, kMemoryLon) && allocate(lat_, capacity, kMemoryLat) &&
                    allocate(time_, capacity, kMemoryTime) &&
                    allocate(altitude_, capacity, kMemoryAltitude) &&
                    allocate(distance_, capacity, kMemoryDistance);
    if (ok) capacity_ = capacity;
    return ok;
}

void ClimbWindow::clear() {
    count_ = 0;
    write_ = 0;
}

void ClimbWindow::add(double lon, double lat, double time, float altitude) {
    if (capacity_ == 0) return;
    float distance = 0.0f;
    if (count_ > 0) {
        const int n = newest();
        const double dx = (lon - lon_[n]) * std::cos((lat + lat_[n]) * kPi / 2.0);
        const double dy = lat - lat_[n];
        const double metres = std::sqrt(dx * dx + dy * dy) * kHalfTurnMetres;
        if (kind_ == Kind::Glide && metres <= kMergeMetres) {
            altitude_[n] = altitude;
            time_[n] = time;
            return;
        }
        distance = distance_[n] + static_cast<float>(metres);
    }
    lon_[write_] = lon;
    lat_[write_] = lat;
    time_[write_] = time;
    altitude_[write_] = altitude;
    distance_[write_] = distance;
    write_ = (write_ + 1) % capacity_;
    if (count_ < capacity_) ++count_;
}

ClimbWindow::Span ClimbWindow::span() const {
    Span span;
    if (count_ < kMinEntries) return span;
    const int o = oldest();
    const int n = newest();
    span.minutes = (time_[n] - time_[o]) * kMinutesPerDay;
    span.altitude = altitude_[n] - altitude_[o];
    span.distance = distance_[n] - distance_[o];
    return span;
}

float ClimbWindow::climbSpeed() const {
    const Span s = span();
    if (s.minutes <= kMinClimbMinutes) return 0.0f;
    return static_cast<float>(s.altitude / s.minutes);
}

float ClimbWindow::glideRatio() const {
    const Span s = span();
    if (std::fabs(s.altitude) <= kMinGlideHeight) return 0.0f;
    return s.distance / s.altitude;
}

}  // namespace wendra
