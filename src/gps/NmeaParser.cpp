#include "gps/NmeaParser.h"

#include <cstdio>

#include "gps/NmeaFields.h"
#include "records/DayNumber.h"
#include "records/RecordSplitter.h"

namespace wendra {

namespace {

constexpr double kGapDays = 1.0 / 1440.0;
constexpr std::string_view kSettingsKind = "NMEA2";
constexpr std::string_view kReceiverText = "$PSRFTXT";

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

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
    if (address == "$GPGGA" && commas == 14) {
        decodeGga(fields);
    } else if (address == "$GPRMC" && commas >= 11 && commas <= 13) {
        // 13 commas: NMEA 4.10 appends a navigational status, which is not needed.
        decodeRmc(fields);
    } else if (address == "$GPVTG" && (commas == 8 || commas == 9)) {
        decodeVtg(fields);
    } else if (address == "$GPGSV") {
        decodeGsv(fields);
    } else if (address == "$GPGSA" && (commas == 17 || commas == 18)) {
        decodeGsa(fields, commas);
    } else if (startsWith(address, kReceiverText)) {
        decodeReceiverText(address, fields);
    } else if (!startsWith(address, "$PS") && !startsWith(address, "$G")) {
        return;  // not from a receiver: does not count as a sign of life
    }
    ++sentenceCount_;
}

std::string NmeaParser::settingsRecord() const {
    char line[64];
    std::snprintf(line, sizeof line, "NMEA2|%d|%0.1f|\n", flags_, static_cast<double>(correction_));
    return line;
}

bool NmeaParser::loadSettings(std::string_view line) {
    std::string_view rest;
    if (!hasRecordPrefix(line, kSettingsKind, &rest)) return false;
    int32_t flags = 0;
    float correction = 0.0f;
    splitRecord(rest, "df", {&flags, &correction});
    flags_ = flags & ~ParserFlags::kTransient;
    correction_ = correction;
    return true;
}

void NmeaParser::takeReceiverTime(std::string_view field) {
    if (field.empty()) return;
    field = field.substr(0, kReceiverStringMax);
    if (field != receiverTime_) {
        flags_ |= ParserFlags::kChanged;
        receiverTime_.assign(field);
    }
    if (has(ParserFlags::kFixValid | ParserFlags::kSetClock) && !has(ParserFlags::kClockTimeSet))
        setDeviceTime();
}

void NmeaParser::takeReceiverDate(std::string_view field) {
    if (field.empty()) return;
    field = field.substr(0, kReceiverStringMax);
    if (field != receiverDate_) {
        flags_ |= ParserFlags::kChanged;
        receiverDate_.assign(field);
    }
    if (has(ParserFlags::kFixValid | ParserFlags::kSetClock) && !has(ParserFlags::kClockDateSet))
        setDeviceDate();
}

}  // namespace wendra
