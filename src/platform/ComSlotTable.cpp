#include "platform/ComSlotTable.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>

#include "platform/ReplacingFile.h"

namespace wendra::platform {

namespace {

constexpr std::string_view kSlotKind = "ComSlot";
constexpr std::string_view kGpsdKind = "GpsdPort";
constexpr std::string_view kLocalHost = "127.0.0.1";
constexpr size_t kMaxFileBytes = 1 << 16;  // a handful of lines; more is not ours
constexpr size_t kMaxNameBytes = 200;
constexpr int kMaxTcpPort = 65535;

// Characters that would break a record line.
bool breaksLine(char c) {
    return c == '|' || c == '\n' || c == '\r' || c == '\0';
}

bool storablePath(std::string_view path) {
    return !path.empty() && path.front() == '/' &&
           std::none_of(path.begin(), path.end(), breaksLine);
}

std::string storableName(std::string_view name) {
    std::string clean(name.substr(0, kMaxNameBytes));
    for (char& c : clean) {
        if (breaksLine(c) || static_cast<unsigned char>(c) < 0x20) c = ' ';
    }
    return clean;
}

// The fields of "Kind|a|b|...|": every field is followed by "|", nothing after the last.
std::vector<std::string_view> fieldsOf(std::string_view line) {
    std::vector<std::string_view> fields;
    while (!line.empty()) {
        const size_t bar = line.find('|');
        if (bar == std::string_view::npos) return {};
        fields.push_back(line.substr(0, bar));
        line.remove_prefix(bar + 1);
    }
    return fields;
}

template <typename T>
std::optional<T> number(std::string_view text) {
    T value{};
    if (text.empty()) return std::nullopt;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace

ComSlotTable::ComSlotTable() {
    for (int digit = 0; digit < kSlots; ++digit)
        gpsd_[static_cast<size_t>(digit)] =
            GpsdEndpoint{std::string(kLocalHost), kGpsdPort + digit};
}

bool ComSlotTable::load(const std::filesystem::path& file) {
    *this = ComSlotTable();
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    std::string bytes(kMaxFileBytes, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(in.gcount()));
    parse(bytes);
    return true;
}

bool ComSlotTable::save(const std::filesystem::path& file) const {
    ReplacingFile saving;
    const std::string content = text();
    return saving.open(file.string()) && saving.write(content.data(), content.size()) &&
           saving.commit();
}

std::string ComSlotTable::text() const {
    std::ostringstream out;
    for (int n = 0; n < kSlots; ++n) {
        if (const Slot* s = slot(n))
            out << kSlotKind << '|' << n << '|' << s->path << '|' << s->name << '|'
                << s->lastSeenDay << "|\n";
    }
    for (int digit = 0; digit < kSlots; ++digit) {
        const GpsdEndpoint& e = gpsd(digit);
        out << kGpsdKind << '|' << digit << '|' << e.host << '|' << e.port << "|\n";
    }
    return out.str();
}

void ComSlotTable::parse(std::string_view text) {
    while (!text.empty()) {
        const size_t newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::vector<std::string_view> f = fieldsOf(line);
        if (f.size() == 5 && f[0] == kSlotKind) {
            const auto n = number<int>(f[1]);
            const auto day = number<long long>(f[4]);
            if (!n || *n < 0 || *n >= kSlots || !day || !storablePath(f[2])) continue;
            if (slots_[static_cast<size_t>(*n)] || slotOf(f[2])) continue;  // first one wins
            slots_[static_cast<size_t>(*n)] = Slot{std::string(f[2]), storableName(f[3]), *day};
        } else if (f.size() == 4 && f[0] == kGpsdKind) {
            const auto digit = number<int>(f[1]);
            const auto port = number<int>(f[3]);
            if (!digit || *digit < 0 || *digit >= kSlots || !port || *port < 1 ||
                *port > kMaxTcpPort || f[2].empty())
                continue;
            gpsd_[static_cast<size_t>(*digit)] = GpsdEndpoint{std::string(f[2]), *port};
        }
    }
}

bool ComSlotTable::update(const std::vector<SeenDevice>& present, long long today) {
    bool changed = false;
    for (const SeenDevice& device : present) {
        if (!storablePath(device.path)) continue;
        const std::string name = storableName(device.name);
        std::optional<int> n = slotOf(device.path);
        if (!n) n = slotToReuse(present);
        if (!n) continue;
        std::optional<Slot>& s = slots_[static_cast<size_t>(*n)];
        const Slot next{device.path, name, today};
        if (!s || s->path != next.path || s->name != next.name || s->lastSeenDay != today) {
            s = next;
            changed = true;
        }
    }
    return changed;
}

std::optional<int> ComSlotTable::slotToReuse(const std::vector<SeenDevice>& present) const {
    for (int n = 0; n < kSlots; ++n) {
        if (!slots_[static_cast<size_t>(n)]) return n;
    }
    std::optional<int> oldest;
    for (int n = 0; n < kSlots; ++n) {
        const Slot& s = *slots_[static_cast<size_t>(n)];
        const bool isPresent = std::any_of(present.begin(), present.end(),
                                           [&](const SeenDevice& d) { return d.path == s.path; });
        if (isPresent) continue;
        if (!oldest || s.lastSeenDay < slots_[static_cast<size_t>(*oldest)]->lastSeenDay)
            oldest = n;
    }
    return oldest;
}

const ComSlotTable::Slot* ComSlotTable::slot(int n) const {
    if (n < 0 || n >= kSlots) return nullptr;
    const std::optional<Slot>& s = slots_[static_cast<size_t>(n)];
    return s ? &*s : nullptr;
}

std::optional<int> ComSlotTable::slotOf(std::string_view path) const {
    for (int n = 0; n < kSlots; ++n) {
        const Slot* s = slot(n);
        if (s && s->path == path) return n;
    }
    return std::nullopt;
}

const GpsdEndpoint& ComSlotTable::gpsd(int digit) const {
    return gpsd_[static_cast<size_t>(std::clamp(digit, 0, kSlots - 1))];
}

void ComSlotTable::setGpsd(int digit, GpsdEndpoint endpoint) {
    if (digit < 0 || digit >= kSlots) return;
    gpsd_[static_cast<size_t>(digit)] = std::move(endpoint);
}

}  // namespace wendra::platform
