#pragma once
// The JSON lines that the verbs reading a receiver print: one per new fix, and the
// closing summary with the sentence count and the satellites in view.

#include <string>

#include "gps/NmeaParser.h"

namespace wendra::tool {

std::string fixJson(const NmeaParser& parser);
std::string summaryJson(const NmeaParser& parser);

}  // namespace wendra::tool
