#include "simulator/WalkProfile.h"

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

int WalkProfile::totalSeconds() const {
    int total = 0;
    for (const WalkLeg& leg : legs) total += leg.seconds;
    return total;
}

WalkLeg WalkProfile::legAt(int second) const {
    int end = 0;
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
    int start = 0;
    for (const WalkLeg& leg : legs) {
        if (second < start + leg.seconds) return start;
        start += leg.seconds;
    }
    return start;
}

}  // namespace wendra::sim
