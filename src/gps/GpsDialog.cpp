#include "gps/GpsDialog.h"

#include <algorithm>
#include <cstdio>

#include "platform/MessageBox.h"
#include "records/ClassicNumbers.h"
#include "records/RecordWriter.h"
#include "records/Text.h"

namespace wendra {

namespace {

constexpr int kMinListedPorts = 20;  // COM0-COM9 and GPD0-GPD9, found or not
constexpr int kMaxPortSlots = 32;
constexpr int32_t kDialogParserBits = ParserFlags::kGeoidCorrection | ParserFlags::kAutoCorrection |
                                      ParserFlags::kSetClock | ParserFlags::kAllSystems;
constexpr int32_t kDialogSerialBits = SerialOptions::kLogPort | SerialOptions::kDeactivated |
                                      SerialOptions::kAutoReconnect |
                                      SerialOptions::kActivateBluetooth;

constexpr std::u16string_view kConfirmation = u"Confirmation";
constexpr std::u16string_view kStaticNavQuestion =
    u"Do you want to activate functions to manage StaticNav? Usage of those options is at "
    u"your own risk.";
constexpr std::u16string_view kDisableQuestion =
    u"The GPS will be disabled during use of these functions. Do you wan to continue?";

bool askYes(std::u16string_view text) {
    return platform::showMessage(text, kConfirmation, platform::Buttons::YesNo,
                                 platform::Icon::Question) == platform::Answer::Yes;
}

std::vector<std::u16string> portList(const std::vector<platform::PortDescription>& ports,
                                     int selected) {
    int count = std::max(kMinListedPorts, std::min(selected + 1, kMaxPortSlots));
    for (const platform::PortDescription& p : ports) {
        if (p.portId >= 0 && p.portId < kMaxPortSlots) count = std::max(count, p.portId + 1);
    }
    std::vector<std::u16string> list;
    for (int id = 0; id < count; ++id) {
        std::string description;
        for (const platform::PortDescription& p : ports) {
            if (p.portId == id) description = p.text;
        }
        const std::string stem = SerialPort::portName(id);  // "COM3:"
        list.push_back(widen(stem + " ") + fromUtf8(description));
    }
    return list;
}

std::vector<std::u16string> rateList() {
    std::vector<std::u16string> list;
    for (const int32_t rate : kSerialRates) {
        if (rate == 0) break;
        char text[16];
        std::snprintf(text, sizeof text, "%ld", static_cast<long>(rate));
        list.push_back(widen(text));
    }
    return list;
}

std::u16string correctionText(float metres) {
    return widen(formatRecord("%0.1Lf", static_cast<long double>(metres)));
}

int32_t withBits(int32_t word, int32_t bit, bool on) {
    return on ? word | bit : word & ~bit;
}

}  // namespace

GpsDialogForm gpsDialogForm(const GpsDialogValues& values,
                            const std::vector<platform::PortDescription>& ports,
                            std::u16string noSoundEntry,
                            const std::vector<std::u16string>& soundNames,
                            bool bluetoothAvailable) {
    GpsDialogForm form;
    const SerialSettings& serial = values.serial;
    form.ports = portList(ports, serial.portId);
    form.portId = serial.portId;
    form.rates = rateList();
    form.rateIndex = serial.readingRateIndex;
    form.geoidCorrection = values.parserFlags & ParserFlags::kGeoidCorrection;
    form.autoCorrection = values.parserFlags & ParserFlags::kAutoCorrection;
    form.updateTime = values.parserFlags & ParserFlags::kSetClock;
    form.allSystems = values.parserFlags & ParserFlags::kAllSystems;
    form.correction = correctionText(values.correction);
    form.logPort = serial.has(SerialOptions::kLogPort);
    form.deactivate = serial.has(SerialOptions::kDeactivated);
    form.autoReconnect = serial.has(SerialOptions::kAutoReconnect);
    form.activateBluetooth = serial.has(SerialOptions::kActivateBluetooth);
    form.staticNavFunctions = values.staticNavFunctions;
    form.sounds.push_back(std::move(noSoundEntry));
    form.sounds.insert(form.sounds.end(), soundNames.begin(), soundNames.end());
    const auto chosen = std::find(soundNames.begin(), soundNames.end(), values.noFixSound);
    form.soundIndex = values.noFixSound.empty() || chosen == soundNames.end()
                          ? 0
                          : static_cast<int>(chosen - soundNames.begin()) + 1;
    form.bluetoothAvailable = bluetoothAvailable;
    return form;
}

GpsDialogEnabled gpsDialogEnabled(const GpsDialogForm& form) {
    GpsDialogEnabled enabled;
    enabled.autoCorrection = form.geoidCorrection;
    enabled.correction = form.geoidCorrection;
    enabled.staticNavButton = form.staticNavFunctions;
    enabled.activateBluetooth = form.bluetoothAvailable;
    enabled.search = form.searchEnabled;
    return enabled;
}

void applyPortSearch(GpsDialogForm& form, const std::optional<platform::PortSearchResult>& found) {
    if (!found || found->portId < 0 || found->portId >= static_cast<int>(form.ports.size())) {
        form.searchEnabled = false;
        return;
    }
    form.portId = found->portId;
    const int32_t index = SerialSettings::rateIndex(found->rate);
    if (index >= 0) {
        form.rateIndex = index;
        form.foundRateIndex = index;
    }
}

std::optional<GpsDialogValues> acceptGpsDialog(GpsDialogForm& form, const GpsDialogValues& current,
                                               GpsDialogButton button) {
    if (form.staticNavFunctions && !current.staticNavFunctions && !askYes(kStaticNavQuestion)) {
        form.staticNavFunctions = false;
        return std::nullopt;
    }
    if (button == GpsDialogButton::StaticNav && !askYes(kDisableQuestion)) return std::nullopt;

    GpsDialogValues next = current;
    int32_t flags = current.parserFlags & ~kDialogParserBits;
    flags = withBits(flags, ParserFlags::kGeoidCorrection, form.geoidCorrection);
    flags = withBits(flags, ParserFlags::kAutoCorrection, form.autoCorrection);
    flags = withBits(flags, ParserFlags::kSetClock, form.updateTime);
    flags = withBits(flags, ParserFlags::kAllSystems, form.allSystems);
    next.parserFlags = flags;

    SerialSettings& serial = next.serial;
    int32_t options = serial.options & ~kDialogSerialBits;
    options = withBits(options, SerialOptions::kLogPort, form.logPort);
    options = withBits(options, SerialOptions::kDeactivated, form.deactivate);
    options = withBits(options, SerialOptions::kAutoReconnect, form.autoReconnect);
    options = withBits(options, SerialOptions::kActivateBluetooth, form.activateBluetooth);
    // A changed "All satellite systems" is the user's answer: the reader asks no more.
    const bool allSystemsBefore = current.parserFlags & ParserFlags::kAllSystems;
    if (form.allSystems != allSystemsBefore) options |= SerialOptions::kAllSystemsAsked;
    serial.options = options;
    serial.portId = form.portId;
    serial.readingRateIndex = form.rateIndex;
    if (form.foundRateIndex >= 0) serial.changeReceiverRate(form.foundRateIndex);

    next.staticNavFunctions = form.staticNavFunctions;
    const bool soundChosen =
        form.soundIndex > 0 && form.soundIndex < static_cast<int>(form.sounds.size());
    next.noFixSound = soundChosen ? form.sounds[static_cast<size_t>(form.soundIndex)] : u"";
    // A text that is no number, or none a correction can be, leaves it as it was.
    if (const std::optional<double> typed = readReal(narrow(form.correction))) {
        const auto correction = static_cast<float>(*typed);
        if (NmeaParser::validCorrection(correction)) next.correction = correction;
    }
    return next;
}

void takeGpsDialogValues(SerialPort& port, NmeaParser& parser, const GpsDialogValues& values) {
    port.close();
    port.settings() = values.serial;
    // The parser's other bits moved on while the dialog was open; only its own change.
    parser.setFlags((parser.flags() & ~kDialogParserBits) |
                    (values.parserFlags & kDialogParserBits));
    parser.setCorrection(values.correction);
}

void cancelGpsDialog(SerialPort& port) {
    if (!port.applyOnOff()) port.settings().options |= SerialOptions::kDeactivated;
}

}  // namespace wendra
