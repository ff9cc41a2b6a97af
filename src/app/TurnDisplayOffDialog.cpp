#include "app/TurnDisplayOffDialog.h"

#include <utility>

#include "platform/DrawingSurface.h"

namespace wendra {

using platform::NotifyCode;
using platform::rgb;

namespace {

constexpr std::u16string_view kTitle = u"Turn display off";
constexpr platform::ColorRef kBackground = rgb(0, 0, 0);
constexpr platform::ColorRef kKnobFill = rgb(48, 48, 48);
constexpr platform::ColorRef kKnobEdge = rgb(96, 96, 96);
constexpr int kKnobCorner = 8;

}  // namespace

platform::DialogTemplate turnDisplayOffTemplate(platform::Size size) {
    platform::DialogTemplate dialog{kTurnDisplayOffDialogId, std::u16string(kTitle), size, {}};
    dialog.controls.push_back({kTurnDisplayOffAreaId,
                               platform::ControlKind::OwnerDrawn,
                               {},
                               {0, 0, size.width, size.height},
                               0});
    return dialog;
}

TurnDisplayOffProcedure::TurnDisplayOffProcedure(int scale, int areaWidth,
                                                 std::function<void()> armScreenOffTimer)
    : knob_(scale, areaWidth), armScreenOffTimer_(std::move(armScreenOffTimer)) {}

void TurnDisplayOffProcedure::init(platform::DialogControls& /*dialog*/) {
    armScreenOffTimer_();
}

void TurnDisplayOffProcedure::notify(platform::DialogControls& dialog, int id,
                                     const platform::Notification& what) {
    if (id != kTurnDisplayOffAreaId) return;
    switch (what.code) {
        case NotifyCode::StylusDown:
            if (!knob_.down(what.at)) return;
            break;
        case NotifyCode::StylusMove:
            if (!knob_.dragging()) return;
            if (knob_.move(what.at)) {
                dialog.end(platform::kIdOk);
                return;
            }
            break;
        case NotifyCode::StylusUp:
            if (!knob_.dragging()) return;
            knob_.up();
            break;
        default:
            return;
    }
    dialog.redraw(kTurnDisplayOffAreaId);
}

void TurnDisplayOffProcedure::paint(platform::DialogControls& /*dialog*/, int id,
                                    platform::DrawingSurface& surface) {
    if (id != kTurnDisplayOffAreaId) return;
    const platform::Size size = surface.size();
    knob_.resize(size.width);
    surface.fillRect({0, 0, size.width, size.height}, kBackground);
    surface.setPen({platform::PenStyle::Solid, 1, kKnobEdge});
    surface.setBrush({false, kKnobFill});
    surface.roundRect(knob_.bounds(size.height), kKnobCorner, kKnobCorner);
}

}  // namespace wendra
