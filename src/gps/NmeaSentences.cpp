// The position sentences (GGA, RMC, VTG) and the receiver's text message.

#include <cmath>

#include "gps/NmeaFields.h"
#include "gps/NmeaParser.h"

namespace wendra {

namespace {

constexpr float kKnotsPerKmh = 0.53997f;
constexpr std::string_view kBaudRateLabel = "Baud rate";
constexpr std::string_view kBaudRateAddress = "$PSRFTXTBaud rate";

bool isSouthOrWest(std::string_view hemisphere) {
    return !hemisphere.empty() && (hemisphere[0] == 'S' || hemisphere[0] == 'W');
}

}  // namespace

bool NmeaParser::readCoordinate(nmea::FieldReader& fields, double& stored) {
    const std::string_view value = fields.next();
    if (!nmea::isNumeric(value, kCoordinateMinLength)) {
        fields.next();
        return false;
    }
    const double v = nmea::toDouble(value);
    const std::string_view hemisphere = fields.next();
    // ddmm.mmmm (or dddmm.mmmm): whole degrees are the hundreds.
    const double degrees = std::trunc(v / 100.0);
    double result = degrees + (v - degrees * 100.0) / 60.0;
    if (isSouthOrWest(hemisphere)) result = -result;
    store(stored, result);
    return true;
}

void NmeaParser::readPosition(nmea::FieldReader& fields) {
    const bool latitude = readCoordinate(fields, fix_.latitude);
    const bool longitude = readCoordinate(fields, fix_.longitude);
    if (latitude && longitude) {
        fix_.time = now_;
        flags_ |= ParserFlags::kFixValid | ParserFlags::kNewFix;
        ++positions_;
    } else {
        flags_ &= ~ParserFlags::kFixValid;
    }
}

void NmeaParser::readAltitude(nmea::FieldReader& fields) {
    const std::string_view altitudeField = fields.next();
    if (!nmea::isNumeric(altitudeField)) return;
    float altitude = nmea::toFloat(altitudeField);
    fields.next();  // unit, always metres
    const std::string_view geoidField = fields.next();
    const bool hasGeoid = nmea::isNumeric(geoidField);
    const float geoid = hasGeoid ? nmea::toFloat(geoidField) : 0.0f;
    if (hasGeoid && has(ParserFlags::kAutoCorrection) && geoid != correction_ &&
        validCorrection(geoid)) {
        store(correction_, geoid);
        ++settingsRevision_;
    } else if (!hasGeoid && has(ParserFlags::kAutoCorrection | ParserFlags::kGeoidCorrection)) {
        // A receiver that sends no separation cannot drive the correction; the user's
        // value stays in force from now on, and this is saved with the flags.
        flags_ &= ~ParserFlags::kAutoCorrection;
        ++settingsRevision_;
    }
    if (has(ParserFlags::kGeoidCorrection)) altitude = (altitude + geoid) - correction_;
    store(fix_.altitude, altitude);
}

void NmeaParser::takeSpeed(std::string_view knots) {
    if (nmea::isNumeric(knots)) store(fix_.speed, nmea::toFloat(knots) / kKnotsPerKmh);
}

void NmeaParser::takeCourse(std::string_view degrees) {
    if (nmea::isNumeric(degrees)) store(fix_.course, nmea::roundToInt(nmea::toDouble(degrees)));
}

void NmeaParser::decodeGga(nmea::FieldReader& fields, const SentenceContext&) {
    takeReceiverTime(fields.next());
    readPosition(fields);
    fields.next();  // fix quality: a position is taken whatever it says
    fields.next();  // satellites used
    fields.next();  // horizontal dilution
    readAltitude(fields);
}

void NmeaParser::decodeRmc(nmea::FieldReader& fields, const SentenceContext&) {
    takeReceiverTime(fields.next());
    fields.next();  // status: a position is taken whatever it says
    readPosition(fields);
    takeSpeed(fields.next());
    takeCourse(fields.next());
    takeReceiverDate(fields.next());
}

void NmeaParser::decodeVtg(nmea::FieldReader& fields, const SentenceContext&) {
    takeCourse(fields.next());
    fields.next();  // "T"
    fields.next();  // magnetic course
    fields.next();  // "M"
    takeSpeed(fields.next());
}

void NmeaParser::decodeReceiverText(std::string_view address, nmea::FieldReader& fields) {
    std::string_view rate;
    if (address == kBaudRateAddress) {
        rate = fields.next();
    } else {
        if (fields.next() != kBaudRateLabel) return;
        rate = fields.next();
    }
    if (nmea::isNumeric(rate)) {
        reportedBaudRate_ = nmea::toInt(rate);
    } else {
        clearSky();
    }
}

}  // namespace wendra
