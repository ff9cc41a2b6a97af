#include "netmaps/TemplateUpdate.h"

#include <algorithm>
#include <array>

namespace wendra::netmaps {

namespace {

constexpr std::string_view kLinePrefix = "UrlVersion:";
// The ":" before the template is the thirteenth character or a later one.
constexpr std::size_t kFirstSeparatorIndex = 12;
constexpr std::string_view kUpdatePath = "//Download/UrlVersion_v01?id=";
constexpr std::string_view kDefaultScheme = "https://";
constexpr int kNumberCeiling = 100000;               // larger numbers name no slot either
constexpr std::uint64_t kTickModulus = 0x80000000u;  // "%d" of the tick stays positive

struct UpdateSlot {
    int number;
    int slot;
};
constexpr std::array<UpdateSlot, 12> kSlots = {{
    {0, 0},
    {1, 1},
    {2, 2},
    {3, 3},
    {6, 8},
    {7, 9},
    {8, 10},
    {9, 5},
    {10, 6},
    {11, 7},
    {12, 4},
    {14, 11},
}};

// Hands out the answer's lines as the request's line reader does: control characters
// dropped, a newline ends a line, a longer line comes in pieces.
class AnswerLines {
public:
    explicit AnswerLines(std::string_view answer) : answer_(answer) {}

    bool next(std::string& line) {
        if (at_ >= answer_.size()) return false;
        line.clear();
        while (at_ < answer_.size() && line.size() < kUpdateLineCapacity - 2) {
            const char c = answer_[at_++];
            if (c == '\n') break;
            if (static_cast<unsigned char>(c) >= ' ') line.push_back(c);
        }
        return true;
    }

private:
    std::string_view answer_;
    std::size_t at_ = 0;
};

enum class LineUse { NotAnUpdate, Applied, Refused };

LineUse applyLine(std::string_view line, SourceSettings& settings) {
    if (line.substr(0, kLinePrefix.size()) != kLinePrefix) return LineUse::NotAnUpdate;
    std::size_t at = kLinePrefix.size();
    int number = 0;
    const std::size_t digitsStart = at;
    for (; at < line.size() && line[at] >= '0' && line[at] <= '9'; ++at)
        if (number < kNumberCeiling) number = number * 10 + (line[at] - '0');
    if (at == digitsStart) return LineUse::NotAnUpdate;
    const int slot = slotForUpdateNumber(number);
    if (slot == kNoTileSource) return LineUse::NotAnUpdate;
    const std::size_t separator = line.find(':', std::max(at, kFirstSeparatorIndex));
    if (separator == std::string_view::npos) return LineUse::Refused;
    const std::string_view pattern = line.substr(separator + 1);
    if (pattern.size() > kMaxTemplateLength) return LineUse::Refused;
    settings.templates[static_cast<std::size_t>(slot)] = pattern;
    return LineUse::Applied;
}

}  // namespace

std::string templateUpdateUrl(std::string_view site, std::uint64_t tickMilliseconds) {
    while (!site.empty() && site.back() == '/') site.remove_suffix(1);
    if (site.empty()) return {};
    std::string url;
    if (site.find("://") == std::string_view::npos) url = kDefaultScheme;
    url.append(site);
    url.append(kUpdatePath);
    url.append(std::to_string(tickMilliseconds % kTickModulus));
    return url;
}

int slotForUpdateNumber(int number) {
    for (const UpdateSlot& entry : kSlots)
        if (entry.number == number) return entry.slot;
    return kNoTileSource;
}

TemplateUpdateResult applyTemplateUpdate(std::string_view answer, SourceSettings& settings) {
    TemplateUpdateResult result;
    AnswerLines lines(answer);
    std::string line;
    while (lines.next(line)) {
        switch (applyLine(line, settings)) {
            case LineUse::Applied:
                ++result.applied;
                break;
            case LineUse::Refused:
                ++result.refused;
                break;
            case LineUse::NotAnUpdate:
                break;
        }
    }
    return result;
}

}  // namespace wendra::netmaps
