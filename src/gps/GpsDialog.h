#pragma once
// The logic of the "GPS" settings dialog, apart from its window: the form filled from
// the settings and the port list, which controls are enabled, what "Search" selects,
// the questions of OK and "Static Nav", and taking the form's values into the port.

#include <optional>
#include <string>
#include <vector>

#include "gps/NmeaParser.h"
#include "gps/ParserFlags.h"
#include "gps/SerialPort.h"
#include "gps/SerialSettings.h"
#include "platform/SerialPorts.h"

namespace wendra {

// What the dialog edits. The last two belong to the Global4 record.
struct GpsDialogValues {
    SerialSettings serial;
    int32_t parserFlags = ParserFlags::kInitial;
    float correction = NmeaParser::kDefaultCorrection;
    bool staticNavFunctions = false;  // "Functions to manage StaticNav"
    std::u16string noFixSound;        // empty: no sound
};

// The controls' values as the form shows them.
struct GpsDialogForm {
    std::vector<std::u16string> ports;  // "COM:" list; the index is the port id
    int portId = 0;
    std::vector<std::u16string> rates;  // "rate" list
    int rateIndex = 0;
    bool geoidCorrection = false;  // "Corr. geoide"
    std::u16string correction;     // its value field
    bool autoCorrection = false;   // "Upd auto"
    bool updateTime = false;       // "Update time"
    bool allSystems = false;       // "All satellite systems": the reader's one-time question
    bool logPort = false;
    bool deactivate = false;  // "Deactivate the GPS"
    bool autoReconnect = false;
    bool activateBluetooth = false;
    bool staticNavFunctions = false;
    std::vector<std::u16string> sounds;  // "Alert no fix"; the first entry is no sound
    int soundIndex = 0;
    bool bluetoothAvailable = false;
    bool searchEnabled = true;
    int foundRateIndex = -1;  // the rate "Search" found, -1 for none
};

struct GpsDialogEnabled {
    bool autoCorrection = false;
    bool correction = false;
    bool staticNavButton = false;
    bool activateBluetooth = false;
    bool search = false;
};

enum class GpsDialogButton { Ok, StaticNav };

// `soundNames` are the sounds to offer after the first, "no sound" entry (whose text is
// `noSoundEntry`).
GpsDialogForm gpsDialogForm(const GpsDialogValues& values,
                            const std::vector<platform::PortDescription>& ports,
                            std::u16string noSoundEntry,
                            const std::vector<std::u16string>& soundNames, bool bluetoothAvailable);

GpsDialogEnabled gpsDialogEnabled(const GpsDialogForm& form);

// "Search": selects the port and rate found; disables the button when nothing was.
void applyPortSearch(GpsDialogForm& form, const std::optional<platform::PortSearchResult>& found);

// OK or "Static Nav": asks what must be asked; nothing when the user said No (a No to
// the StaticNav question also unchecks that box). Otherwise the values to take.
std::optional<GpsDialogValues> acceptGpsDialog(GpsDialogForm& form, const GpsDialogValues& current,
                                               GpsDialogButton button);

// Closes the GPS and takes the values: the port settings, the parser's dialog bits and
// correction. The sound and the StaticNav switch are the caller's to keep.
void takeGpsDialogValues(SerialPort& port, NmeaParser& parser, const GpsDialogValues& values);

// Cancel: the GPS as the settings say; when that fails, the GPS is switched off.
void cancelGpsDialog(SerialPort& port);

}  // namespace wendra
