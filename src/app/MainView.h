#pragma once
// The map view as the shell sees it: draws a frame of the application state into the
// back buffer, or only brings the view's state up to date when nothing may be drawn.

#include "platform/DrawingSurface.h"

namespace wendra {

struct AppState;

class MainView {
public:
    explicit MainView(AppState& state) : state_(state) {}

    // Draws a frame; true when the view wants another pass soon.
    bool draw(platform::DrawingSurface& surface, bool quick);
    // The view's state follows the position without drawing.
    void update();

private:
    AppState& state_;
};

}  // namespace wendra
