#include "app/ConfigurationWriter.h"

#include "app/ConfigPlaces.h"
#include "app/RecordTail.h"

namespace wendra {

namespace {

class Writer {
public:
    explicit Writer(const Configuration& config) : config_(config) {}

    // The place's own record (with its later fields), then what was kept there.
    void put(int place, const std::string& record) {
        text_ += withTail(record, config_.kept.tail(place));
        config_.kept.appendTo(place, text_);
    }
    // A place whose records are all kept lines.
    void putKept(int place) { config_.kept.appendTo(place, text_); }
    std::string& text() { return text_; }

private:
    const Configuration& config_;
    std::string text_;
};

void writeMapView(Writer& out, const Configuration& config) {
    Status7Record status = config.status;
    status.takeFrom(config.track);
    out.put(place::kStatus7, status.record());
    for (const Alert& alert : config.alerts.alerts())
        out.text() += "RIRUvo|" + AlertList::record(alert);
    out.putKept(place::kAlerts);
    out.putKept(place::kNavStatus3);
    out.putKept(place::kDAlert);
    for (int colour = 0; colour < place::kColourCount; ++colour)
        out.put(place::kColours + colour, config.colours.colourRecord(colour));
}

void writeOwn(Writer& out, const Configuration& config) {
    for (size_t i = 0; i < kFolderCount; ++i) {
        const auto folder = static_cast<Folder>(i);
        out.put(place::kFolders + static_cast<int>(i),
                ConfigFolders::record(folder, config.folder(folder)));
    }
    for (int set = 0; set < KeyBindings::kSets; ++set)
        out.put(place::kKeyD + set, config.keys.record(set));
    out.put(place::kGraph2, config.graph.record());
    out.put(place::kGlobal4, config.global.record());
    for (int dashboard = 0; dashboard < Dashboards::kCount; ++dashboard)
        out.put(place::kDash3 + dashboard, config.dashboards.record(dashboard));
    for (size_t i = 0; i < AddressHistory::kFields; ++i) {
        out.put(place::kHistory + static_cast<int>(i),
                config.history.record(static_cast<AddressField>(i)));
    }
}

}  // namespace

std::string configurationText(const Configuration& config) {
    Writer out(config);
    out.putKept(place::kStart);
    out.put(place::kSerial6, config.serial.record());
    writeMapView(out, config);
    out.put(place::kNmea2, config.nmea.record());
    out.putKept(place::kSatDsp);
    writeOwn(out, config);
    out.putKept(place::kImport1);
    out.putKept(place::kExport3);
    return std::move(out.text());
}

}  // namespace wendra
