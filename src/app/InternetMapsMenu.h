#pragma once
// The "Internet maps" quick menu: "Disable", "Disable this time", one button per active
// source (showing it), "Back". The dialog ends with the id pressed; the caller acts.

#include "netmaps/SourceSettings.h"
#include "platform/DialogProcedure.h"
#include "platform/DialogTemplate.h"

namespace wendra {

namespace InternetMapsMenuButton {
inline constexpr int kDisable = 5301;
inline constexpr int kDisableThisTime = 5302;
inline constexpr int kBack = 5303;
inline constexpr int kFirstSource = 5310;  // + source index
}  // namespace InternetMapsMenuButton

class InternetMapsMenu final : public platform::DialogProcedure {
public:
    static constexpr int kTemplateId = 530;

    static platform::DialogTemplate dialogTemplate(const netmaps::SourceSettings& sources);
    // The source a button shows, or kNoTileSource.
    static int sourceOf(int buttonId);

    void init(platform::DialogControls&) override {}
    void command(platform::DialogControls& dialog, int id) override;
};

}  // namespace wendra
