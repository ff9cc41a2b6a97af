#include "track/TrackFileReader.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "records/BinaryRecord.h"
#include "track/MemoryError.h"

namespace wendra {

namespace {

constexpr size_t kLengthSize = 2;
// The payload lengths of the two versions of a point record.
constexpr size_t kVersion0Payload = 70;
constexpr size_t kVersion1Payload = 74;
// Bytes already passed over are dropped from the window once this many pile up.
constexpr size_t kCompactAfter = 1 << 16;

std::string whyUnreadable(const std::string& path, int openError) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return "is a folder";
    return openError != 0 ? std::strerror(openError) : "cannot be opened";
}

bool blank(std::string_view line) {
    for (const char c : line) {
        if (static_cast<unsigned char>(c) > ' ') return false;
    }
    return true;
}

}  // namespace

bool TrackFileReader::open(const std::string& path) {
    errno = 0;
    if (!file_.open(path, RecordFileMode::Read)) {
        if (!file_.hasBuffer()) showMemoryError(kRecordFileMemoryError);
        failure_ = whyUnreadable(path, errno);
        return false;
    }
    if (file_.isBinary()) recogniseMarkedText();
    return true;
}

// The marker in place of a text file's first "R" would make every line binary noise.
// The first line then reads on from its kind, which a record may start with too.
void TrackFileReader::recogniseMarkedText() {
    const std::string_view rest = kTracePrefix.substr(1);
    // Exactly these bytes: a text reader goes on from the file right after them.
    window_.resize(rest.size());
    window_.resize(file_.readBytes(window_.data(), window_.size()));
    if (!std::equal(rest.begin(), rest.end(), window_.begin(), window_.end())) return;
    markedText_ = true;
    ++skipped_;
    window_.clear();
}

std::optional<PointRecord> TrackFileReader::next() {
    return isBinary() ? nextBinary() : nextText();
}

// A line that lost its newline holds the next record too: each "RIRUvo|Trace|" starts
// a record of its own.
std::optional<PointRecord> TrackFileReader::nextText() {
    for (;;) {
        if (pending_.empty() && file_.readLine(pending_, kShortLineCapacity) == 0)
            return std::nullopt;
        const size_t nextRecord = pending_.find(kTracePrefix, 1);
        const std::string piece = pending_.substr(0, nextRecord);
        pending_.erase(0, nextRecord == std::string::npos ? pending_.size() : nextRecord);
        if (blank(piece)) continue;
        if (std::optional<PointRecord> record = decodeTextPointRecord(piece)) return record;
        ++skipped_;
    }
}

size_t TrackFileReader::ensure(size_t count) {
    while (window_.size() - start_ < count) {
        uint8_t chunk[4096];
        const size_t n = file_.readBytes(chunk, sizeof chunk);
        if (n == 0) break;
        window_.insert(window_.end(), chunk, chunk + n);
    }
    return std::min(count, window_.size() - start_);
}

void TrackFileReader::consume(size_t count) {
    start_ += count;
    if (start_ >= kCompactAfter) {
        window_.erase(window_.begin(), window_.begin() + static_cast<std::ptrdiff_t>(start_));
        start_ = 0;
    }
}

std::optional<PointRecord> TrackFileReader::readableAt(size_t offset) {
    if (ensure(offset + kLengthSize) < offset + kLengthSize) return std::nullopt;
    const uint8_t* at = window_.data() + start_ + offset;
    const size_t length = at[0] | (size_t{at[1]} << 8);
    if (length != kVersion0Payload && length != kVersion1Payload) return std::nullopt;
    const size_t framed = offset + kLengthSize + length;
    if (ensure(framed) < framed) return std::nullopt;
    return decodeBinaryPointRecord(
        std::span(window_.data() + start_ + offset + kLengthSize, length));
}

// Byte by byte: after a broken length nothing else says where the next record starts.
void TrackFileReader::skipToReadableRecord() {
    consume(1);
    while (ensure(kLengthSize) == kLengthSize && !readableAt(0)) consume(1);
}

std::optional<PointRecord> TrackFileReader::nextBinary() {
    for (;;) {
        const size_t atHand = ensure(kLengthSize);
        if (atHand == 0) return std::nullopt;
        if (atHand < kLengthSize) {  // a cut length at the very end
            consume(atHand);
            ++skipped_;
            return std::nullopt;
        }
        const uint8_t* at = window_.data() + start_;
        const size_t framed = kLengthSize + (at[0] | (size_t{at[1]} << 8));
        if (std::optional<PointRecord> record = readableAt(0)) {
            consume(framed);
            return record;
        }
        ++skipped_;
        // A whole record of another kind or version: its length is to be trusted when a
        // readable record or the end of the file follows it.
        const bool whole = ensure(framed) == framed;
        if (whole && (ensure(framed + 1) == framed || readableAt(framed))) {
            consume(framed);
        } else {
            skipToReadableRecord();
        }
    }
}

}  // namespace wendra
