#include "app/KeptRecords.h"

#include <algorithm>

namespace wendra {

void KeptRecords::keepRecord(int place, std::string_view kind, std::string line) {
    if (!valid(place)) return;
    auto& records = places_[static_cast<size_t>(place)].records;
    const auto same = std::find_if(records.begin(), records.end(),
                                   [&](const Kept& kept) { return kept.kind == kind; });
    if (same != records.end())
        same->line = std::move(line);
    else
        records.push_back({std::string(kind), std::move(line)});
}

void KeptRecords::keepUnknown(int place, std::string line) {
    if (valid(place)) places_[static_cast<size_t>(place)].unknown.push_back(std::move(line));
}

void KeptRecords::setTail(int place, std::string tail) {
    if (valid(place)) places_[static_cast<size_t>(place)].tail = std::move(tail);
}

const std::string& KeptRecords::tail(int place) const {
    static const std::string none;
    return valid(place) ? places_[static_cast<size_t>(place)].tail : none;
}

void KeptRecords::appendTo(int place, std::string& text) const {
    if (!valid(place)) return;
    const Place& kept = places_[static_cast<size_t>(place)];
    for (const Kept& record : kept.records) {
        text += record.line;
        text += '\n';
    }
    for (const std::string& line : kept.unknown) {
        text += line;
        text += '\n';
    }
}

size_t KeptRecords::unknownCount() const {
    size_t count = 0;
    for (const Place& kept : places_) count += kept.unknown.size();
    return count;
}

void KeptRecords::clear() {
    for (Place& kept : places_) kept = Place{};
}

}  // namespace wendra
