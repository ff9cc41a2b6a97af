#include "records/Text.h"

#include <cstdint>

namespace wendra {

std::u16string widen(std::string_view bytes) {
    std::u16string wide;
    wide.reserve(bytes.size());
    for (char c : bytes) wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
    return wide;
}

std::string narrow(std::u16string_view wide) {
    std::string bytes;
    bytes.reserve(wide.size());
    for (char16_t unit : wide) bytes.push_back(static_cast<char>(unit & 0xFF));
    return bytes;
}

}  // namespace wendra
