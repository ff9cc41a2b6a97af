#pragma once
// Moving a position by a distance east and north on the flat earth that the program
// measures distances on: one half-turn of arc is kHalfTurnKm whatever the direction,
// east distances stretched by 1/cos(latitude). Nothing keeps the result in range;
// at the poles the east move is infinite.

#include "records/GeoPosition.h"

namespace wendra {

GeoPosition offsetPosition(const GeoPosition& from, double eastKm, double northKm);

}  // namespace wendra
