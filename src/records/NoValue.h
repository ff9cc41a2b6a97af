#pragma once
// The "not set" marker shared by every stored and shown value: 999999 as an int,
// float or double (and -999999 for coordinates and for an unset maximum).

namespace wendra {

constexpr int kNoValue = 999999;

}  // namespace wendra
