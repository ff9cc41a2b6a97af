#include "alerts/AlertList.h"

#include <algorithm>

#include "records/RecordSplitter.h"
#include "records/RecordWriter.h"

namespace wendra {

namespace {

constexpr float kMetresPerKm = 1000.0f;

template <typename Alerts>
auto byName(Alerts& alerts, std::u16string_view name) {
    return std::lower_bound(alerts.begin(), alerts.end(), name,
                            [](const Alert& alert, std::u16string_view key) {
                                return std::u16string_view(alert.name) < key;
                            });
}

}  // namespace

const Alert* AlertList::find(std::u16string_view name) const {
    const auto found = byName(alerts_, name);
    return found != alerts_.end() && found->name == name ? &*found : nullptr;
}

Alert& AlertList::addOrUpdate(const Alert& alert) {
    const auto found = byName(alerts_, alert.name);
    if (found != alerts_.end() && found->name == alert.name) {
        found->flags = alert.flags;
        found->sound = alert.sound;
        found->value = alert.value;
        found->laterFields = alert.laterFields;
        return *found;
    }
    return *alerts_.insert(found, alert);
}

bool AlertList::remove(std::u16string_view name) {
    const auto found = byName(alerts_, name);
    if (found == alerts_.end() || found->name != name) return false;
    alerts_.erase(found);
    return true;
}

void AlertList::addDefaultWhenEmpty() {
    if (!alerts_.empty()) return;
    Alert alert;
    alert.name = kDefaultName;
    alert.value = kDefaultRadiusKm;
    alert.flags = Alert::kProximity;
    addOrUpdate(alert);
}

Alert& AlertList::readRecord(std::string_view fields) {
    Alert alert;
    int32_t flags = 0;
    splitRecord(fields, "wwfd", {&alert.name, &alert.sound, &alert.value, &flags});
    alert.flags = static_cast<uint32_t>(flags);
    if (alert.storedInMetres()) alert.value /= kMetresPerKm;
    const bool speedKind = alert.kind() == Alert::kSpeed;
    if (speedKind && (alert.flags & (Alert::kAbove | Alert::kBelow)) == 0)
        alert.flags |= Alert::kAbove;
    return addOrUpdate(alert);
}

std::string AlertList::record(const Alert& alert) {
    std::string line = "Alert|";
    appendCounted(line, alert.name);
    appendCounted(line, alert.sound);
    const double stored = alert.storedInMetres() ? static_cast<double>(alert.value) * kMetresPerKm
                                                 : static_cast<double>(alert.value);
    appendFormat(line, "%0.2f|%d|", stored, static_cast<int32_t>(alert.flags));
    line += alert.laterFields;
    line += '\n';
    return line;
}

}  // namespace wendra
