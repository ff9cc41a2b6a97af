#include "platform/linux/SingleInstance.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <functional>

namespace wendra::platform {

namespace {

constexpr int kPollMs = 200;  // how soon a stop request is seen
constexpr char kWakeByte = 'F';

// Abstract socket addresses start with a zero byte and are not files.
socklen_t addressOf(const std::string& name, sockaddr_un& address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    const std::size_t length = std::min(name.size(), sizeof address.sun_path - 1);
    std::memcpy(address.sun_path + 1, name.data(), length);
    return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + length);
}

bool notifyRunning(const std::string& name) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    sockaddr_un address{};
    const socklen_t length = addressOf(name, address);
    bool sent = ::connect(fd, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
                ::write(fd, &kWakeByte, 1) == 1;
    ::close(fd);
    return sent;
}

}  // namespace

SingleInstance::SingleInstance(std::filesystem::path dataFolder)
    : folder_(std::move(dataFolder)), lock_(folder_) {}

SingleInstance::~SingleInstance() {
    stopListening();
}

std::string SingleInstance::socketName(const std::filesystem::path& dataFolder) {
    std::error_code error;
    std::filesystem::path canonical = std::filesystem::weakly_canonical(dataFolder, error);
    if (error) canonical = dataFolder;
    const std::size_t hash = std::hash<std::string>{}(canonical.string());
    return "wendra-" + std::to_string(::getuid()) + "-" + std::to_string(hash);
}

SingleInstance::Outcome SingleInstance::claim(std::string& error) {
    switch (lock_.claim(error)) {
        case DataFolderLock::Outcome::Held:
            return Outcome::First;
        case DataFolderLock::Outcome::InUse:
            break;
        case DataFolderLock::Outcome::Failed:
            return Outcome::Failed;
    }
    return notifyRunning(socketName(folder_)) ? Outcome::NotifiedRunning : Outcome::InUse;
}

void SingleInstance::listen(std::function<void()> wake) {
    if (thread_.joinable()) return;
    listenFd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listenFd_ < 0) return;
    sockaddr_un address{};
    const socklen_t length = addressOf(socketName(folder_), address);
    if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(listenFd_, 4) != 0) {
        ::close(listenFd_);
        listenFd_ = -1;
        return;
    }
    wake_ = std::move(wake);
    stop_ = false;
    thread_ = std::thread([this] { serve(); });
}

void SingleInstance::stopListening() {
    if (!thread_.joinable()) return;
    stop_ = true;
    thread_.join();
    ::close(listenFd_);
    listenFd_ = -1;
}

void SingleInstance::serve() {
    while (!stop_) {
        pollfd waiting{listenFd_, POLLIN, 0};
        if (::poll(&waiting, 1, kPollMs) <= 0) continue;
        const int client = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) continue;
        pollfd reading{client, POLLIN, 0};
        char byte = 0;
        if (::poll(&reading, 1, kPollMs) > 0 && ::read(client, &byte, 1) == 1 &&
            byte == kWakeByte && wake_)
            wake_();
        ::close(client);
    }
}

}  // namespace wendra::platform
