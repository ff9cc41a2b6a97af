// Cuts arbitrary bytes into lines and paces them as a replayed log: the due times must
// never go back, never jump by more than a minute of log time, and stay finite.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "gps/ReplayPacer.h"

namespace {

void check(bool promise) {
    if (!promise) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    constexpr double kSpeed = 4.0;
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    wendra::ReplayPacer pacer(kSpeed);
    double previous = 0.0;
    while (!rest.empty()) {
        const size_t newline = rest.find('\n');
        const std::string_view line = rest.substr(0, newline);
        rest.remove_prefix(newline == std::string_view::npos ? rest.size() : newline + 1);
        if (const auto seconds = wendra::ReplayPacer::receiverSeconds(line))
            check(*seconds >= 0.0 && *seconds < 86401.0);
        const double due = pacer.due(line);
        check(std::isfinite(due) && due >= previous &&
              due - previous <= wendra::ReplayPacer::kMaxStepSeconds / kSpeed + 1e-9);
        previous = due;
    }
    return 0;
}
