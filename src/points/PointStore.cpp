#include "points/PointStore.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "alerts/AlertList.h"
#include "points/IconList.h"
#include "records/UnitFormat.h"
#include "records/WidePrintf.h"

namespace wendra::points {

namespace {

constexpr std::u16string_view kSortLabel = u".Sort";

// Squared flat-earth distance in units, with the cosine of the mean latitude.
float distanceKey(const GpsPoint& point, double centreLat, double centreLon) {
    const double meanRadians = (point.latUnits + centreLat) / 2.0 * std::numbers::pi;
    const float dx = static_cast<float>((point.lonUnits - centreLon) * std::cos(meanRadians));
    const float dy = static_cast<float>(point.latUnits - centreLat);
    return dx * dx + dy * dy;
}

// Shell sort, gaps 1, 4, 13, ...: equal keys of a small group keep their order.
void shellSort(std::vector<GpsPoint*>& points, std::vector<float>& keys) {
    const size_t n = points.size();
    size_t h = 1;
    while (n > 1 && h < (n - 1) / 3) h = 3 * h + 1;
    for (; h > 0; h /= 3) {
        for (size_t i = h; i < n; ++i) {
            GpsPoint* point = points[i];
            const float key = keys[i];
            size_t j = i;
            for (; j >= h && keys[j - h] > key; j -= h) {
                points[j] = points[j - h];
                keys[j] = keys[j - h];
            }
            points[j] = point;
            keys[j] = key;
        }
    }
}

size_t stringBytes(const std::u16string& text) {
    return text.capacity() * sizeof(char16_t);
}

}  // namespace

void PointStore::resolve(GpsPoint& point) const {
    point.alert = alerts_ && !point.alertName.empty() ? alerts_->find(point.alertName) : nullptr;
    point.iconIndex = icons_ ? icons_->indexOf(point.iconName) : 0;
}

void PointStore::resolveNames() {
    for (auto& point : points_) resolve(*point);
}

GpsPoint& PointStore::addPoint(const GpsPoint& point) {
    return addPoint(std::make_unique<GpsPoint>(point));
}

GpsPoint& PointStore::addPoint(std::unique_ptr<GpsPoint> point) {
    resolve(*point);
    points_.push_back(std::move(point));
    return *points_.back();
}

bool PointStore::removePoint(const GpsPoint& point) {
    const auto found = std::find_if(points_.begin(), points_.end(),
                                    [&](const auto& held) { return held.get() == &point; });
    if (found == points_.end()) return false;
    std::erase(drawn_, found->get());
    std::erase(fit_, found->get());
    if (gpsObject_ == found->get()) gpsObject_ = nullptr;
    if (front_ == found->get()) front_ = nullptr;
    points_.erase(found);
    return true;
}

void PointStore::clear() {
    drawn_.clear();
    fit_.clear();
    front_ = nullptr;
    for (const auto& held : points_) {
        if (held.get() == gpsObject_) gpsObject_ = nullptr;
    }
    points_.clear();
}

std::vector<std::u16string> PointStore::groups() const {
    std::vector<std::u16string> names;
    for (const auto& point : points_) {
        if (std::find(names.begin(), names.end(), point->group) == names.end())
            names.push_back(point->group);
    }
    return names;
}

GroupHeader& PointStore::groupHeader(std::u16string_view group) {
    for (const auto& header : headers_) {
        if (header->name == group) return *header;
    }
    headers_.push_back(std::make_unique<GroupHeader>());
    headers_.back()->name = group;
    return *headers_.back();
}

int PointStore::numberPoint(GpsPoint& point) {
    if (point.number == 0) point.number = ++counter_;
    return point.number;
}

void PointStore::sortGroup(std::u16string_view group, bool byDistance, double centreLatUnits,
                           double centreLonUnits) {
    busy_.lock(kSortBusy, kSortLabel);
    std::vector<size_t> places;
    std::vector<GpsPoint*> members;
    for (size_t i = 0; i < points_.size(); ++i) {
        if (points_[i]->group != group) continue;
        places.push_back(i);
        members.push_back(points_[i].release());
    }
    if (byDistance) {
        std::vector<float> keys;
        keys.reserve(members.size());
        for (const GpsPoint* point : members)
            keys.push_back(distanceKey(*point, centreLatUnits, centreLonUnits));
        shellSort(members, keys);
    } else {
        std::stable_sort(members.begin(), members.end(),
                         [](const GpsPoint* a, const GpsPoint* b) { return a->name < b->name; });
    }
    for (size_t i = 0; i < places.size(); ++i) points_[places[i]].reset(members[i]);
    busy_.unlock(kSortBusy);
}

const std::vector<GpsPoint*>& PointStore::selectDrawnPoints(bool limit, int budget) {
    return selectDrawnPoints(limit, budget, [](GpsPoint&) { return true; });
}

const std::vector<GpsPoint*>& PointStore::selectDrawnPoints(
    bool limit, int budget, const std::function<bool(GpsPoint&)>& place) {
    drawn_.clear();
    const auto consider = [&](GpsPoint& point) {
        point.flags &= ~kDrawnThisFrame;
        if (point.status() == PointStatus::Deactivated || !point.positionValid()) return;
        if (limit && static_cast<int>(drawn_.size()) >= budget) return;
        if (!place(point)) return;
        point.flags |= kDrawnThisFrame;
        drawn_.push_back(&point);
    };
    if (front_) consider(*front_);
    for (auto& held : points_)
        if (held.get() != front_) consider(*held);
    return drawn_;
}

const std::vector<GpsPoint*>& PointStore::selectFitPoints(const FitArea& area) {
    fit_.clear();
    for (auto& held : points_) {
        GpsPoint& point = *held;
        if (point.status() != PointStatus::Active || !point.positionValid()) continue;
        if (&point == gpsObject_) continue;
        if (area.limit && area.manualZoom) {
            const double meanCos = std::cos((point.latUnits + area.centreLat) / 2.0 * std::numbers::pi);
            if (std::fabs(point.latUnits - area.centreLat) > area.extent ||
                std::fabs((point.lonUnits - area.centreLon) * meanCos) > area.extent)
                continue;
        }
        fit_.push_back(&point);
    }
    return fit_;
}

int PointStore::tapAt(int x, int y, int pixelMultiplier, double now, GpsPoint** tapped) {
    const int64_t radius = static_cast<int64_t>(kTapRadius) * pixelMultiplier;
    int64_t best = radius * radius;
    auto nearest = drawn_.end();
    for (auto it = drawn_.begin(); it != drawn_.end(); ++it) {
        if (*it == gpsObject_) continue;
        const int64_t dx = (*it)->screenX - x;
        const int64_t dy = (*it)->screenY - y;
        const int64_t d2 = dx * dx + dy * dy;
        // The first of equally near points wins: the front of the list was tapped last.
        if (d2 < best || (nearest == drawn_.end() && d2 == best)) {
            best = d2;
            nearest = it;
        }
    }
    if (nearest == drawn_.end()) return 0;
    GpsPoint* point = *nearest;
    const bool again = now - point->alertTime < kDoubleTapDays && now >= point->alertTime;
    point->alertTime = now;
    std::rotate(drawn_.begin(), nearest, nearest + 1);
    front_ = point;
    if (tapped) *tapped = point;
    return again ? 2 : 1;
}

std::int64_t PointStore::memoryBytes() const {
    std::int64_t bytes = 0;
    for (const auto& point : points_) {
        bytes +=
            static_cast<std::int64_t>(sizeof(GpsPoint) + stringBytes(point->name) +
                                      stringBytes(point->group) + stringBytes(point->comment) +
                                      stringBytes(point->alertName) + stringBytes(point->iconName) +
                                      stringBytes(point->shareId) + stringBytes(point->shareKey));
    }
    return bytes;
}

std::u16string pointsStatisticsValue(const PointStore& store) {
    std::u16string size;
    formatByteSize(size, store.memoryBytes());
    std::u16string value;
    appendPrintf(value, "%d=", static_cast<int>(store.size()));
    return value + size;
}

}  // namespace wendra::points
