#pragma once
// "Internet maps": whether tiles are downloaded, which active source is displayed, the
// cache folder (typed or chosen with ">"), how many days a tile stays valid, the
// template update and the country code. Edits stay in copies until OK or "Delete
// cache", which both end the dialog; the caller then takes the copies over (and asks
// before deleting). "Sources" edits the copy of the sources in their own dialog.

#include <functional>
#include <optional>
#include <string>

#include "netmaps/SourceSettings.h"
#include "netmaps/TileSettings.h"
#include "platform/DialogProcedure.h"
#include "platform/DialogTemplate.h"

namespace wendra {

namespace InternetMapsControl {
inline constexpr int kDownloadMaps = 5201;
inline constexpr int kDisplayed = 5202;
inline constexpr int kFolder = 5203;
inline constexpr int kChooseFolder = 5204;
inline constexpr int kValidDays = 5205;
inline constexpr int kFewerDays = 5206;
inline constexpr int kMoreDays = 5207;
inline constexpr int kDownloadUrl = 5208;
inline constexpr int kCountryCode = 5209;
inline constexpr int kDeleteCache = 5210;
inline constexpr int kSources = 5211;
}  // namespace InternetMapsControl

struct InternetMapsHooks {
    // The folder chooser, opened on the folder typed; nothing when cancelled.
    std::function<std::optional<std::u16string>(std::u16string_view start)> chooseFolder;
    // The "Internet sources" dialog over the copy; true when its OK took the edits.
    std::function<bool(netmaps::SourceSettings& sources)> editSources;
};

class InternetMapsDialog final : public platform::DialogProcedure {
public:
    static constexpr int kTemplateId = 520;
    static constexpr int kMinDays = 1;
    static constexpr int kMaxDays = 9999;

    InternetMapsDialog(const netmaps::TileSettings& tiles, const netmaps::SourceSettings& sources,
                       InternetMapsHooks hooks);

    static platform::DialogTemplate dialogTemplate();

    void init(platform::DialogControls& dialog) override;
    void command(platform::DialogControls& dialog, int id) override;
    void notify(platform::DialogControls& dialog, int id,
                const platform::Notification& what) override;

    // The edits, valid once the dialog ended with OK or kDeleteCache.
    const netmaps::TileSettings& tiles() const { return tiles_; }
    const netmaps::SourceSettings& sources() const { return sources_; }

private:
    void fillDisplayed(platform::DialogControls& dialog);
    void keepFields(platform::DialogControls& dialog);
    void stepDays(platform::DialogControls& dialog, int step);

    netmaps::TileSettings tiles_;
    netmaps::SourceSettings sources_;
    InternetMapsHooks hooks_;
};

}  // namespace wendra
