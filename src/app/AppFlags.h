#pragma once
// The bits of the application's flag word (a platform::LockWord of plain flags, shared
// by every thread).

#include <cstdint>

namespace wendra {

// The window thread's flags that other parts look at. The workers' running and stop
// flags, the changed files and the screen-off mode are kept by their owners.
namespace AppFlag {
inline constexpr std::uint32_t kStartupNotFinished = 1u << 0;  // painting suppressed
inline constexpr std::uint32_t kRepaintPending = 1u << 1;
inline constexpr std::uint32_t kModalDialog = 1u << 2;
inline constexpr std::uint32_t kLongPress = 1u << 3;
inline constexpr std::uint32_t kStartupComplete = 1u << 5;  // painting allowed
}  // namespace AppFlag

}  // namespace wendra
