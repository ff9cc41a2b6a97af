// The frame's top layers: balloons, on-screen buttons and status icons.
#include "view/MapFrame.h"
#include "view/ScreenButtons.h"
#include "view/StatusIcons.h"

namespace wendra {

void MapFrame::drawBalloons(Pass& pass) {
    if (balloons_.size() == 0) return;
    const platform::Size size = pass.surface.size();
    BalloonStyle style{pass.colours, pass.metrics, pass.unitSystem, view_.rotationDegrees(),
                       pass.data.statusIcons};
    const platform::Rect area{0, 0, size.width, size.height - pass.infoHeight};
    for (int i = 0; i < balloons_.size(); ++i) drawBalloon(pass.surface, balloons_[i], area, style);
}

void MapFrame::drawButtons(Pass& pass) {
    ButtonLayout* layout = pass.data.buttons;
    if (!layout) return;
    drawScreenButtons(pass.surface, layout->buttons(), layout->images(), pass.colours,
                      pass.metrics.m);
}

// The whole frame is drawn again each time, so the icons need no saved background.
void MapFrame::drawStatusIcons(Pass& pass) {
    const platform::ImageList* icons = pass.data.statusIcons;
    if (!icons || icons->count() == 0) return;
    const platform::Size image = icons->imageSize();
    const int shown = pass.data.mapLoading ? 2 : 1;
    const int top = pass.metrics.edge();
    int left = (pass.surface.size().width - shown * image.width) / 2;
    pass.surface.drawImage(*icons, gpsStatusIcon(pass.data.gpsStatus), platform::Point{left, top});
    if (pass.data.mapLoading) {
        left += image.width;
        pass.surface.drawImage(*icons, statusicon::kMapLoading, platform::Point{left, top});
    }
}

}  // namespace wendra
