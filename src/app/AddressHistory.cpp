#include "app/AddressHistory.h"

#include <charconv>

#include "records/RecordSplitter.h"
#include "records/RecordWriter.h"
#include "records/Text.h"

namespace wendra {

namespace {

// One counted string at the start of `text`: digits, a bar, that many bytes, a bar.
// Moves `text` past it; false when the text does not hold one.
bool takeCounted(std::string_view& text, std::string_view& value) {
    size_t length = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), length);
    if (error != std::errc() || end == text.data()) return false;
    const size_t start = static_cast<size_t>(end - text.data());
    if (start >= text.size() || text[start] != kRecordSeparator) return false;
    if (text.size() - start - 1 < length + 1) return false;
    const size_t close = start + 1 + length;
    if (text[close] != kRecordSeparator) return false;
    value = text.substr(start + 1, length);
    text.remove_prefix(close + 1);
    return true;
}

}  // namespace

bool AddressHistory::read(AddressField field, std::string_view fields) {
    Entries read{};
    for (std::u16string& entry : read) {
        std::string_view value;
        if (!takeCounted(fields, value)) {
            entries(field) = std::move(read);
            return false;
        }
        entry = widen(value.substr(0, kMaxLength));
    }
    entries(field) = std::move(read);
    return true;
}

std::string AddressHistory::record(AddressField field) const {
    std::string line(kKinds[static_cast<size_t>(field)]);
    line += kRecordSeparator;
    for (const std::u16string& entry : entries(field)) appendCounted(line, entry);
    line += '\n';
    return line;
}

}  // namespace wendra
