// The satellites: GSA names those used for the solution, GSV groups describe the sky.

#include <algorithm>
#include <cmath>

#include "gps/NmeaFields.h"
#include "gps/NmeaParser.h"

namespace wendra {

namespace {

constexpr int32_t kMaxSignal = 45;
constexpr int kGsaExtraFieldCommas = 18;

int32_t numberOrZero(std::string_view field) {
    return nmea::isNumeric(field) ? nmea::toInt(field) : 0;
}

// Power sum in dB: adds a signal of `db` to the level.
float addPower(float level, int32_t db) {
    return static_cast<float>(10.0 *
                              std::log10(std::pow(10.0, level / 10.0) + std::pow(10.0, db / 10.0)));
}

}  // namespace

void NmeaParser::decodeGsa(nmea::FieldReader& fields, const SentenceContext& context) {
    previousWasGsa_ = true;
    fields.next();  // mode
    fields.next();  // fix type
    if (context.afterGsa && has(ParserFlags::kAllSystems)) {
        // The next system's satellites go into the slots the previous GSA left empty.
        auto free = std::find(used_.begin(), used_.end(), 0);
        for (size_t i = 0; i < kUsedSlots; ++i) {
            const int32_t prn = numberOrZero(fields.next());
            if (prn == 0 || free == used_.end()) continue;
            *free = prn;
            free = std::find(free + 1, used_.end(), 0);
        }
    } else {
        for (int32_t& prn : used_) prn = numberOrZero(fields.next());
    }
    if (context.commas == kGsaExtraFieldCommas) fields.next();
    const std::string_view dilution = fields.next();
    if (dilution.empty()) return;
    if (nmea::isNumeric(dilution)) {
        dilution_ = nmea::toFloat(dilution);
    } else {
        clearSky();
    }
}

void NmeaParser::decodeGsv(nmea::FieldReader& fields, const SentenceContext& context) {
    const std::string_view totalField = fields.next();
    const std::string_view numberField = fields.next();
    if (!nmea::isNumeric(totalField) || !nmea::isNumeric(numberField)) {
        clearSky();
        return;
    }
    const int32_t total = nmea::toInt(totalField);
    const int32_t number = nmea::toInt(numberField);
    if (number == 1) {
        // Every system sends its own group; the first group of a talker not yet in
        // the table joins it, a talker's next group starts the sky afresh.
        const bool joins = has(ParserFlags::kAllSystems) && skyTalkers_ != 0 &&
                           (skyTalkers_ & context.talker) == 0;
        if (joins) {
            expectedMessage_ = 1;
        } else {
            clearSky();
        }
        skyTalkers_ |= context.talker;
    }
    if (number > total || number != expectedMessage_) {
        clearSky();
        return;
    }
    expectedMessage_ = number + 1;
    const std::string_view inView = fields.next();
    if (!nmea::isNumeric(inView)) {
        clearSky();
        return;
    }
    satellitesInView_ = nmea::toInt(inView);
    while (!fields.closed()) {
        const std::string_view prn = fields.next();
        if (nmea::isNumeric(prn)) readSatellite(fields, nmea::toInt(prn));
    }
    if (number == total) {
        flags_ |= ParserFlags::kSkyComplete;
        fix_.signal = runningLevel_;
    }
}

void NmeaParser::readSatellite(nmea::FieldReader& fields, int32_t prn) {
    SatelliteInView& entry = satellites_[slot_];
    entry.prn = prn;
    entry.elevation = numberOrZero(fields.next());
    entry.azimuth = numberOrZero(fields.next());
    // Below 0 is no carrier-to-noise ratio a receiver can report.
    const int32_t signal = std::clamp(numberOrZero(fields.next()), 0, kMaxSignal);
    entry.signal = -signal;
    // PRN 0 is no satellite: it must not match the empty slots of the used list.
    if (prn != 0) {
        for (int32_t used : used_) {
            if (used != prn) continue;
            entry.signal = signal;
            runningLevel_ = addPower(runningLevel_, signal);
        }
    }
    slot_ = std::min(slot_ + 1, kSatelliteSlots - 1);
}

void NmeaParser::clearSky() {
    slot_ = 0;
    expectedMessage_ = 1;
    runningLevel_ = 0.0f;
    flags_ &= ~ParserFlags::kSkyComplete;
    skyTalkers_ = 0;
    satellites_.fill(SatelliteInView{});
}

}  // namespace wendra
