#pragma once
// The variable-length LZW decompressor of GIF image data. Codes come from a byte
// source (the image's data sub-blocks); a code that names no table entry yet, or a
// literal outside the colour range, stops decoding as an error.

#include <array>
#include <cstdint>
#include <functional>

namespace wendra::maps {

class GifLzw {
public:
    // The next data byte, or -1 when the data ends.
    using ByteSource = std::function<int()>;

    // False for a minimum code size outside 2..8.
    bool start(int minimumCodeSize);

    // Decodes up to `count` indices into `out`; returns how many it produced. Fewer
    // than asked means the data ended (see ended()) or was corrupt (see failed()).
    int decode(std::uint8_t* out, int count, const ByteSource& source);

    bool ended() const { return ended_; }
    bool failed() const { return failed_; }

private:
    static constexpr int kMaxCodes = 4096;
    static constexpr int kMaxCodeBits = 12;

    int readCode(const ByteSource& source);
    void reset();
    // Pushes the string of a defined `code` onto the output stack, last byte first.
    void expand(int code);

    int minimumCodeSize_ = 0;
    int clearCode_ = 0;
    int codeSize_ = 0;
    int nextCode_ = 0;
    int oldCode_ = -1;
    std::uint8_t firstOfOld_ = 0;
    std::uint32_t bits_ = 0;
    int bitCount_ = 0;
    bool ended_ = false;
    bool failed_ = false;
    std::array<std::uint16_t, kMaxCodes> prefix_{};
    std::array<std::uint8_t, kMaxCodes> suffix_{};
    std::array<std::uint8_t, kMaxCodes + 1> stack_{};
    int stackTop_ = 0;
};

}  // namespace wendra::maps
