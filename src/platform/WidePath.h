#pragma once
// Paths as the program keeps them (wide texts) and as the machine names them
// (bytes, UTF-8 on Linux). A name that is not valid UTF-8 has no wide form, and a
// wide text with an unpaired surrogate names no file.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace wendra::platform {

std::filesystem::path pathFromWide(std::u16string_view wide);
std::optional<std::u16string> wideFromPath(const std::filesystem::path& path);

}  // namespace wendra::platform
