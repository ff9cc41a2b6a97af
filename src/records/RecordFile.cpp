#include "records/RecordFile.h"

#include <signal.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <new>

#include "platform/ReplacingFile.h"
#include "records/Text.h"

namespace wendra {

namespace {

int openRetrying(const char* path, int flags) {
    int fd;
    do {
        fd = ::open(path, flags | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

bool processRuns(pid_t pid) {
    return ::kill(pid, 0) == 0 || errno == EPERM;
}

}  // namespace

int sweepLeftoverTemporaries(const std::string& folder) {
    std::error_code error;
    int removed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (!entry.is_regular_file(error)) continue;
        const auto owner = static_cast<pid_t>(
            platform::ReplacingFile::temporaryOwner(entry.path().filename().string()));
        if (owner <= 0 || owner == ::getpid() || processRuns(owner)) continue;
        if (std::filesystem::remove(entry.path(), error)) ++removed;
    }
    return removed;
}

// Without its buffer the object stays usable: every open() fails.
RecordFile::RecordFile() : buffer_(new (std::nothrow) char[kRecordFileBufferSize]) {}

RecordFile::~RecordFile() {
    close();
}

bool RecordFile::isReading() const {
    return fd_ >= 0 && (mode_ == RecordFileMode::Read || mode_ == RecordFileMode::ReadBinary);
}

void RecordFile::reset() {
    fd_ = -1;
    fill_ = pos_ = 0;
    consumed_ = size_ = 0;
    binary_ = failed_ = atEnd_ = false;
}

bool RecordFile::open(const std::string& path, RecordFileMode mode) {
    close();
    if (!buffer_) return false;
    mode_ = mode;
    const bool writing = mode == RecordFileMode::WriteText || mode == RecordFileMode::WriteBinary;
    const bool opened = writing ? openForWriting(path, mode) : openForReading(path, mode);
    if (!opened) reset();
    return opened;
}

bool RecordFile::openForReading(const std::string& path, RecordFileMode mode) {
    fd_ = openRetrying(path.c_str(), O_RDONLY);
    if (fd_ < 0) return false;
    struct stat info {};
    if (::fstat(fd_, &info) != 0 || S_ISDIR(info.st_mode)) {
        ::close(fd_);
        return false;
    }
    size_ = static_cast<uint64_t>(info.st_size);
    binary_ = mode == RecordFileMode::ReadBinary;
    if (mode == RecordFileMode::Read && refill() &&
        static_cast<unsigned char>(buffer_[0]) == kBinaryFileMarker) {
        binary_ = true;
        pos_ = 1;
        consumed_ = 1;
    }
    return true;
}

bool RecordFile::openForWriting(const std::string& path, RecordFileMode mode) {
    if (!saving_.open(path)) return false;
    fd_ = saving_.fd();
    if (mode == RecordFileMode::WriteBinary) {
        binary_ = true;
        const char marker = static_cast<char>(kBinaryFileMarker);
        append(&marker, 1);
    }
    return true;
}

bool RecordFile::close() {
    if (fd_ < 0) return true;
    bool ok;
    if (isReading()) {
        ok = ::close(fd_) == 0;
    } else {
        ok = flush();
        ok = saving_.commit() && ok;
    }
    reset();
    return ok;
}

bool RecordFile::refill() {
    if (atEnd_) return false;
    ssize_t n;
    do {
        n = ::read(fd_, buffer_.get(), kRecordFileBufferSize);
    } while (n < 0 && errno == EINTR);
    if (n <= 0) {
        atEnd_ = true;
        return false;
    }
    fill_ = static_cast<size_t>(n);
    pos_ = 0;
    return true;
}

int RecordFile::readLine(std::string& line, size_t capacity) {
    line.clear();
    if (!isReading()) return 0;
    // Always at least one byte per call, so no capacity can stall a reader.
    const size_t limit = capacity > 2 ? capacity - 2 : 1;
    bool readAny = false;
    while (line.size() < limit) {
        if (pos_ == fill_ && !refill()) break;
        readAny = true;
        const char* start = buffer_.get() + pos_;
        const size_t available = std::min(fill_ - pos_, limit - line.size());
        const auto* newline = static_cast<const char*>(std::memchr(start, '\n', available));
        const size_t span = newline ? static_cast<size_t>(newline - start) + 1 : available;
        const auto* zero = static_cast<const char*>(std::memchr(start, '\0', span));
        const size_t kept = zero ? static_cast<size_t>(zero - start) : span;
        const size_t taken = zero ? kept + 1 : span;
        line.append(start, kept);
        pos_ += taken;
        consumed_ += taken;
        if (zero || newline) break;
    }
    return readAny ? 1 : 0;
}

size_t RecordFile::readBytes(void* out, size_t size) {
    if (!isReading()) return 0;
    auto* dest = static_cast<char*>(out);
    size_t copied = 0;
    while (copied < size) {
        if (pos_ == fill_ && !refill()) break;
        const size_t n = std::min(fill_ - pos_, size - copied);
        std::memcpy(dest + copied, buffer_.get() + pos_, n);
        pos_ += n;
        consumed_ += n;
        copied += n;
    }
    return copied;
}

bool RecordFile::writeText(std::string_view text) {
    if (mode_ != RecordFileMode::WriteText) return false;
    return append(text.data(), text.size());
}

bool RecordFile::writeWide(std::u16string_view text) {
    return writeText(narrow(text));
}

bool RecordFile::writeBytes(const void* data, size_t size) {
    if (mode_ != RecordFileMode::WriteBinary) return false;
    return append(static_cast<const char*>(data), size);
}

bool RecordFile::append(const char* data, size_t size) {
    if (fd_ < 0 || isReading() || failed_) return false;
    if (fill_ + size >= kRecordFileBufferSize && !flush()) return false;
    if (size >= kRecordFileBufferSize) {
        if (!writeAll(data, size)) return false;
    } else if (size > 0) {
        std::memcpy(buffer_.get() + fill_, data, size);
        fill_ += size;
    }
    size_ += size;
    return true;
}

bool RecordFile::flush() {
    if (failed_) return false;
    const bool ok = writeAll(buffer_.get(), fill_);
    fill_ = 0;
    return ok;
}

bool RecordFile::writeAll(const char* data, size_t size) {
    if (!saving_.write(data, size)) failed_ = true;
    return !failed_;
}

}  // namespace wendra
