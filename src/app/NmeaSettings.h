#pragma once
// The parser's stored settings (the NMEA2 record) between loading and the GPS
// connection: its flags word and the geoid correction. The record's format is the
// parser's own; this only carries the two values.

#include <cstdint>
#include <string>
#include <string_view>

#include "gps/NmeaParser.h"
#include "gps/ParserFlags.h"

namespace wendra {

struct NmeaSettings {
    int32_t flags = ParserFlags::kInitial;
    float correction = NmeaParser::kDefaultCorrection;

    // Takes an NMEA2 line as the parser reads it (transient bits dropped); false for
    // any other line.
    bool load(std::string_view line);
    std::string record() const;
};

}  // namespace wendra
