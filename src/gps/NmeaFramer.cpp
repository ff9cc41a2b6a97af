#include "gps/NmeaFramer.h"

#include <algorithm>
#include <cstring>

namespace wendra {

namespace {

constexpr std::string_view kNoPortMarker = "$NOPORT";

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The transmitted checksum: the hexadecimal number after the "*", either case.
// Without a digit there is no number, which no sentence's checksum can match.
bool readChecksum(std::string_view text, unsigned& value) {
    constexpr unsigned kSaturated = 0x10000;
    size_t digits = 0;
    value = 0;
    for (char c : text) {
        const int d = hexDigit(c);
        if (d < 0) break;
        value = std::min(kSaturated, value * 16 + static_cast<unsigned>(d));
        ++digits;
    }
    return digits > 0;
}

NmeaFramer::Frame stop() {
    return {NmeaFramer::Outcome::Stop, {}, 0};
}
NmeaFramer::Frame skip() {
    return {NmeaFramer::Outcome::Skip, {}, 0};
}

bool isNoPortMarker(std::string_view payload) {
    const size_t end = payload.find_first_of(",:*");
    return payload.substr(0, end) == kNoPortMarker;
}

}  // namespace

size_t NmeaFramer::append(std::string_view bytes) {
    if (head_ > 0 && bytes.size() > kCapacity - tail_) {
        std::memmove(buffer_.data(), buffer_.data() + head_, tail_ - head_);
        tail_ -= head_;
        head_ = 0;
    }
    const size_t taken = std::min(bytes.size(), kCapacity - tail_);
    if (taken == 0) return 0;
    std::memcpy(buffer_.data() + tail_, bytes.data(), taken);
    tail_ += taken;
    return taken;
}

NmeaFramer::Frame NmeaFramer::next() {
    const char* begin = buffer_.data() + head_;
    const size_t available = tail_ - head_;
    const auto* newline = static_cast<const char*>(std::memchr(begin, '\n', available));
    const size_t length = newline ? static_cast<size_t>(newline - begin) : available;

    const auto* dollar = static_cast<const char*>(memrchr(begin, '$', length));
    if (dollar && dollar > begin) {
        // Resynchronise on the last "$" of the line: what precedes it is noise.
        head_ += static_cast<size_t>(dollar - begin);
        return skip();
    }
    if (length >= kGarbageLength) {
        clear();
        return stop();
    }
    if (!newline) return stop();

    head_ += length + 1;
    if (head_ == tail_) clear();
    return frameLine(begin, length);
}

NmeaFramer::Frame NmeaFramer::frameLine(const char* line, size_t length) {
    const auto* star = static_cast<const char*>(memrchr(line, '*', length));
    if (!star) return skip();

    const size_t payloadLength = static_cast<size_t>(star - line);
    unsigned sum = 0;
    int commas = 0;
    for (size_t i = 0; i < payloadLength; ++i) {
        if (i > 0) sum ^= static_cast<unsigned char>(line[i]);
        commas += line[i] == ',';
    }
    unsigned sent = 0;
    if (!readChecksum({star + 1, length - payloadLength - 1}, sent) || sent != sum) return skip();

    const std::string_view payload(line, payloadLength);
    if (commas == 0 && !isNoPortMarker(payload)) {
        // A sentence without fields holds up the rest of this chunk.
        return stop();
    }
    return {Outcome::Sentence, payload, commas};
}

}  // namespace wendra
