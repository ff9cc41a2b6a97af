// Reads arbitrary bytes as a template update answer and as records of the tile cache
// file, then builds tile URLs from whatever templates resulted, at the coarsest and
// the finest level and on the *IZM* boundary.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "netmaps/SourceRecords.h"
#include "netmaps/TemplateUpdate.h"
#include "netmaps/TileUrlBuilder.h"

namespace {

using namespace wendra::netmaps;

void check(bool condition) {
    if (!condition) __builtin_trap();
}

void checkTemplates(const SourceSettings& settings) {
    for (const std::string& pattern : settings.templates)
        check(pattern.size() <= kMaxTemplateLength);
    check((settings.activeSources & ~kAllSourcesMask) == 0 && settings.activeSources != 0);
    check(settings.active(settings.displayedSource));
}

void readRecords(std::string_view bytes, SourceSettings& settings) {
    TileServiceFields service;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        const std::string_view line = bytes.substr(start, end - start);
        if (!readSourceRecord(line, settings)) readNetBmpMgrRecord(line, service, settings);
        start = end + 1;
    }
    check(service.validityDays > 0);
}

void buildUrls(const SourceSettings& settings) {
    const TileAddress tiles[] = {{0, 0, 1}, {5, 9, 18}, {0x80000, 0x7ffff, 21}, {0xfffff, 0, 21}};
    TileUrlBuilder builder;
    for (const TileAddress& tile : tiles)
        for (int source = 0; source < kTileSourceCount; ++source) {
            const TileUrls urls = builder.build(tile, source, settings);
            check(urls.baseSource == baseSource(source));
            check(urls.overlay.empty() || isOverlaySource(source));
        }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    SourceSettings settings;
    settings.countryCode = "de";
    const TemplateUpdateResult result = applyTemplateUpdate(bytes, settings);
    check(result.applied >= 0 && result.refused >= 0);
    check(static_cast<std::size_t>(result.applied + result.refused) <= size / 13 + 1);
    readRecords(bytes, settings);
    checkTemplates(settings);
    buildUrls(settings);
    settings.countryCode.clear();  // the empty-value rule on every template
    buildUrls(settings);
    return 0;
}
