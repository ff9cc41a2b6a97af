#pragma once
// A position moved east and north on the program's flat earth: a half-turn of arc is
// 20037.508342789242 km, east distances stretched by 1/cos(latitude). The result is
// not kept in range, and at the poles the east move is infinite.

#include "records/GeoPosition.h"

namespace wendra {

GeoPosition offsetPosition(const GeoPosition& from, double eastKm, double northKm);

}  // namespace wendra
