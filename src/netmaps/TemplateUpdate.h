#pragma once
// The template update: new URL templates published on the program's web site, one
// "UrlVersion:<N>:<template>" line per slot. The answer is outside data: any bytes
// are read safely, and only well-formed lines for known numbers change a template.

#include <cstdint>
#include <string>
#include <string_view>

#include "netmaps/SourceSettings.h"

namespace wendra::netmaps {

// Lines of the answer are read in pieces of at most this size minus two characters.
inline constexpr std::size_t kUpdateLineCapacity = 288;

// The request for the site ("https://" is assumed when it names no scheme); empty
// when no site is configured, in which case no update is made.
std::string templateUpdateUrl(std::string_view site, std::uint64_t tickMilliseconds);

// The source slot that update number `number` replaces, or kNoTileSource.
int slotForUpdateNumber(int number);

struct TemplateUpdateResult {
    int applied = 0;  // templates replaced
    int refused = 0;  // "UrlVersion:" lines for a known slot that could not be used
};

TemplateUpdateResult applyTemplateUpdate(std::string_view answer, SourceSettings& settings);

}  // namespace wendra::netmaps
