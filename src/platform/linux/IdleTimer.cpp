// The idle-timer reset on a Linux desktop: xdg-screensaver knows how to poke each
// desktop's screen saver. It is started without waiting and reaped on later calls,
// and not more often than every 30 s, since each reset holds the saver off for
// minutes anyway.

#include "platform/IdleTimer.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

namespace wendra::platform {

namespace {

constexpr std::chrono::seconds kResetInterval{30};

std::string findInPath(const char* program) {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        if (folder.empty()) continue;
        const std::string candidate = folder + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return {};
}

class NoIdleTimer final : public IdleTimer {
public:
    void reset() override {}
    bool effective() const override { return false; }
};

class XdgIdleTimer final : public IdleTimer {
public:
    explicit XdgIdleTimer(std::string program) : program_(std::move(program)) {}
    ~XdgIdleTimer() override { reap(true); }

    void reset() override {
        reap(false);
        const auto now = std::chrono::steady_clock::now();
        if (child_ > 0 || (started_ && now - last_ < kResetInterval)) return;
        char* const argv[] = {program_.data(), const_cast<char*>("reset"), nullptr};
        if (posix_spawn(&child_, program_.c_str(), nullptr, nullptr, argv, environ) != 0)
            child_ = 0;
        last_ = now;
        started_ = true;
    }
    bool effective() const override { return true; }

private:
    void reap(bool wait) {
        if (child_ > 0 && waitpid(child_, nullptr, wait ? 0 : WNOHANG) != 0) child_ = 0;
    }

    std::string program_;
    pid_t child_ = 0;
    std::chrono::steady_clock::time_point last_{};
    bool started_ = false;
};

}  // namespace

std::unique_ptr<IdleTimer> desktopIdleTimer() {
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    const bool graphical = set("DISPLAY") || set("WAYLAND_DISPLAY");
    std::string program = graphical ? findInPath("xdg-screensaver") : std::string();
    if (program.empty()) return std::make_unique<NoIdleTimer>();
    return std::make_unique<XdgIdleTimer>(std::move(program));
}

}  // namespace wendra::platform
