#include "app/TurnDisplayOffKnob.h"

#include <algorithm>

namespace wendra {

TurnDisplayOffKnob::TurnDisplayOffKnob(int scale, int areaWidth)
    : width_(kFullWidth * std::max(scale, 1) / 2), areaWidth_(std::max(areaWidth, 0)) {}

void TurnDisplayOffKnob::resize(int areaWidth) {
    areaWidth_ = std::max(areaWidth, 0);
    left_ = std::clamp(left_, 0, rightmost());
}

int TurnDisplayOffKnob::rightmost() const {
    return std::max(areaWidth_ - width_, 0);
}

bool TurnDisplayOffKnob::down(platform::Point at) {
    if (at.x < left_ || at.x >= left_ + width_) return false;
    dragging_ = true;
    grabOffset_ = at.x - left_;
    return true;
}

bool TurnDisplayOffKnob::move(platform::Point at) {
    if (!dragging_) return reached_;
    left_ = std::clamp(at.x - grabOffset_, 0, rightmost());
    if (left_ == rightmost()) reached_ = true;
    return reached_;
}

void TurnDisplayOffKnob::up() {
    dragging_ = false;
    if (!reached_) left_ = 0;
}

}  // namespace wendra
