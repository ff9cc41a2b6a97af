// Splits arbitrary bytes as a record line under the type strings the program's
// readers use, plus one drawn from the input, and checks the splitter's promises.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "records/RecordSplitter.h"

namespace {

using wendra::SplitOutput;

constexpr std::string_view kTypeStrings[] = {
    "dfFXCswxSW?",    // every letter once
    "wFFddwwwdxddf",  // points
    "wwwddwwwdxddf",  // shared positions
    "FFffdfdddFd",    // track points
    "ssssSSSS",      "xxxxWWWW", "CCCCXXXX",
};
constexpr size_t kLocations = 16;
constexpr size_t kLetters = 11;
constexpr char kAllLetters[kLetters + 1] = "dfFXCswxSW?";

struct Outputs {
    int32_t ints[kLocations];
    float floats[kLocations];
    double doubles[kLocations];
    std::string strings[kLocations];
    std::u16string wides[kLocations];

    SplitOutput at(char letter, size_t i) {
        switch (letter) {
            case 'd':
            case 'X':
            case 'C':
                return &ints[i];
            case 'f':
                return &floats[i];
            case 'F':
                return &doubles[i];
            case 's':
            case 'S':
                return &strings[i];
            case 'w':
            case 'x':
            case 'W':
                return &wides[i];
            default:
                return std::monostate{};
        }
    }
};

void check(bool condition) {
    if (!condition) __builtin_trap();
}

void splitWith(std::string_view line, std::string_view types) {
    Outputs out;
    SplitOutput o[kLocations];
    for (size_t i = 0; i < kLocations; ++i) o[i] = out.at(i < types.size() ? types[i] : '?', i);
    const int result = wendra::splitRecord(line, types,
                                           {o[0], o[1], o[2], o[3], o[4], o[5], o[6], o[7], o[8],
                                            o[9], o[10], o[11], o[12], o[13], o[14], o[15]});
    check(result == 0 || result == 1);
    for (size_t i = 0; i < types.size() && i < kLocations; ++i) {
        const size_t max = types[i] == 'x' ? 4095 : 511;
        check(out.strings[i].size() <= max && out.wides[i].size() <= max);
        check(out.strings[i].size() <= line.size() && out.wides[i].size() <= line.size());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    for (std::string_view types : kTypeStrings) splitWith(line, types);
    // A type string drawn from the first bytes, so every order of letters is reached.
    std::string drawn;
    for (size_t i = 0; i < size && i < kLocations; ++i) drawn += kAllLetters[data[i] % kLetters];
    splitWith(line.substr(drawn.size() < size ? drawn.size() : size), drawn);
    std::string_view rest;
    if (wendra::hasRecordPrefix(line, "GPSCoord", &rest)) check(rest.size() + 9 == size);
    return 0;
}
