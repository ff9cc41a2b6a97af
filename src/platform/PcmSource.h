#pragma once
// Where recorded sound comes from: 16-bit interleaved samples at a rate and channel
// count fixed when opened. read() waits at most about 250 ms, so a reader loop can
// look at its stop request in between.

#include <cstdint>
#include <span>

#include "platform/PcmSink.h"

namespace wendra::platform {

class PcmSource {
public:
    virtual ~PcmSource() = default;
    // False when there is nothing to record from, or not in this format.
    virtual bool open(const PcmFormat& format) = 0;
    // Fills the front of `samples` with whole frames; the frames read, 0 when none came
    // in time, -1 when the device failed for good (unplugged).
    virtual long read(std::span<std::int16_t> samples) = 0;
};

}  // namespace wendra::platform
