#include "simulator/WalkProfile.h"

#include <algorithm>

namespace wendra::sim {

WalkProfile WalkProfile::demo() {
    WalkProfile profile;
    profile.legs = {
        {780, 5.0, 250.0, 0.02, true},   // along the terrace, gently rolling
        {240, 0.0, 250.0, 0.0, true},    // a stop at a viewpoint
        {480, 5.2, 300.0, 0.03, true},   // on towards the slope
        {1200, 4.5, 340.0, 0.22, true},  // the climb, on a zigzag path
        {100, 4.8, 20.0, 0.0, false},    // under the rock face: no fix
        {800, 5.3, 60.0, -0.05, true},   // a gentle descent along the ridge
    };
    return profile;
}

WalkLeg WalkProfile::legAt(int second) const {
    long long end = 0;  // wide: a long list of day-long legs must not overflow
    for (const WalkLeg& leg : legs) {
        end += leg.seconds;
        if (second < end) return leg;
    }
    WalkLeg onwards = legs.empty() ? WalkLeg{} : legs.back();
    onwards.grade = 0.0;
    onwards.fix = true;
    return onwards;
}

int WalkProfile::legStart(int second) const {
    long long start = 0;
    for (const WalkLeg& leg : legs) {
        if (second < start + leg.seconds) return static_cast<int>(start);
        start += leg.seconds;
    }
    return static_cast<int>(std::min<long long>(start, second));
}

}  // namespace wendra::sim
