#pragma once
// The key codes the program's key slots are bound to, as the window delivers them:
// Enter and the arrows keep their handheld codes, F1-F6 are the six hardware
// application keys (delivered as hot keys), F9 and F10 the two soft keys.

namespace wendra::platform {

inline constexpr int kKeyBack = 8;
inline constexpr int kKeyEnter = 13;
inline constexpr int kKeyEscape = 27;
inline constexpr int kKeySpace = 32;
inline constexpr int kKeyLeft = 37;
inline constexpr int kKeyUp = 38;
inline constexpr int kKeyRight = 39;
inline constexpr int kKeyDown = 40;
inline constexpr int kKeyDelete = 46;
// Letters and digits arrive as their upper-case ASCII codes.

inline constexpr int kFirstApplicationKey = 193;  // F1
inline constexpr int kApplicationKeyCount = 6;    // up to F6, code 198

}  // namespace wendra::platform
