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

#include "MemoryInput.h"

namespace {

void check(bool condition) {
    if (!condition) __builtin_trap();
}

// One in-memory file reused by every run; the record file opens it by path.
const wendra::fuzz::MemoryInput& input() {
    static const wendra::fuzz::MemoryInput file("config_fuzz");
    return file;
}

std::string savedAfterLoading(std::string_view bytes) {
    input().store(bytes.data(), bytes.size());
    wendra::Configuration config(u"/records");
    wendra::ConfigurationStore store(config);
    wendra::RecordFile file;
    check(file.open(input().path(), wendra::RecordFileMode::Read));
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
