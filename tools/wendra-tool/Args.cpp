#include "Args.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "gps/ReplayPlayer.h"

namespace wendra::tool {

void fail(const std::string& message) {
    std::fflush(stdout);
    std::fprintf(stderr, "wendra-tool: %s\n", message.c_str());
    std::exit(1);
}

long long parseInteger(std::string_view text, std::string_view what) {
    const std::string s(text);
    const bool hex = s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X');
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(s.c_str(), &end, hex ? 16 : 10);
    if (s.empty() || errno != 0 || *end != '\0')
        fail("malformed " + std::string(what) + ": \"" + s + "\"");
    return value;
}

double parseReal(std::string_view text, std::string_view what) {
    const std::string s(text);
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(s.c_str(), &end);
    if (s.empty() || errno != 0 || *end != '\0')
        fail("malformed " + std::string(what) + ": \"" + s + "\"");
    return value;
}

void parsePair(std::string_view text, char separator, std::string_view what, double& a,
               double& b) {
    const auto at = text.find(separator);
    if (at == std::string_view::npos) fail(std::string(what) + ": expected two values");
    a = parseReal(text.substr(0, at), what);
    b = parseReal(text.substr(at + 1), what);
}

void parsePosition(std::string_view text, double& latitude, double& longitude) {
    parsePair(text, ',', "--at", latitude, longitude);
    if (std::abs(latitude) > 90 || std::abs(longitude) > 180)
        fail("--at: latitude within 90, longitude within 180 degrees");
}

void parseScreenSize(std::string_view text, int most, int& width, int& height) {
    double w = 0, h = 0;
    parsePair(text, 'x', "--size", w, h);
    // Written so that a value that is not a number fails too.
    const auto fits = [most](double side) {
        return side >= 1 && side <= most && side == std::floor(side);
    };
    if (!fits(w) || !fits(h))
        fail("--size: whole pixels, 1x1 to " + std::to_string(most) + "x" + std::to_string(most));
    width = static_cast<int>(w);
    height = static_cast<int>(h);
}

double parseScale(std::string_view text) {
    const double scale = parseReal(text, "--scale");
    if (!(scale > 0) || !std::isfinite(scale)) fail("--scale: pixels per half-turn, above 0");
    return scale;
}

double parseSpeed(std::string_view text) {
    const double speed = parseReal(text, "--speed");
    if (!ReplayPlayer::speedAllowed(speed))
        fail("--speed must be " + std::string(ReplayPlayer::kSpeedRange) + ", not \"" +
             std::string(text) + "\"");
    return speed;
}

const std::string& optionValue(const Args& args, size_t& i) {
    if (i + 1 >= args.size()) fail("option " + args[i] + " needs a value");
    return args[++i];
}

std::string jsonString(std::string_view utf8) {
    std::string out = "\"";
    for (char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

}  // namespace wendra::tool
