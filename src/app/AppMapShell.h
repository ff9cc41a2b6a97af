#pragma once
// What the maps get of the window: its boxes and trace log, passes of the map manager,
// repaints posted to the window thread, the screen-power state and where the view
// stands. Every call may come from the manager, a load or the window thread; the
// window, the manager and the screen are attached on the window thread and must stay
// alive until detached.

#include <atomic>
#include <mutex>
#include <optional>

#include "maps/MapShell.h"
#include "platform/Geometry.h"
#include "view/ViewCentre.h"

namespace wendra::platform {
class Window;
}

namespace wendra::maps {
class MapManager;
}

namespace wendra {

class ScreenPower;

class AppMapShell final : public maps::MapShell {
public:
    // Null detaches: passes, repaints and the screen state are then not asked for.
    void attachWindow(platform::Window* window) { window_.store(window); }
    void attachManager(maps::MapManager* manager) { manager_.store(manager); }
    void attachScreen(const ScreenPower* screen) { screen_.store(screen); }

    // Window thread, once a frame: the view the manager ranks the maps for. `scale` in
    // pixels per half-turn, `surface` the window's size.
    void viewPlaced(ViewCentre centre, double scale, platform::Size surface);
    // The posted repaint was handled: the next refresh posts again.
    void repaintTaken() { repaintPosted_.store(false); }

    platform::Answer ask(std::u16string_view text, std::u16string_view title,
                         platform::Buttons buttons) override;
    void trace(std::string_view line) override;
    void requestPass(maps::ManagerLevel level) override;
    // Window thread, once a frame: the chosen "Maps in night mode" while the view shows
    // its night colours, none by day. A change asks the manager to hand the new colours
    // to every map (they reload in them).
    void viewColours(bool nightColours, int mapsNightMode);
    maps::NightMode nightMode() const override {
        return static_cast<maps::NightMode>(nightMode_.load());
    }
    bool screenOff() const override;
    void refreshStatusLine() override;
    std::optional<maps::RankingView> rankingView() const override;

private:
    std::atomic<int> nightMode_{0};
    std::atomic<platform::Window*> window_{nullptr};
    std::atomic<maps::MapManager*> manager_{nullptr};
    std::atomic<const ScreenPower*> screen_{nullptr};
    std::atomic<bool> repaintPosted_{false};
    mutable std::mutex viewLock_;
    std::optional<maps::RankingView> view_;
};

}  // namespace wendra
