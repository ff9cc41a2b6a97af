#pragma once
// Which program key a Qt key is: Enter, the arrows and the other handheld keys by
// their codes, F1-F6 as the hardware application keys, F9 and F10 as the soft keys.

namespace wendra::platform::qt {

enum class KeyRoute { None, Key, HotKey, SoftKeyLeft, SoftKeyRight };

struct RoutedKey {
    KeyRoute route = KeyRoute::None;
    int code = 0;  // for Key and HotKey

    bool operator==(const RoutedKey&) const = default;
};

RoutedKey routeKey(int qtKey);

}  // namespace wendra::platform::qt
