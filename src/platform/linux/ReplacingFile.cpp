#include "platform/ReplacingFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <string_view>

namespace wendra::platform {

namespace {

constexpr mode_t kNewFileMode = 0666;  // narrowed by the umask, as for any new file
constexpr std::size_t kMaxPidDigits = 9;

int openRetrying(const char* path, int flags, mode_t mode) {
    int fd;
    do {
        fd = ::open(path, flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// The file a save of `path` ends up in: a symbolic link's final target, so that the
// temporary file sits beside it (one file system for the rename) and the link stays.
// Empty for a link that leads nowhere (yet): that one is written through in place.
std::string resolvedTarget(const std::string& path) {
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return path;
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::canonical(path, error);
    return error ? std::string() : resolved.string();
}

bool allDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace

ReplacingFile::~ReplacingFile() {
    abandon();
}

bool ReplacingFile::open(const std::string& path) {
    abandon();
    failed_ = false;
    target_ = resolvedTarget(path);
    struct stat existing {};
    const bool exists = !target_.empty() && ::stat(target_.c_str(), &existing) == 0;
    if (target_.empty() || (exists && !S_ISREG(existing.st_mode))) {
        if (target_.empty()) target_ = path;
        // O_TRUNC means nothing to a device or FIFO; through a dangling link it starts
        // the file the link names.
        fd_ = openRetrying(target_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, kNewFileMode);
        return fd_ >= 0;
    }
    static std::atomic<unsigned> counter{0};
    temporary_ =
        target_ + kTemporaryMark + std::to_string(::getpid()) + "-" + std::to_string(++counter);
    const int flags = O_WRONLY | O_CREAT | O_EXCL;
    fd_ = openRetrying(temporary_.c_str(), flags, kNewFileMode);
    if (fd_ < 0 && errno == EEXIST) {  // left behind by a process of the same id
        ::unlink(temporary_.c_str());
        fd_ = openRetrying(temporary_.c_str(), flags, kNewFileMode);
    }
    if (fd_ < 0) {
        temporary_.clear();
        return false;
    }
    if (exists) ::fchmod(fd_, existing.st_mode & 07777);
    return true;
}

bool ReplacingFile::write(const void* data, std::size_t size) {
    if (fd_ < 0 || failed_) {
        if (fd_ < 0) errno = EBADF;
        return false;
    }
    const char* at = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd_, at, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            failed_ = true;
            return false;
        }
        at += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool ReplacingFile::commit() {
    if (fd_ < 0) return true;
    bool ok = !failed_ && (temporary_.empty() || ::fsync(fd_) == 0);
    ok = ::close(fd_) == 0 && ok;
    fd_ = -1;
    if (!temporary_.empty()) {
        if (ok) ok = ::rename(temporary_.c_str(), target_.c_str()) == 0;
        if (!ok) ::unlink(temporary_.c_str());
        temporary_.clear();
    }
    return ok;
}

void ReplacingFile::abandon() {
    if (fd_ < 0) return;
    ::close(fd_);
    fd_ = -1;
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    temporary_.clear();
}

long ReplacingFile::temporaryOwner(const std::string& fileName) {
    const std::size_t mark = fileName.rfind(kTemporaryMark);
    if (mark == std::string::npos) return 0;
    const std::string_view rest =
        std::string_view(fileName).substr(mark + std::string_view(kTemporaryMark).size());
    const std::size_t dash = rest.find('-');
    if (dash == std::string_view::npos || dash > kMaxPidDigits) return 0;
    if (!allDigits(rest.substr(0, dash)) || !allDigits(rest.substr(dash + 1))) return 0;
    return std::stol(std::string(rest.substr(0, dash)));
}

}  // namespace wendra::platform
