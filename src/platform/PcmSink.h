#pragma once
// Where decoded sound goes: 16-bit interleaved samples at a rate and channel count
// fixed when opened. write() may block for about the length of what it was given.

#include <cstdint>
#include <span>

namespace wendra::platform {

struct PcmFormat {
    int rate = 0;
    int channels = 0;
};

class PcmSink {
public:
    virtual ~PcmSink() = default;
    // False when there is nothing to play on; the caller then stays silent.
    virtual bool open(const PcmFormat& format) = 0;
    // Frames of interleaved samples; false when the device failed for good.
    virtual bool write(std::span<const std::int16_t> samples) = 0;
    // Lets what was written play out.
    virtual void finish() = 0;
    // Drops what was written and not yet played.
    virtual void abort() = 0;
};

}  // namespace wendra::platform
