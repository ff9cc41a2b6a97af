// Reading the available memory out of /proc/meminfo texts, well and badly formed.

#include <gtest/gtest.h>

#include <string>

#include "platform/MemoryStatus.h"

namespace wendra::test {
namespace {

struct MeminfoCase {
    const char* legend;
    const char* text;
    long long bytes;
};

const MeminfoCase kCases[] = {
    {"the usual layout",
     "MemTotal:       16303780 kB\nMemFree:          987132 kB\n"
     "MemAvailable:    9876543 kB\nBuffers:          341632 kB\n",
     9876543LL * 1024},
    {"first line", "MemAvailable: 1 kB\n", 1024},
    {"missing", "MemTotal: 100 kB\nMemFree: 50 kB\n", -1},
    {"only inside another key", "XMemAvailable: 5 kB\n", -1},
    {"no digits", "MemAvailable:    kB\n", -1},
    {"no unit", "MemAvailable: 123", -1},
    {"cut inside the unit", "MemAvailable: 123 k", -1},
    {"too large for bytes", "MemAvailable: 99999999999999999999 kB\n", -1},
    {"largest that fits", "MemAvailable: 9007199254740991 kB\n", 9007199254740991LL * 1024},
    {"empty", "", -1},
};

TEST(MemoryStatus, ReadsMemAvailableInBytes) {
    for (const MeminfoCase& c : kCases) {
        SCOPED_TRACE(c.legend);
        EXPECT_EQ(platform::parseMemAvailable(c.text), c.bytes);
    }
}

TEST(MemoryStatus, ThisMachineSaysSomething) {
    EXPECT_GT(platform::availableMemoryBytes(), 0);
}

}  // namespace
}  // namespace wendra::test
