#pragma once
// One cell of the view's sample grid as a map painter receives it: four corners, each
// a geographic position and the screen pixel it lands on. The cell is a screen
// rectangle; the painter covers exactly the pixels between corner 0 and corner 3.

#include <array>

namespace wendra::maps {

struct CellCorner {
    double latitude = 0;   // degrees
    double longitude = 0;  // degrees
    int x = 0;             // screen pixels from the left
    int y = 0;             // screen pixels from the top
};

// Corner order as the map's: 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right.
using MapCell = std::array<CellCorner, 4>;

}  // namespace wendra::maps
