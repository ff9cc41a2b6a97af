#include "platform/WidePath.h"

#include <exception>

namespace wendra::platform {

// The standard conversions throw on what cannot be converted; that never leaves here.
std::filesystem::path pathFromWide(std::u16string_view wide) {
    try {
        return std::filesystem::path(std::u16string(wide));
    } catch (const std::exception&) {
        return {};
    }
}

std::optional<std::u16string> wideFromPath(const std::filesystem::path& path) {
    try {
        return path.u16string();
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace wendra::platform
