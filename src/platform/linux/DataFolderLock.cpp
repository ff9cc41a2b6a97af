#include "platform/linux/DataFolderLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace wendra::platform {

DataFolderLock::DataFolderLock(std::filesystem::path dataFolder) : folder_(std::move(dataFolder)) {}

DataFolderLock::~DataFolderLock() {
    release();
}

DataFolderLock::Outcome DataFolderLock::claim(std::string& error) {
    if (fd_ >= 0) return Outcome::Held;
    const std::filesystem::path lockPath = folder_ / kLockFileName;
    fd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) {
        error = "cannot open \"" + lockPath.string() + "\": " + std::strerror(errno);
        return Outcome::Failed;
    }
    int locked;
    do {
        locked = ::flock(fd_, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked == 0) return Outcome::Held;
    const int cause = errno;
    if (cause != EWOULDBLOCK) {
        // A file system without locks (some network and FUSE ones): the program still
        // runs, only another one on the same folder can no longer be noticed.
        error = "cannot lock \"" + lockPath.string() + "\" (" + std::strerror(cause) +
                "): a second program on this folder will not be noticed";
        return Outcome::Held;
    }
    release();
    return Outcome::InUse;
}

void DataFolderLock::release() {
    if (fd_ < 0) return;
    ::close(fd_);
    fd_ = -1;
}

}  // namespace wendra::platform
