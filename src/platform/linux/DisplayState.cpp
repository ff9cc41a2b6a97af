#include "platform/linux/DisplayState.h"

#include <unistd.h>

#include <charconv>
#include <fstream>
#include <string>
#include <system_error>

namespace wendra::platform {

namespace fs = std::filesystem;

namespace {

constexpr int kBlankUnblank = 0;  // FB_BLANK_UNBLANK

std::optional<int> readInt(const fs::path& file) {
    std::ifstream in(file);
    std::string text;
    if (!(in >> text)) return std::nullopt;
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace

std::optional<bool> readBacklightLit(const fs::path& devices) {
    std::error_code error;
    for (fs::directory_iterator it(devices, error), end; !error && it != end; it.increment(error)) {
        const fs::path device = it->path();
        const auto maximum = readInt(device / "max_brightness");
        const auto level = readInt(device / "brightness");
        if (!maximum || *maximum <= 0 || !level) continue;
        if (access((device / "brightness").c_str(), W_OK) != 0) continue;
        const auto power = readInt(device / "bl_power");
        return *level > 0 && (!power || *power == kBlankUnblank);
    }
    return std::nullopt;
}

}  // namespace wendra::platform
