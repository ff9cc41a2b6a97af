#include "track/FixJournal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <filesystem>
#include <system_error>

namespace wendra {

namespace {

constexpr mode_t kFileMode = 0666;
constexpr std::size_t kRecordsPerRead = 1024;
// What readAll reserves at most up front: a file of absurd size must not ask for the
// memory before a record has been read.
constexpr std::size_t kMostReserved = std::size_t{1} << 16;

// Bounds of what a receiver delivers, far beyond any journey: a journal of random
// bytes would otherwise restore points at latitudes of 1e224 or at times no clock has.
constexpr double kMaxLatitude = 90.0;
constexpr double kMaxLongitude = 180.0;
constexpr double kMaxSpeedKmh = 100000.0;
constexpr double kMaxAltitudeMetres = 1.0e6;
constexpr double kMaxSignalDb = 1000.0;
constexpr double kMaxDayNumber = 100000.0;  // 273 years either side of the time base

bool within(double value, double bound) {
    return std::isfinite(value) && std::fabs(value) <= bound;
}

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

bool isPlausibleFix(const Fix& fix) {
    return within(fix.latitude, kMaxLatitude) && within(fix.longitude, kMaxLongitude) &&
           within(fix.speed, kMaxSpeedKmh) && within(fix.altitude, kMaxAltitudeMetres) &&
           within(fix.signal, kMaxSignalDb) && within(fix.time, kMaxDayNumber);
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
    if (fd < 0) {
        lastError_ = errno;
        return false;
    }
    struct stat info {};
    bool ok = ::fstat(fd, &info) == 0;
    const off_t whole = ok ? info.st_size - info.st_size % static_cast<off_t>(kFixRecordSize) : 0;
    // A record cut short (a full disk, a power loss) would shift every later one.
    if (ok && whole != info.st_size) ok = ::ftruncate(fd, whole) == 0;
    const FixRecord record = encodeFix(fix);
    if (ok && !writeAll(fd, record.data(), record.size())) {
        const int writeError = errno;
        // Should this fail too, the partial record stays and the next append cuts it.
        [[maybe_unused]] const int ignored = ::ftruncate(fd, whole);
        errno = writeError;
        ok = false;
    }
    if (!ok) lastError_ = errno;
    if (::close(fd) != 0) {
        if (ok) lastError_ = errno;
        ok = false;
    }
    return ok;
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
            const Fix fix = decodeFix(record);
            if (!isPlausibleFix(fix)) continue;
            if (!each(fix)) {
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
    fixes.reserve(std::min(recordCount(), kMostReserved));
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
        // A journal that cannot move: emptied where it is, the new file holds its fixes.
        if (errno != ENOENT && errno != ENOTDIR) return emptyInPlace();
        // No journal: the marker must exist all the same, it is what says "committed".
        // A folder that takes no marker holds no journal either: nothing to commit.
        if (!ensureFolder()) return true;
        const int fd = openRetrying(asidePath(), O_WRONLY | O_CREAT | O_TRUNC);
        if (fd < 0) return true;
        if (::close(fd) != 0) return false;
    }
    return syncFolder(folderOf(path_));
}

bool FixJournal::emptyInPlace() {
    const int fd = openRetrying(path_, O_WRONLY | O_TRUNC);
    if (fd < 0) return errno == ENOENT || errno == ENOTDIR;  // there is none to empty
    const bool ok = ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
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
