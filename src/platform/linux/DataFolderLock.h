#pragma once
// The claim on a data folder that every program writing it holds while it runs: an
// exclusive lock on "wendra.lock" in the folder. The lock goes with the process, so a
// killed holder never blocks the next one. It guards against other processes only.

#include <filesystem>
#include <string>

namespace wendra::platform {

class DataFolderLock {
public:
    static constexpr const char* kLockFileName = "wendra.lock";

    enum class Outcome {
        Held,    // this process holds the folder now
        InUse,   // another process holds it
        Failed,  // the lock file could not be opened
    };

    explicit DataFolderLock(std::filesystem::path dataFolder);
    ~DataFolderLock();
    DataFolderLock(const DataFolderLock&) = delete;
    DataFolderLock& operator=(const DataFolderLock&) = delete;

    // Held with `warning` set: the folder's file system has no locks, so the claim
    // cannot keep anyone out. Failed sets `error` to one line.
    Outcome claim(std::string& error);
    void release();
    bool held() const { return fd_ >= 0; }
    const std::filesystem::path& folder() const { return folder_; }

private:
    std::filesystem::path folder_;
    int fd_ = -1;
};

}  // namespace wendra::platform
