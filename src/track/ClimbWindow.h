#pragma once
// A ring of the last live fixes (position, time, altitude, horizontal distance run
// since the first entry) over which the live climb speed and glide ratio are taken.
// The glide kind folds a fix within 1 m of the newest entry into it. Not thread-safe.

#include <memory>

namespace wendra {

class ClimbWindow {
public:
    enum class Kind {
        Climb,  // every entry is kept
        Glide,  // an entry within kMergeMetres of the newest only refreshes it
    };

    static constexpr double kMergeMetres = 1.0;
    // Fewer entries than this give no result.
    static constexpr int kMinEntries = 3;

    // Newest minus oldest entry; all 0 while the window has fewer than kMinEntries.
    struct Span {
        double minutes = 0.0;
        float altitude = 0.0f;  // m
        float distance = 0.0f;  // m
    };

    // An empty window. When memory runs out the program's box is shown and the window
    // has capacity 0, in which it ignores entries.
    ClimbWindow(int capacity, Kind kind);
    ClimbWindow(const ClimbWindow&) = delete;
    ClimbWindow& operator=(const ClimbWindow&) = delete;

    // Empties the window and gives it a new capacity (capacities below 1 become 1);
    // false, with the box shown and capacity 0, when memory runs out.
    bool reallocate(int capacity);
    void clear();

    // lon and lat in half-turn units, time in days, altitude in m.
    void add(double lon, double lat, double time, float altitude);

    int capacity() const { return capacity_; }
    int count() const { return count_; }
    Kind kind() const { return kind_; }

    Span span() const;
    // m/min; 0 over less than 0.1 s.
    float climbSpeed() const;
    // Horizontal over vertical distance, negative when descending; 0 while the height
    // changed by 1 m or less.
    float glideRatio() const;

private:
    int newest() const { return (write_ + capacity_ - 1) % capacity_; }
    int oldest() const { return count_ == capacity_ ? write_ : 0; }

    Kind kind_;
    int capacity_ = 0;
    int count_ = 0;
    int write_ = 0;
    std::unique_ptr<double[]> lon_;
    std::unique_ptr<double[]> lat_;
    std::unique_ptr<double[]> time_;
    std::unique_ptr<float[]> altitude_;
    std::unique_ptr<float[]> distance_;
};

}  // namespace wendra
