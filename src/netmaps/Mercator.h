#pragma once
// Web Mercator in the unit square: u = 0 at the 180th meridian growing eastward,
// mercatorY = 0 at the south edge of the world and 1 at the north edge. Latitudes
// beyond the edges (about 85.0511 degrees) map outside [0, 1]; nothing is clamped.

namespace wendra::netmaps {

double mercatorX(double longitude);
double mercatorY(double latitude);
// The inverses. The latitude takes a north-based value (0 at the north edge).
double longitudeFromMercator(double u);
double latitudeFromNorthMercator(double v);

}  // namespace wendra::netmaps
