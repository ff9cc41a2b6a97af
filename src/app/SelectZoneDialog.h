#pragma once
// "Select a zone": the UTM zone that a calibration file in UTM values needs, 1 to 60
// with "+" and "-", and "South hemisphere". The zone is signed, negative in the
// south. A typed zone that is not a whole number from 1 to 60 keeps the dialog open.

#include <optional>

#include "platform/DialogProcedure.h"
#include "platform/DialogTemplate.h"
#include "records/GeoPosition.h"

namespace wendra {

namespace SelectZoneControl {
inline constexpr int kText = 1701;
inline constexpr int kZone = 1702;
inline constexpr int kLess = 1703;
inline constexpr int kMore = 1704;
inline constexpr int kSouth = 1705;
}  // namespace SelectZoneControl

class SelectZoneDialog final : public platform::DialogProcedure {
public:
    static constexpr int kTemplateId = 170;
    static constexpr int kFirstZone = 1;
    static constexpr int kLastZone = 60;

    // `signedZone` pre-fills the dialog; 0 or out of range shows zone 1, north.
    explicit SelectZoneDialog(int signedZone);

    static platform::DialogTemplate dialogTemplate();

    void init(platform::DialogControls& dialog) override;
    void command(platform::DialogControls& dialog, int id) override;

    // The signed zone OK accepted; nothing when cancelled.
    const std::optional<int>& accepted() const { return accepted_; }

private:
    std::optional<int> typedZone(const platform::DialogControls& dialog) const;

    int zone_;
    bool south_;
    std::optional<int> accepted_;
};

// The zone to offer: the standard zone of the current fix (south when the fix is south
// of the equator) when there is one, else the zone last entered (0 when none).
int zoneToOffer(const std::optional<GeoPosition>& fix, int lastZone);

// Asks once per call; `lastZone` takes the zone the user gave.
std::optional<int> askUtmZone(const std::optional<GeoPosition>& fix, int& lastZone);

}  // namespace wendra
