#pragma once
// The "Turn display off" screen: a dark area with the slider knob, shown while the
// screen is off without "Turn off the screen completely". Opening it arms the
// screen-off timer; sliding the knob to the right edge closes it with OK.

#include <functional>

#include "app/TurnDisplayOffKnob.h"
#include "platform/DialogProcedure.h"
#include "platform/DialogTemplate.h"

namespace wendra {

inline constexpr int kTurnDisplayOffDialogId = 261;
inline constexpr int kTurnDisplayOffAreaId = 1001;

// `size` in dialog units; the default fills a handheld's portrait screen.
platform::DialogTemplate turnDisplayOffTemplate(platform::Size size = {160, 200});

class TurnDisplayOffProcedure final : public platform::DialogProcedure {
public:
    // `areaWidth` is the area's width in pixels until its first paint tells better.
    TurnDisplayOffProcedure(int scale, int areaWidth, std::function<void()> armScreenOffTimer);

    void init(platform::DialogControls& dialog) override;
    void notify(platform::DialogControls& dialog, int id,
                const platform::Notification& what) override;
    void paint(platform::DialogControls& dialog, int id,
               platform::DrawingSurface& surface) override;

    const TurnDisplayOffKnob& knob() const { return knob_; }

private:
    TurnDisplayOffKnob knob_;
    std::function<void()> armScreenOffTimer_;
};

}  // namespace wendra
