#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "platform/IdleTimer.h"
#include "support/TestPaths.h"
#include "support/WaitUntil.h"

namespace wendra::test {
namespace {

using namespace std::chrono_literals;

// Sets an environment variable for the test's lifetime.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) previous_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (previous_.empty()) unsetenv(name_);
        else setenv(name_, previous_.c_str(), 1);
    }

private:
    const char* name_;
    std::string previous_;
};

TEST(IdleTimer, PokesTheScreenSaverAtMostOnceInThirtySeconds) {
    TempDir bin;
    writeFile(bin / "xdg-screensaver", "#!/bin/sh\necho \"$1\" >> \"$(dirname \"$0\")/calls\"\n");
    chmod((bin / "xdg-screensaver").c_str(), 0755);
    ScopedEnv display("DISPLAY", ":42");
    ScopedEnv path("PATH", bin.path().string() + ":/usr/bin:/bin");
    {
        auto idle = platform::desktopIdleTimer();
        ASSERT_TRUE(idle->effective());
        idle->reset();
        // The file appears before the helper has written to it: wait for the line.
        ASSERT_TRUE(waitUntil([&] {
            return std::filesystem::exists(bin / "calls") && readFile(bin / "calls") == "reset\n";
        }));
        idle->reset();  // within 30 s of the last: nothing
        idle->reset();
    }  // the last child is waited for here
    EXPECT_EQ(readFile(bin / "calls"), "reset\n");
}

TEST(IdleTimer, WithoutAGraphicalSessionDoesNothing) {
    ScopedEnv display("DISPLAY", "");
    unsetenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (wayland) GTEST_SKIP() << "a Wayland session is running";
    auto idle = platform::desktopIdleTimer();
    EXPECT_FALSE(idle->effective());
    idle->reset();
}

}  // namespace
}  // namespace wendra::test
