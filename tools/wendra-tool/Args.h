#pragma once
// Command-line helpers shared by the verbs of wendra-tool: strict number parsing
// and the one-line failure that exits with status 1.

#include <string>
#include <string_view>
#include <vector>

namespace wendra::tool {

using Args = std::vector<std::string>;

// Prints "wendra-tool: <message>" on stderr and exits with status 1.
[[noreturn]] void fail(const std::string& message);

// Whole-string parses; a malformed number fails with a message naming the option.
long long parseInteger(std::string_view text, std::string_view what);  // decimal or 0x hex
double parseReal(std::string_view text, std::string_view what);
// "A<separator>B" into two reals (--at LAT,LON, --size WxH), or fails naming the option.
void parsePair(std::string_view text, char separator, std::string_view what, double& a,
               double& b);
// --at LAT,LON in degrees, on the globe, or fails.
void parsePosition(std::string_view text, double& latitude, double& longitude);
// --size WxH in whole pixels, from 1x1 to most x most, or fails.
void parseScreenSize(std::string_view text, int most, int& width, int& height);
// --scale S: view pixels per half-turn, a finite number above 0, or fails.
double parseScale(std::string_view text);

// A replay's --speed: a number from 0.01 to 10000, or the verb fails.
double parseSpeed(std::string_view text);

// Takes the value after option `name` at args[i] (advancing i), or fails.
const std::string& optionValue(const Args& args, size_t& i);

// JSON string literal for a UTF-8 text.
std::string jsonString(std::string_view utf8);

}  // namespace wendra::tool
