#include "gps/NmeaParser.h"

#include <cmath>
#include <iterator>
#include <optional>
#include <utility>

#include "gps/NmeaFields.h"
#include "records/ClassicNumbers.h"
#include "records/DayNumber.h"
#include "records/RecordSplitter.h"
#include "records/RecordWriter.h"

namespace wendra {

namespace {

constexpr double kGapDays = 1.0 / 1440.0;
constexpr std::string_view kSettingsKind = "NMEA2";
constexpr std::string_view kReceiverText = "$PSRFTXT";
constexpr size_t kTalkerEnd = 3;  // "$" and the two letters of the talker

// One bit per satellite-system talker: GPS, then the several-systems, GLONASS,
// Galileo, BeiDou and QZSS talkers. 0 for any other address.
constexpr uint32_t kGpsTalker = 1;
constexpr std::string_view kSystemTalkers[] = {"GP", "GN", "GL", "GA", "GB", "GQ"};

uint32_t satelliteTalker(std::string_view address) {
    if (address.size() != 6 || address[0] != '$') return 0;
    for (size_t i = 0; i < std::size(kSystemTalkers); ++i) {
        if (address.substr(1, 2) == kSystemTalkers[i]) return 1u << i;
    }
    return 0;
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

const std::array<NmeaParser::Sentence, 5> NmeaParser::kSentences = {{
    {"GGA", 14, 14, 2, &NmeaParser::decodeGga},
    // 12 commas: NMEA 2.3 appends a mode indicator; 13: NMEA 4.10 a navigational
    // status. Neither is needed.
    {"RMC", 11, 13, 3, &NmeaParser::decodeRmc},
    {"VTG", 8, 9, 0, &NmeaParser::decodeVtg},
    {"GSV", 0, Sentence::kAnyCommas, 0, &NmeaParser::decodeGsv},
    // 18 commas: NMEA 4.10 adds the system's id.
    {"GSA", 17, 18, 0, &NmeaParser::decodeGsa},
}};

const NmeaParser::Sentence* NmeaParser::findSentence(std::string_view type) {
    for (const Sentence& sentence : kSentences) {
        if (sentence.type == type) return &sentence;
    }
    return nullptr;
}

NmeaParser::NmeaParser() {
    receiverTime_.reserve(kReceiverStringMax);
    receiverDate_.reserve(kReceiverStringMax);
}

void NmeaParser::parse(std::string_view chunk) {
    if (chunk.empty()) return;
    startCall();
    // A chunk larger than the room left is taken in parts; decoding between them
    // always frees room, so nothing is lost and nothing is written past the buffer.
    for (;;) {
        const size_t taken = framer_.append(chunk);
        chunk.remove_prefix(taken);
        decodePending();
        if (chunk.empty()) break;
    }
}

void NmeaParser::startCall() {
    flags_ &= ~(ParserFlags::kChanged | ParserFlags::kGap);
    now_ = currentDayNumber();
    if (now_ - previousCall_ > kGapDays) flags_ |= ParserFlags::kGap;
    previousCall_ = now_;
}

void NmeaParser::decodePending() {
    for (;;) {
        const NmeaFramer::Frame frame = framer_.next();
        if (frame.outcome == NmeaFramer::Outcome::Stop) return;
        if (frame.outcome == NmeaFramer::Outcome::Sentence) dispatch(frame.payload, frame.commas);
    }
}

void NmeaParser::dispatch(std::string_view payload, int commas) {
    nmea::FieldReader fields(payload);
    const std::string_view address = fields.next();
    if (address == "$NOPORT") {
        flags_ &= ~ParserFlags::kTransient;
        return;
    }
    const bool afterGsa = std::exchange(previousWasGsa_, false);
    const uint32_t talker = satelliteTalker(address);
    if (talker != 0) {
        // A known sentence with the wrong comma count is only counted.
        const Sentence* sentence = findSentence(address.substr(kTalkerEnd));
        if (sentence != nullptr && sentence->accepts(commas)) {
            if (talker == kGpsTalker || has(ParserFlags::kAllSystems)) {
                (this->*sentence->decode)(fields, {commas, talker, afterGsa});
            } else {
                countOtherSystemPosition(*sentence, fields);
            }
        }
    } else if (startsWith(address, kReceiverText)) {
        decodeReceiverText(address, fields);
    } else if (!startsWith(address, "$PS") && !startsWith(address, "$G")) {
        return;  // not from a receiver: does not count as a sign of life
    }
    ++sentenceCount_;
}

void NmeaParser::countOtherSystemPosition(const Sentence& sentence, nmea::FieldReader& fields) {
    if (sentence.latitudeField == 0) return;
    for (int field = 1; field < sentence.latitudeField; ++field) fields.next();
    const std::string_view latitude = fields.next();
    fields.next();
    const std::string_view longitude = fields.next();
    if (nmea::isNumeric(latitude, kCoordinateMinLength) &&
        nmea::isNumeric(longitude, kCoordinateMinLength))
        ++otherSystemPositions_;
}

std::string NmeaParser::settingsRecord() const {
    return formatRecord("NMEA2|%d|%0.1f|\n", flags_, static_cast<double>(correction_));
}

bool NmeaParser::validCorrection(float metres) {
    return std::isfinite(metres) && std::fabs(metres) <= kMaxCorrection;
}

bool NmeaParser::loadSettings(std::string_view line) {
    std::string_view rest;
    if (!hasRecordPrefix(line, kSettingsKind, &rest)) return false;
    int32_t flags = 0;
    std::string correction;  // as text, to tell a missing field from a damaged one
    splitRecord(rest, "dS", {&flags, &correction});
    // -1 would switch every setting on, "Update time" among them.
    flags_ = (flags & ~ParserFlags::kKnown) == 0 ? flags & ~ParserFlags::kTransient
                                                 : ParserFlags::kInitial;
    correction_ = correctionOf(correction);
    return true;
}

// A missing field is 0, as the record codec has it; one that holds no usable correction
// ("1e309", "inf", a value no geoid has) keeps the default.
float NmeaParser::correctionOf(std::string_view field) {
    if (field.empty()) return 0.0f;
    const std::optional<double> value = readReal(field);
    const auto metres = static_cast<float>(value.value_or(kDefaultCorrection));
    return validCorrection(metres) ? metres : kDefaultCorrection;
}

void NmeaParser::takeReceiverTime(std::string_view field) {
    if (field.empty()) return;
    field = field.substr(0, kReceiverStringMax);
    if (field != receiverTime_) {
        flags_ |= ParserFlags::kChanged;
        receiverTime_.assign(field);
    }
    if (maySetClock() && !has(ParserFlags::kClockTimeSet)) setDeviceTime();
}

void NmeaParser::takeReceiverDate(std::string_view field) {
    if (field.empty()) return;
    field = field.substr(0, kReceiverStringMax);
    if (field != receiverDate_) {
        flags_ |= ParserFlags::kChanged;
        receiverDate_.assign(field);
    }
    if (maySetClock() && !has(ParserFlags::kClockDateSet)) setDeviceDate();
}

}  // namespace wendra
