#include "platform/PinchSteps.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace wendra::platform {
namespace {

// Each case feeds one gesture's scale changes and expects the steps each one gives.
TEST(PinchSteps, WholeStepsOfTheSpreadCarryTheRestOver) {
    const struct {
        const char* legend;
        std::vector<double> factors;
        std::vector<int> steps;
    } cases[] = {
        {"one step's spread", {1.5}, {1}},
        {"two steps at once", {2.25}, {2}},
        {"a slow spread adds up", {1.3, 1.3, 1.3}, {0, 1, 0}},
        {"pinched", {1 / 1.5, 1 / 1.6}, {-1, -1}},
        {"back and forth cancels", {1.4, 1 / 1.4, 1.4}, {0, 0, 0}},
        {"nonsense is ignored", {0.0, -2.0, HUGE_VAL, 1.5}, {0, 0, 0, 1}},
    };
    for (const auto& c : cases) {
        PinchSteps pinch(1.5);
        std::vector<int> steps;
        for (const double f : c.factors) steps.push_back(pinch.add(f));
        EXPECT_EQ(steps, c.steps) << c.legend;
    }
}

TEST(PinchSteps, AGestureEndedForgetsItsPartStep) {
    PinchSteps pinch(1.5);
    EXPECT_EQ(pinch.add(1.4), 0);
    pinch.reset();
    EXPECT_EQ(pinch.add(1.2), 0) << "not 1.68 since the start";
}

}  // namespace
}  // namespace wendra::platform
