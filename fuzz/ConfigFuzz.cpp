// Reads arbitrary bytes as a configuration file, the way the program loads it, saves
// the result, and loads and saves that again: the second save must give back exactly
// the first, whatever the input was.

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/ConfigurationStore.h"
#include "app/ConfigurationWriter.h"
#include "records/RecordFile.h"

namespace {

void check(bool condition) {
    if (!condition) __builtin_trap();
}

// One in-memory file reused by every run; the record file opens it by path.
int inputFd() {
    static const int fd = [] {
        const int created = memfd_create("config_fuzz", 0);
        if (created < 0) std::abort();
        return created;
    }();
    return fd;
}

std::string savedAfterLoading(std::string_view bytes) {
    if (ftruncate(inputFd(), 0) != 0) std::abort();
    if (!bytes.empty() && pwrite(inputFd(), bytes.data(), bytes.size(), 0) != ssize_t(bytes.size()))
        std::abort();
    wendra::Configuration config(u"/records");
    wendra::ConfigurationStore store(config);
    wendra::RecordFile file;
    check(file.open("/proc/self/fd/" + std::to_string(inputFd()), wendra::RecordFileMode::Read));
    store.resetToDefaults();
    store.read(file);
    store.afterLoad();
    for (const wendra::KindCount& kind : store.lastKinds()) check(kind.count > 0);
    return wendra::configurationText(config);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string first = savedAfterLoading({reinterpret_cast<const char*>(data), size});
    check(savedAfterLoading(first) == first);
    return 0;
}
