#include "track/MemoryError.h"

#include <cstdio>
#include <string>

#include "platform/MessageBox.h"

namespace wendra {

void showMemoryError(int code) {
    char text[32];
    std::snprintf(text, sizeof text, ".Memory Error #%04d#", code);
    const std::string bytes(text);
    platform::showMessage(std::u16string(bytes.begin(), bytes.end()), u".Error");
}

}  // namespace wendra
