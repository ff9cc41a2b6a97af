#include "netmaps/SourceRecords.h"

#include <cstdint>

#include "records/RecordSplitter.h"
#include "records/RecordWriter.h"
#include "records/Text.h"

namespace wendra::netmaps {

namespace {

constexpr std::string_view kSettingsKind = "NetBmpMgr";
constexpr std::string_view kUrlKind = "URL";
constexpr std::string_view kAttributionKind = "URLAttribution";
constexpr std::string_view kUpdateSiteKind = "URLUpdateSite";

std::string indexedText(std::string_view kind, int index, std::string_view text) {
    std::string line(kind);
    appendFormat(line, "|%d|", index);
    appendCounted(line, text);
    line.push_back('\n');
    return line;
}

// The index and text of an indexed record, when both are usable.
bool readIndexed(std::string_view rest, std::size_t maxLength, int& index, std::string& text) {
    std::int32_t read = -1;
    std::u16string wide;
    if (splitRecord(rest, "dw", {&read, &wide}) != 0) return false;
    if (!isTileSource(read) || wide.size() > maxLength) return false;
    index = read;
    text = narrow(wide);
    return true;
}

}  // namespace

std::string netBmpMgrRecord(const TileServiceFields& service, const SourceSettings& sources) {
    std::string line =
        formatRecord("NetBmpMgr|%d|%d|%d|", service.settingsFlags, sources.displayedSource,
                     static_cast<int>(sources.activeSources));
    appendCounted(line, service.cacheFolder);
    appendCounted(line, std::string_view(sources.countryCode));
    appendFormat(line, "%d|\n", service.validityDays);
    return line;
}

bool readNetBmpMgrRecord(std::string_view line, TileServiceFields& service,
                         SourceSettings& sources) {
    std::string_view rest;
    if (!hasRecordPrefix(line, kSettingsKind, &rest)) return false;
    std::int32_t flags = 0, displayed = 0, mask = 0, validity = 0;
    std::u16string folder, country;
    if (splitRecord(rest, "dddwwd", {&flags, &displayed, &mask, &folder, &country, &validity}))
        return false;
    service.settingsFlags = flags;
    service.cacheFolder = std::move(folder);
    service.validityDays = validity > 0 ? validity : kDefaultValidityDays;
    sources.displayedSource = displayed;
    sources.activeSources = static_cast<std::uint32_t>(mask);
    sources.countryCode = narrow(country.substr(0, kMaxCountryCodeLength));
    sources.normalise();
    return true;
}

std::vector<std::string> sourceRecords(const SourceSettings& sources) {
    std::vector<std::string> lines;
    for (int i = 0; i < kTileSourceCount; ++i)
        lines.push_back(indexedText(kUrlKind, i, sources.templates[static_cast<std::size_t>(i)]));
    for (int i = 0; i < kTileSourceCount; ++i)
        lines.push_back(
            indexedText(kAttributionKind, i, sources.attributions[static_cast<std::size_t>(i)]));
    std::string site(kUpdateSiteKind);
    site.push_back('|');
    appendCounted(site, std::string_view(sources.updateSite));
    site.push_back('\n');
    lines.push_back(std::move(site));
    return lines;
}

bool readSourceRecord(std::string_view line, SourceSettings& sources) {
    std::string_view rest;
    int index = 0;
    std::string text;
    if (hasRecordPrefix(line, kUrlKind, &rest)) {
        if (!readIndexed(rest, kMaxTemplateLength, index, text)) return false;
        sources.templates[static_cast<std::size_t>(index)] = std::move(text);
        return true;
    }
    if (hasRecordPrefix(line, kAttributionKind, &rest)) {
        if (!readIndexed(rest, kMaxAttributionLength, index, text)) return false;
        sources.attributions[static_cast<std::size_t>(index)] = std::move(text);
        return true;
    }
    if (!hasRecordPrefix(line, kUpdateSiteKind, &rest)) return false;
    std::u16string site;
    if (splitRecord(rest, "w", {&site}) != 0 || site.size() > kMaxTemplateLength) return false;
    sources.updateSite = narrow(site);
    return true;
}

}  // namespace wendra::netmaps
