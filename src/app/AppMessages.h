#pragma once
// The numbers of the main window's messages and software timers. 40000-40004 are the
// program's documented messages; the others carry work from the program's own
// threads to the window thread.

#include <cstdint>

namespace wendra {

namespace AppMessage {
inline constexpr std::uint32_t kStartupContinuation = 40000;
inline constexpr std::uint32_t kReconnect = 40001;
inline constexpr std::uint32_t kCommand = 40003;
inline constexpr std::uint32_t kCommandWhenIdle = 40004;
// From the GPS reader: repaint, a status text to show, settings answered.
inline constexpr std::uint32_t kRepaint = 40020;
inline constexpr std::uint32_t kStatusText = 40021;
inline constexpr std::uint32_t kReaderSettings = 40022;
// A second start of the program asked for the window.
inline constexpr std::uint32_t kBringToFront = 40023;
// From the map manager: the maps changed, the view and its status line are redrawn.
inline constexpr std::uint32_t kMapsRepaint = 40024;
}  // namespace AppMessage

namespace AppTimer {
inline constexpr int kRepaint = 1;
inline constexpr int kStatusClear = 3;
inline constexpr int kQuickDrawEnd = 5;
inline constexpr int kPeriodicRedraw = 6;
inline constexpr int kButtonBarHide = 7;
inline constexpr int kLongPress = 8;
inline constexpr int kDeferredRepaint = 9;
inline constexpr int kScreenOff = 10;
inline constexpr int kScreenOn = 11;
}  // namespace AppTimer

namespace AppPeriod {
inline constexpr int kRepaint = 1100;
inline constexpr int kStatusClear = 5000;
inline constexpr int kQuickDrawEnd = 300;
inline constexpr int kPeriodicRedraw = 1200;
inline constexpr int kButtonBarHide = 4000;
inline constexpr int kLongPress = 800;
inline constexpr int kDeferredRepaint = 5;
inline constexpr int kScreenOff = 200;
inline constexpr int kScreenOn = 200;
}  // namespace AppPeriod

}  // namespace wendra
