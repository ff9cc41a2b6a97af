#include "track/TrackPoint.h"

#include "track/TrackLayer.h"

namespace wendra {

TrackPoint::~TrackPoint() {
    if (layer_) layer_->unlink(*this);
}

}  // namespace wendra
