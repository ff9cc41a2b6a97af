#include "records/RecordFile.h"

#include <signal.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <new>

#include "platform/MessageBox.h"
#include "records/Text.h"

namespace wendra {

namespace {

constexpr mode_t kNewFileMode = 0666;  // narrowed by the umask, as for any new file

int openRetrying(const char* path, int flags, mode_t mode = 0) {
    int fd;
    do {
        fd = ::open(path, flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// Where the new content of `path` is assembled: beside the file it replaces (the
// link's target for a symbolic link), so that the final rename stays on one file
// system. Empty when the file must be written in place. `target` is the file the
// finished content replaces.
std::string temporaryPathFor(const std::string& path, std::string& target, struct stat& existing,
                             bool& exists) {
    exists = ::stat(path.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode)) return {};
    target = path;
    struct stat link {};
    if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        std::error_code error;
        const auto resolved = std::filesystem::canonical(path, error);
        if (error) return {};
        target = resolved.string();
    }
    static std::atomic<unsigned> counter{0};
    return target + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
}

// The process id of a temporary file's name, 0 when the name is not one.
pid_t temporaryOwner(const std::string& name) {
    const std::size_t mark = name.rfind(".tmp-");
    if (mark == std::string::npos) return 0;
    const std::string rest = name.substr(mark + 5);
    const std::size_t dash = rest.find('-');
    if (dash == 0 || dash == std::string::npos || dash + 1 == rest.size()) return 0;
    const auto digits = [](std::string_view text) {
        return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
    };
    if (!digits(std::string_view(rest).substr(0, dash)) ||
        !digits(std::string_view(rest).substr(dash + 1)) || dash > 9)
        return 0;
    return static_cast<pid_t>(std::stol(rest.substr(0, dash)));
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
        const pid_t owner = temporaryOwner(entry.path().filename().string());
        if (owner <= 0 || owner == ::getpid() || processRuns(owner)) continue;
        if (std::filesystem::remove(entry.path(), error)) ++removed;
    }
    return removed;
}

RecordFile::RecordFile() : buffer_(new (std::nothrow) char[kRecordFileBufferSize]) {
    // Without its buffer the object stays usable: every open() fails.
    if (!buffer_) platform::showMessage(u".Memory Error #0201#", u".Error");
}

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
    path_.clear();
    tempPath_.clear();
}

bool RecordFile::open(const std::string& path, RecordFileMode mode) {
    close();
    if (!buffer_) return false;
    mode_ = mode;
    path_ = path;
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
    struct stat existing {};
    bool exists = false;
    tempPath_ = temporaryPathFor(path, path_, existing, exists);
    if (tempPath_.empty()) {
        fd_ = openRetrying(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, kNewFileMode);
    } else {
        const int flags = O_WRONLY | O_CREAT | O_EXCL;
        fd_ = openRetrying(tempPath_.c_str(), flags, kNewFileMode);
        if (fd_ < 0 && errno == EEXIST) {  // left behind by a run that died mid-save
            ::unlink(tempPath_.c_str());
            fd_ = openRetrying(tempPath_.c_str(), flags, kNewFileMode);
        }
        if (fd_ >= 0 && exists) ::fchmod(fd_, existing.st_mode & 07777);
    }
    if (fd_ < 0) return false;
    if (mode == RecordFileMode::WriteBinary) {
        binary_ = true;
        const char marker = static_cast<char>(kBinaryFileMarker);
        append(&marker, 1);
    }
    return true;
}

bool RecordFile::close() {
    if (fd_ < 0) return true;
    bool ok = true;
    if (!isReading()) {
        ok = flush() && (tempPath_.empty() || ::fsync(fd_) == 0);
    }
    ok = ::close(fd_) == 0 && ok;
    if (!tempPath_.empty()) {
        if (ok) ok = ::rename(tempPath_.c_str(), path_.c_str()) == 0;
        if (!ok) ::unlink(tempPath_.c_str());
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
    while (size > 0) {
        const ssize_t n = ::write(fd_, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            failed_ = true;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

}  // namespace wendra
