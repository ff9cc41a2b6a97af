#pragma once
// The selection of the main layer: two point references that follow deletions (a
// reference to a deleted point moves to its previous point, else its next). Whether
// a selection is usable is decided by the editing code, not here.

namespace wendra {

class TrackPoint;

struct TrackSelection {
    TrackPoint* cursor = nullptr;  // selection start, also the view's browsing cursor
    TrackPoint* anchor = nullptr;  // selection end
    bool cursorPlaced = false;
    bool anchorPlaced = false;
};

}  // namespace wendra
