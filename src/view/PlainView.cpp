#include "view/PlainView.h"

#include <cmath>

#include "view/InfoLine.h"
#include "view/NorthUpProjection.h"
#include "view/PositionMarker.h"
#include "view/StatusText.h"

namespace wendra {

namespace {

platform::ColorRef positionColour(const ViewScene& scene) {
    return scene.position == PositionMark::Shown ? scene.colours.gps : kNotLiveColour;
}

// Without a fix the position shown is the view centre itself.
platform::Point markerPixel(const ViewScene& scene, const NorthUpProjection& projection) {
    if (scene.position != PositionMark::Shown) return projection.centrePixel();
    return NorthUpProjection::toPixel(
        projection.projectDegrees(scene.fix.latitude, scene.fix.longitude));
}

bool nearSurface(platform::Point p, platform::Size size, int margin) {
    return p.x >= -margin && p.y >= -margin && p.x < size.width + margin &&
           p.y < size.height + margin;
}

}  // namespace

void PlainView::draw(platform::DrawingSurface& surface, const ViewScene& scene) {
    const platform::Size size = surface.size();
    const int m = scene.pixelMultiplier < 1 ? 1 : scene.pixelMultiplier;
    surface.setClip(std::nullopt);

    const ViewCentre centre = clampedCentre(scene.centre);
    const bool usableScale = std::isfinite(scene.scale) && scene.scale > 0.0f;
    const NorthUpProjection projection(centre, usableScale ? scene.scale : ViewScene::kInitialScale,
                                       size);
    // The background is marked "not yet painted", so that each map fills only what a
    // better one left.
    if (scene.maps)
        maps_.paint(*scene.maps, surface.pixels(), projection, centre.lat * 180.0,
                    scene.colours.back);
    else
        surface.pixels().fill(platform::toUnpaintedPixel16(scene.colours.back));
    track_.draw(surface, scene.track, projection, scene.colours);

    if (scene.position != PositionMark::NotShown) {
        const platform::Point at = markerPixel(scene, projection);
        if (nearSurface(at, size, 2 * kMarkerSize * m))
            drawPositionMarker(surface, at, positionColour(scene), m);
    }

    drawInfoLine(surface, scene, positionColour(scene), m);
    const int bandHeight = scene.infoLineMode == 0 ? 0 : kInfoLineHeight * m;
    drawStatusText(surface, scene.status,
                   platform::Rect{0, 0, size.width, size.height - bandHeight}, scene.colours, m);
}

}  // namespace wendra
