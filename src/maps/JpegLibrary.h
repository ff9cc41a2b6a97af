#pragma once
// libjpeg's error handling turned into a jump back to the calling step, so that a
// corrupt stream ends as a failure of that step instead of the library's exit().
// Only plain C objects may live in a frame that the jump can leave.

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace wendra::maps {

struct JpegErrorJump {
    jpeg_error_mgr manager;
    std::jmp_buf back;
    // The data ended before the image did: the library would fill the rest with grey
    // and call it a success.
    bool endedEarly;
};

// Installs the jump on a decompressor or compressor; warnings are not printed, only
// the early end is noted.
jpeg_error_mgr* jpegErrorJump(JpegErrorJump& jump);

}  // namespace wendra::maps
