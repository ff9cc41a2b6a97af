#pragma once
// The start-up dialog (also the about box): the program's name and version text while
// the data files load. It loads once it is on the screen, then closes 2000 ms after it
// opened or, when loading took longer, at the first 100 ms check after it finished. A
// tap closes it once loading is done.

#include <chrono>
#include <functional>

#include "platform/DialogProcedure.h"
#include "platform/DialogTemplate.h"

namespace wendra {

class StartupDialog final : public platform::DialogProcedure {
public:
    static constexpr int kTemplateId = 120;
    static constexpr int kPictureId = 1201;
    static constexpr int kLoadTimer = 1;
    static constexpr int kCheckTimer = 2;
    static constexpr int kCheckPeriodMs = 100;

    // `load` runs once, on the window thread, while the dialog shows.
    StartupDialog(std::function<void()> load, std::chrono::milliseconds shownAtLeast);

    static platform::DialogTemplate dialogTemplate();

    void init(platform::DialogControls& dialog) override;
    void timer(platform::DialogControls& dialog, int timerId) override;
    void notify(platform::DialogControls& dialog, int id,
                const platform::Notification& what) override;
    void command(platform::DialogControls& dialog, int id) override;

    bool loaded() const { return loaded_; }

private:
    void closeWhenDone(platform::DialogControls& dialog);

    std::function<void()> load_;
    std::chrono::milliseconds shownAtLeast_;
    std::chrono::steady_clock::time_point opened_;
    bool loaded_ = false;
    bool tapped_ = false;
};

}  // namespace wendra
