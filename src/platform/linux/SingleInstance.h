#pragma once
// One running program per data folder: the folder's lock held for the program's life, and a
// local socket on which the running program hears a second start and brings its window
// to the front. The lock goes with the process, so a killed program never blocks the
// next start.

#include <atomic>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "platform/linux/DataFolderLock.h"

namespace wendra::platform {

class SingleInstance {
public:
    static constexpr const char* kLockFileName = DataFolderLock::kLockFileName;

    explicit SingleInstance(std::filesystem::path dataFolder);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    enum class Outcome {
        First,            // this process holds the folder now
        NotifiedRunning,  // another holds it and was asked to show its window
        InUse,            // another holds it with no window to show (a wendra-tool run)
        Failed,           // the lock file could not be had
    };
    // Takes the lock; when another process holds it, asks that one to come to the front.
    // First with `error` set: the folder's file system has no locks (a warning).
    Outcome claim(std::string& error);
    // Listens for later starts; `wake` runs on the listening thread for each.
    void listen(std::function<void()> wake);
    void stopListening();

    // The abstract socket name of a data folder (no file on disk, no path-length limit).
    static std::string socketName(const std::filesystem::path& dataFolder);

private:
    void serve();

    std::filesystem::path folder_;
    DataFolderLock lock_;
    int listenFd_ = -1;
    std::function<void()> wake_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
};

}  // namespace wendra::platform
