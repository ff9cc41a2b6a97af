#include "maps/GifLzw.h"

namespace wendra::maps {

bool GifLzw::start(int minimumCodeSize) {
    if (minimumCodeSize < 2 || minimumCodeSize > 8) return false;
    minimumCodeSize_ = minimumCodeSize;
    clearCode_ = 1 << minimumCodeSize;
    bits_ = 0;
    bitCount_ = 0;
    stackTop_ = 0;
    ended_ = failed_ = false;
    reset();
    return true;
}

void GifLzw::reset() {
    codeSize_ = minimumCodeSize_ + 1;
    nextCode_ = clearCode_ + 2;
    oldCode_ = -1;
}

int GifLzw::readCode(const ByteSource& source) {
    while (bitCount_ < codeSize_) {
        const int next = source();
        if (next < 0) return -1;
        bits_ |= static_cast<std::uint32_t>(next) << bitCount_;
        bitCount_ += 8;
    }
    const int code = static_cast<int>(bits_ & ((1u << codeSize_) - 1));
    bits_ >>= codeSize_;
    bitCount_ -= codeSize_;
    return code;
}

void GifLzw::expand(int code) {
    // Every entry's prefix is an older entry, so the walk ends and fits the stack.
    while (code >= clearCode_) {
        stack_[stackTop_++] = suffix_[code];
        code = prefix_[code];
    }
    firstOfOld_ = static_cast<std::uint8_t>(code);
    stack_[stackTop_++] = firstOfOld_;
}

int GifLzw::decode(std::uint8_t* out, int count, const ByteSource& source) {
    int produced = 0;
    while (produced < count && !failed_) {
        if (stackTop_ > 0) {
            out[produced++] = stack_[--stackTop_];
            continue;
        }
        if (ended_) break;
        const int code = readCode(source);
        if (code < 0 || code == clearCode_ + 1) {
            ended_ = true;
            continue;
        }
        if (code == clearCode_) {
            reset();
            continue;
        }
        if (oldCode_ < 0) {
            // The first code after a clear must be a literal.
            if (code > clearCode_) {
                failed_ = true;
                continue;
            }
            firstOfOld_ = static_cast<std::uint8_t>(code);
            stack_[stackTop_++] = firstOfOld_;
            oldCode_ = code;
            continue;
        }
        if (code > nextCode_ || (code == nextCode_ && nextCode_ >= kMaxCodes)) {
            failed_ = true;
            continue;
        }
        if (code == nextCode_) {
            // The string being defined: the previous one plus its own first byte.
            const std::uint8_t first = firstOfOld_;
            stack_[stackTop_++] = first;
            expand(oldCode_);
        } else {
            expand(code);
        }
        if (nextCode_ < kMaxCodes) {
            prefix_[nextCode_] = static_cast<std::uint16_t>(oldCode_);
            suffix_[nextCode_] = firstOfOld_;
            ++nextCode_;
            if (nextCode_ == (1 << codeSize_) && codeSize_ < kMaxCodeBits) ++codeSize_;
        }
        oldCode_ = code;
    }
    return produced;
}

}  // namespace wendra::maps
