#pragma once
// Cuts the receiver's byte stream into checked sentences. Holds at most 8192 bytes:
// append() takes only what fits, and next() always frees room when the buffer is full.
// Bytes are taken as they come (NUL included); only the checksum vouches for a sentence.

#include <array>
#include <cstddef>
#include <string_view>

namespace wendra {

class NmeaFramer {
public:
    static constexpr size_t kCapacity = 8192;
    // A line this long without a later "$" is taken for garbage and dropped along
    // with everything behind it.
    static constexpr size_t kGarbageLength = 99;

    enum class Outcome {
        Stop,      // nothing more to decode until more bytes arrive
        Skip,      // a line or a stray prefix was dropped; ask again
        Sentence,  // `payload` holds a sentence with a good checksum
    };

    struct Frame {
        Outcome outcome = Outcome::Stop;
        // The sentence from its "$" up to, not including, its last "*".
        std::string_view payload;
        int commas = 0;
    };

    // Appends as much of `bytes` as fits and returns how many were taken.
    size_t append(std::string_view bytes);
    // The next framing step. `payload` stays valid until the next append() or clear().
    Frame next();
    void clear() { head_ = tail_ = 0; }
    std::string_view pending() const { return {buffer_.data() + head_, tail_ - head_}; }

private:
    Frame frameLine(const char* line, size_t length);

    std::array<char, kCapacity> buffer_;
    size_t head_ = 0;  // first byte not yet consumed
    size_t tail_ = 0;  // one past the last byte appended
};

}  // namespace wendra
