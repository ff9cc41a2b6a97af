#include "app/NmeaSettings.h"

namespace wendra {

bool NmeaSettings::load(std::string_view line) {
    NmeaParser parser;
    if (!parser.loadSettings(line)) return false;
    flags = parser.flags();
    correction = parser.correction();
    return true;
}

std::string NmeaSettings::record() const {
    NmeaParser parser;
    parser.setFlags(flags);
    parser.setCorrection(correction);
    return parser.settingsRecord();
}

}  // namespace wendra
