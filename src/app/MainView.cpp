#include "app/MainView.h"

#include "app/AppState.h"

namespace wendra {

bool MainView::draw(platform::DrawingSurface& surface, bool /*quick*/) {
    const platform::Size size = surface.pixels().size();
    surface.fillRect({0, 0, size.width, size.height}, platform::rgb(255, 255, 255));
    if (!state_.statusText.empty()) {
        surface.setTextColour(platform::rgb(0, 0, 0));
        surface.drawText(state_.statusText, {0, 0, size.width, size.height}, 0);
    }
    return false;
}

void MainView::update() {}

}  // namespace wendra
