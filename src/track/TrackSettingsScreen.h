#pragma once
// The "Track" settings dialog as a screen over TrackDialogForm: the delete mode with
// the archive folder, the type of track, the point limits, "Join far points", the
// minimum distance between points and the climb window. OK applies the dialog's rule
// (acceptTrackDialog); a refusal or a length that is no number keeps it open.
// The track colour is kept as it was: this build has no colour chooser.

#include <functional>
#include <optional>
#include <string>

#include "platform/DialogProcedure.h"
#include "platform/DialogTemplate.h"
#include "track/TrackDialog.h"

namespace wendra {

namespace TrackSettingsControl {
inline constexpr int kAsk = 1501;
inline constexpr int kAutomatic = 1502;
inline constexpr int kNever = 1503;
inline constexpr int kArchive = 1504;
inline constexpr int kArchiveFolder = 1505;
inline constexpr int kBrowse = 1506;
inline constexpr int kTrailing = 1507;
inline constexpr int kTrailingLength = 1508;
inline constexpr int kTrailingLess = 1509;
inline constexpr int kTrailingMore = 1510;
inline constexpr int kPermanent = 1511;
inline constexpr int kMaxPoints = 1512;
inline constexpr int kMaxLayerPoints = 1513;
inline constexpr int kJoinFarPoints = 1514;
inline constexpr int kMinDistanceOn = 1515;
inline constexpr int kMinDistance = 1516;
inline constexpr int kMinDistanceLess = 1517;
inline constexpr int kMinDistanceMore = 1518;
inline constexpr int kClimbWindow = 1519;
}  // namespace TrackSettingsControl

struct TrackSettingsUnits {
    std::u16string large = u"Km";
    std::u16string small = u"m";
};

class TrackSettingsScreen final : public platform::DialogProcedure {
public:
    static constexpr int kTemplateId = 150;
    static constexpr std::u16string_view kNotANumber = u"Please enter a number.";
    // The largest climb window offered: its two buffers are allocated at once.
    static constexpr int kMaxClimbWindow = 3600;

    // chooseFolder, when given, serves the ">" button of "Archives in:".
    TrackSettingsScreen(const TrackSettings& settings, TrackDialogForm form,
                        std::function<std::optional<std::u16string>(std::u16string_view)>
                            chooseFolder = {});

    static platform::DialogTemplate dialogTemplate(const TrackSettingsUnits& units = {});

    void init(platform::DialogControls& dialog) override;
    void command(platform::DialogControls& dialog, int id) override;

    // The settings OK accepted; nothing when the dialog was cancelled.
    const std::optional<TrackSettings>& accepted() const { return accepted_; }

private:
    void enableFields(platform::DialogControls& dialog) const;
    void step(platform::DialogControls& dialog, int field, double by) const;
    std::optional<TrackDialogForm> readForm(platform::DialogControls& dialog) const;
    void accept(platform::DialogControls& dialog);

    TrackSettings settings_;
    TrackDialogForm form_;
    std::function<std::optional<std::u16string>(std::u16string_view)> chooseFolder_;
    std::optional<TrackSettings> accepted_;
};

}  // namespace wendra
