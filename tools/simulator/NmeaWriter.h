#pragma once
// Writes a receiver cycle as NMEA 0183 sentences the way a SiRF-class receiver
// does: GGA, GSA, GSV group, RMC, VTG, each "$...*HH" with CRLF. The report's
// values are assumed in range (latitude within +-90, at most 12 used satellites).

#include <string>
#include <string_view>

#include "simulator/ReceiverReport.h"

namespace wendra::sim {

// "$" + body + "*" + two uppercase hex digits of the XOR of the body + CRLF.
std::string framedSentence(std::string_view body);

std::string formatCycle(const ReceiverReport& report);

}  // namespace wendra::sim
