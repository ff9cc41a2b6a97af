#pragma once
// "Internet sources": per source its active bit, URL template and attribution; the
// displayed source among the active ones, the country code and the update site. Edits
// stay in a copy until OK, which refuses an empty mask; the settings must outlive it.

#include <functional>

#include "netmaps/SourceSettings.h"
#include "platform/DialogProcedure.h"
#include "platform/DialogTemplate.h"

namespace wendra::netmaps {

namespace InternetSourcesControl {
inline constexpr int kSources = 5101;
inline constexpr int kActive = 5102;
inline constexpr int kTemplate = 5103;
inline constexpr int kAttribution = 5104;
inline constexpr int kDisplayed = 5105;
inline constexpr int kCountryCode = 5106;
inline constexpr int kUpdateSite = 5107;
}  // namespace InternetSourcesControl

class InternetSourcesDialog final : public platform::DialogProcedure {
public:
    static constexpr int kTemplateId = 510;
    // Called after OK with the displayed source when it is another one than before,
    // so that its maps are shown.
    using DisplayedChanged = std::function<void(int source)>;

    InternetSourcesDialog(SourceSettings& settings, DisplayedChanged displayedChanged);

    static platform::DialogTemplate dialogTemplate();

    void init(platform::DialogControls& dialog) override;
    void command(platform::DialogControls& dialog, int id) override;
    void notify(platform::DialogControls& dialog, int id,
                const platform::Notification& what) override;

private:
    void showSource(platform::DialogControls& dialog);
    void fillDisplayed(platform::DialogControls& dialog);
    void keepTexts(platform::DialogControls& dialog);
    void accept(platform::DialogControls& dialog);

    SourceSettings& settings_;
    SourceSettings edited_;
    DisplayedChanged displayedChanged_;
    int current_ = 0;  // the source whose fields are shown
};

// Runs the dialog; true when OK took the changes over.
bool runInternetSources(SourceSettings& settings,
                        InternetSourcesDialog::DisplayedChanged displayedChanged);

}  // namespace wendra::netmaps
