#include "track/FixJournal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <filesystem>
#include <system_error>

namespace wendra {

namespace {

constexpr mode_t kFileMode = 0666;
constexpr std::size_t kRecordsPerRead = 1024;

int openRetrying(const std::string& path, int flags) {
    int fd;
    do {
        fd = ::open(path.c_str(), flags | O_CLOEXEC, kFileMode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

std::string folderOf(const std::string& path) {
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

bool writeAll(int fd, const uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

TrackFix trackFixOf(const Fix& fix) {
    return TrackFix{fix.latitude, fix.longitude, fix.speed, fix.altitude,
                    fix.course,   fix.signal,    fix.time};
}

bool syncFolder(const std::string& folder) {
    const int fd = openRetrying(folder, O_RDONLY | O_DIRECTORY);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

FixJournal::FixJournal(std::string path) : path_(std::move(path)) {}

bool FixJournal::ensureFolder() const {
    std::error_code error;
    std::filesystem::create_directories(folderOf(path_), error);
    return !error;
}

bool FixJournal::append(const Fix& fix) {
    constexpr int kFlags = O_WRONLY | O_APPEND | O_CREAT;
    int fd = openRetrying(path_, kFlags);
    if (fd < 0 && errno == ENOENT && ensureFolder()) fd = openRetrying(path_, kFlags);
    if (fd < 0) return false;
    struct stat info {};
    bool ok = ::fstat(fd, &info) == 0;
    const off_t whole = ok ? info.st_size - info.st_size % static_cast<off_t>(kFixRecordSize) : 0;
    // A record cut short (a full disk, a power loss) would shift every later one.
    if (ok && whole != info.st_size) ok = ::ftruncate(fd, whole) == 0;
    const FixRecord record = encodeFix(fix);
    if (ok && !writeAll(fd, record.data(), record.size())) {
        // Should this fail too, the partial record stays and the next append cuts it.
        [[maybe_unused]] const int ignored = ::ftruncate(fd, whole);
        ok = false;
    }
    return ::close(fd) == 0 && ok;
}

std::size_t FixJournal::recordCount() const {
    struct stat info {};
    if (::stat(path_.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return 0;
    return static_cast<std::size_t>(info.st_size) / kFixRecordSize;
}

void FixJournal::forEach(const std::function<bool(const Fix&)>& each) const {
    const int fd = openRetrying(path_, O_RDONLY);
    if (fd < 0) return;
    std::array<uint8_t, kFixRecordSize * kRecordsPerRead> block;
    std::size_t held = 0;
    for (;;) {
        const ssize_t n = ::read(fd, block.data() + held, block.size() - held);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        held += static_cast<std::size_t>(n);
        const std::size_t whole = held - held % kFixRecordSize;
        for (std::size_t at = 0; at < whole; at += kFixRecordSize) {
            FixRecord record;
            std::copy_n(block.begin() + static_cast<std::ptrdiff_t>(at), kFixRecordSize,
                        record.begin());
            if (!each(decodeFix(record))) {
                ::close(fd);
                return;
            }
        }
        std::copy(block.begin() + static_cast<std::ptrdiff_t>(whole),
                  block.begin() + static_cast<std::ptrdiff_t>(held), block.begin());
        held -= whole;
    }
    ::close(fd);
}

std::vector<Fix> FixJournal::readAll() const {
    std::vector<Fix> fixes;
    fixes.reserve(recordCount());
    forEach([&fixes](const Fix& fix) {
        fixes.push_back(fix);
        return true;
    });
    return fixes;
}

bool FixJournal::clear() {
    constexpr int kFlags = O_WRONLY | O_CREAT | O_TRUNC;
    int fd = openRetrying(path_, kFlags);
    if (fd < 0 && errno == ENOENT && ensureFolder()) fd = openRetrying(path_, kFlags);
    if (fd < 0) return false;
    return ::close(fd) == 0;
}

bool FixJournal::setAside() {
    if (::rename(path_.c_str(), asidePath().c_str()) != 0) {
        if (errno != ENOENT) return false;
        // No journal: the marker must exist all the same, it is what says "committed".
        if (!ensureFolder()) return false;
        const int fd = openRetrying(asidePath(), O_WRONLY | O_CREAT | O_TRUNC);
        if (fd < 0 || ::close(fd) != 0) return false;
    }
    return syncFolder(folderOf(path_));
}

bool FixJournal::takeBack() {
    if (::rename(asidePath().c_str(), path_.c_str()) != 0) return false;
    return syncFolder(folderOf(path_));
}

void FixJournal::dropAside() {
    ::unlink(asidePath().c_str());
}

bool FixJournal::asideExists() const {
    struct stat info {};
    return ::stat(asidePath().c_str(), &info) == 0;
}

}  // namespace wendra
