#pragma once
// The "Statistics" screen: a tree of the 90 rows (label without its dashes, a space
// and the value), "Back" and "Display". Groups keep their expanded state and the
// selected row between showings (kept in TrackStatistics). "Display" on a found
// extreme ends the screen with kDisplay and leaves the decision for the caller.

#include <vector>

#include "platform/DialogProcedure.h"
#include "platform/DialogTemplate.h"
#include "track/StatisticsDisplay.h"
#include "track/TrackStatistics.h"

namespace wendra {

class StatisticsScreen final : public platform::DialogProcedure {
public:
    static constexpr int kTemplateId = 160;
    static constexpr int kTree = 1601;
    static constexpr int kBack = 1602;
    static constexpr int kDisplay = 1603;

    // hintShown: whether the "Display" hint was already shown in this run.
    StatisticsScreen(TrackStatistics& statistics, bool hintShown);

    static platform::DialogTemplate dialogTemplate();

    void init(platform::DialogControls& dialog) override;
    void command(platform::DialogControls& dialog, int id) override;
    void notify(platform::DialogControls& dialog, int id,
                const platform::Notification& what) override;

    // Valid once the screen ended with kDisplay.
    const StatisticsDisplay& display() const { return display_; }

private:
    int rowOf(platform::TreeItem item) const;
    void keepState(platform::DialogControls& dialog);

    TrackStatistics& statistics_;
    bool hintShown_;
    std::vector<platform::TreeItem> items_;  // per row
    StatisticsDisplay display_;
};

}  // namespace wendra
