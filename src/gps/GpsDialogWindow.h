#pragma once
// The "GPS" settings dialog as a window: its template and the procedure that keeps
// the controls and GpsDialog's form in step. The procedure holds the form between
// events; what the accepted values do to the GPS is the caller's hook.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "gps/GpsDialog.h"
#include "platform/DialogProcedure.h"
#include "platform/DialogTemplate.h"
#include "platform/SerialPorts.h"

namespace wendra {

inline constexpr int kGpsDialogId = 130;
inline constexpr int kGpsPortLabelId = 1101;
inline constexpr int kGpsPortListId = 1102;
inline constexpr int kGpsRateLabelId = 1103;
inline constexpr int kGpsRateListId = 1104;
inline constexpr int kGpsSearchId = 1105;
inline constexpr int kGpsGeoidId = 1106;
inline constexpr int kGpsCorrectionId = 1107;
inline constexpr int kGpsAutoCorrectionId = 1108;
inline constexpr int kGpsUpdateTimeId = 1109;
inline constexpr int kGpsLogPortId = 1110;
inline constexpr int kGpsDeactivateId = 1111;
inline constexpr int kGpsAutoReconnectId = 1112;
inline constexpr int kGpsBluetoothId = 1113;
inline constexpr int kGpsStaticNavFunctionsId = 1114;
inline constexpr int kGpsSoundLabelId = 1115;
inline constexpr int kGpsSoundListId = 1116;
inline constexpr int kGpsPlayId = 1117;
inline constexpr int kGpsStaticNavId = 1118;
inline constexpr int kGpsAllSystemsId = 1119;

// The text of the sound list's first entry, which stands for no sound.
inline constexpr std::u16string_view kGpsNoSound = u"None";

// What the dialog needs besides the settings it edits.
struct GpsDialogSetup {
    platform::SerialPorts& ports;  // the port list and "Search"
    bool bluetoothAvailable = false;
    std::vector<std::u16string> soundNames;  // see soundNames()
    std::filesystem::path soundFolder;       // where "Play" finds them
    // Called with accepted values: closes the GPS and takes them. For OK it then starts
    // or stops the GPS and answers whether that worked (false keeps the dialog open);
    // for "Static Nav" it runs the StaticNav dialog, after which this one is back.
    // Empty: nothing is taken and OK always closes.
    std::function<bool(GpsDialogButton, const GpsDialogValues&)> take;
};

platform::DialogTemplate gpsDialogTemplate();

class GpsDialogWindow final : public platform::DialogProcedure {
public:
    GpsDialogWindow(const GpsDialogValues& current, const GpsDialogSetup& setup);

    void init(platform::DialogControls& dialog) override;
    void command(platform::DialogControls& dialog, int id) override;

    // The values taken by the OK that closed the dialog.
    const std::optional<GpsDialogValues>& result() const { return result_; }

private:
    void show(platform::DialogControls& dialog) const;
    void showEnabled(platform::DialogControls& dialog) const;
    void readForm(const platform::DialogControls& dialog);
    void search(platform::DialogControls& dialog);
    void play(const platform::DialogControls& dialog) const;
    void accept(platform::DialogControls& dialog, GpsDialogButton button);

    GpsDialogValues current_;
    const GpsDialogSetup& setup_;
    GpsDialogForm form_;
    std::optional<GpsDialogValues> result_;
};

// Runs the dialog on the window thread. The values of the OK that closed it, nothing
// after Cancel (values an earlier "Static Nav" gave `take` stay taken).
std::optional<GpsDialogValues> runGpsDialog(const GpsDialogValues& current,
                                            const GpsDialogSetup& setup);

}  // namespace wendra
